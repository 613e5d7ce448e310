#pragma once

#include "course/configuration.h"
#include "tests/support/scripted_ui.h"

#include <QDir>
#include <QTest>

namespace velmor {

// Lets QCOMPARE print both sides of a failed comparison.
inline char *toString(const Configuration &config)
{
    return QTest::toString(QStringList{config.recompPath, config.romFolder, config.userRomPath,
                                       config.romBaseName}
                               .join(QStringLiteral(" | ")));
}

namespace test {

// The scripted human, except that a question the script did not foresee is answered Yes: the
// set-up's loops end there instead of asking forever, and unexpected() reports the gap.
class FiniteMessageBoxes : public ScriptedMessageBoxes
{
public:
    Answer show(const QString &text, const QString &title, Buttons buttons) override
    {
        const bool unforeseen = buttons != Buttons::Ok && unanswered() == 0;
        const Answer answer = ScriptedMessageBoxes::show(text, title, buttons);
        return unforeseen ? Answer::Yes : answer;
    }
};

// Makes a folder the current directory for one test and puts the old one back afterwards.
class CurrentDirectory
{
public:
    explicit CurrentDirectory(const QString &path)
        : mPrevious(QDir::currentPath())
    {
        QDir::setCurrent(path);
    }
    ~CurrentDirectory() { QDir::setCurrent(mPrevious); }
    CurrentDirectory(const CurrentDirectory &) = delete;
    CurrentDirectory &operator=(const CurrentDirectory &) = delete;

private:
    QString mPrevious;
};

} // namespace test
} // namespace velmor
