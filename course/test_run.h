#pragma once

#include "course/emulator_choice.h"

#include <QCoreApplication>
#include <QString>

#include <deque>
#include <memory>

class QTemporaryDir;

namespace velmor {

class CourseDocument;
struct Services;

// Course ▸ Test in Emulator: the document's course built into a fresh copy of the ROM in a
// temporary folder (the same image Save Course into ROM writes, never the user's ROM itself),
// then the emulator of the user's Preferences started on that copy as a program of its own,
// which Velmor does not wait for. The copies stay until Velmor ends, since an emulator may
// read its ROM again.
class TestRun
{
    Q_DECLARE_TR_FUNCTIONS(velmor::TestRun)

public:
    enum class Outcome { Started, Cancelled, Refused, Failed };
    // Older copies than the newest Kept are removed: their emulators have long read them.
    static constexpr int KeptCopies = 8;

    explicit TestRun(Services &services);
    ~TestRun();

    // Asks for the emulator first when none was chosen yet. romPath is the ROM to copy.
    Outcome start(const CourseDocument &document, const QString &romPath);
    // Edit ▸ Preferences…: the emulator chosen and stored, or kept on Cancel. The Test button
    // starts a test run of the document with the fields as they are.
    bool choose(const CourseDocument &document, const QString &romPath);

    // After Started: what was started, in one line for the status bar.
    QString summary() const { return mSummary; }
    // After Started: the ROM the emulator was given.
    QString romCopy() const { return mRomCopy; }

private:
    struct Launch
    {
        Outcome outcome = Outcome::Failed;
        QString text; // the summary, or why not
    };
    Launch launch(const Emulator &emulator, const CourseDocument &document, const QString &romPath);

    Services &mServices;
    std::deque<std::unique_ptr<QTemporaryDir>> mFolders;
    QString mSummary;
    QString mRomCopy;
};

} // namespace velmor
