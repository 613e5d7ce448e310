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
};

// Paths are shown in capitals in every message; the paths themselves are never changed.
inline QString displayPath(const QString &path)
{
    return path.toUpper();
}

} // namespace velmor
