#pragma once

#include <QString>

namespace velmor {

// Every message of the program: a text, a title and a fixed set of buttons, no icon, the first
// button the default. The program shows real message boxes; tests answer from a script.
class MessageBoxes
{
public:
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~MessageBoxes() = default;
    virtual Answer show(const QString &text, const QString &title, Buttons buttons) = 0;

    void inform(const QString &text, const QString &title) { show(text, title, Buttons::Ok); }
    bool askYesNo(const QString &text, const QString &title)
    {
        return show(text, title, Buttons::YesNo) == Answer::Yes;
    }
    // "Would you like to overwrite /ROMS/KART.SMC?": every save over an existing file asks it.
    bool askOverwrite(const QString &path);
};

// Paths are shown in capitals in every message; the paths themselves are never changed.
inline QString displayPath(const QString &path)
{
    return path.toUpper();
}

inline bool MessageBoxes::askOverwrite(const QString &path)
{
    const QString shown = displayPath(path);
    return askYesNo(QStringLiteral("Would you like to overwrite ") + shown + QStringLiteral("?"),
        QStringLiteral("Overwrite ") + shown + QStringLiteral("?"));
}

} // namespace velmor
