#include "course/test_run.h"

#include "course/course_image.h"
#include "document/course_document.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/process_start.h"
#include "platform/services.h"
#include "platform/whole_file_write.h"
#include "rom/rom_image.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace velmor {

namespace {

QString title()
{
    return TestRun::tr("Test in Emulator");
}

QString programName(const QString &program)
{
    return QFileInfo(program).fileName();
}

} // namespace

TestRun::TestRun(Services &services)
    : mServices(services)
{ }

TestRun::~TestRun() = default;

TestRun::Launch TestRun::launch(
    const Emulator &emulator, const CourseDocument &document, const QString &romPath)
{
    Launch result;
    if (romPath.isEmpty()) {
        result.outcome = Outcome::Refused;
        result.text = tr("There is no ROM to test the course in: open a course from a ROM, or "
                         "finish the first-run set-up.");
        return result;
    }
    const QString shown = displayPath(romPath);
    QString error;
    const std::optional<QByteArray> rom =
        mServices.files.readFile(romPath, qint64(rom::MaxFileSize), &error);
    if (!rom) {
        result.text = tr("The ROM %1 cannot be read:\n%2").arg(shown, error);
        return result;
    }
    // Only a copy is written: what the course shares with others changes with it there, as the
    // save's Yes would, and nothing is asked.
    const CourseImage image = CourseImage::build(
        document, *rom, SharingAnswers::fixed(true, SharingAnswers::Ai::KeepShared));
    if (!image.ok) {
        result.outcome = Outcome::Refused;
        result.text = tr("The course cannot be tested in %1: %2").arg(shown, image.message);
        return result;
    }

    auto folder =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/velmor-test-XXXXXX"));
    if (!folder->isValid()) {
        result.text =
            tr("No temporary folder for the test run could be made: %1").arg(folder->errorString());
        return result;
    }
    // The ROM's own name, so that the emulator's save files and title are those of the game.
    const QString copy = folder->filePath(QFileInfo(romPath).fileName());
    if (!writeWholeFile(copy, image.rom, &error)) {
        result.text = tr("The ROM for the test run could not be written to %1: %2")
                          .arg(displayPath(copy), error);
        return result;
    }
    QtProcessStarter system;
    ProcessStarter &starter = mServices.processes ? *mServices.processes : system;
    const ProcessStarter::Started started = starter.startDetached(
        emulator.program, emulator::argumentsFor(emulator.arguments, copy), folder->path());
    if (!started.ok) {
        result.text = tr("The emulator %1 could not be started: %2.")
                          .arg(QDir::toNativeSeparators(emulator.program), started.reason);
        return result;
    }
    mFolders.push_back(std::move(folder));
    while (mFolders.size() > std::size_t(KeptCopies))
        mFolders.pop_front();
    mRomCopy = copy;
    result.outcome = Outcome::Started;
    result.text = tr("Testing %1 in %2: %3")
                      .arg(document.courseChoice().course.name(), programName(emulator.program),
                          QDir::toNativeSeparators(copy));
    return result;
}

TestRun::Outcome TestRun::start(const CourseDocument &document, const QString &romPath)
{
    mSummary.clear();
    mRomCopy.clear();
    Emulator emulator = emulator::stored();
    if (emulator.program.isEmpty()) {
        if (!choose(document, romPath))
            return Outcome::Cancelled;
        emulator = emulator::stored();
    }
    // A program chosen once may have been removed since.
    if (const QString why = whyNotRunnable(emulator.program); !why.isEmpty()) {
        mServices.messages.inform(tr("The emulator %1 cannot be started: %2. Choose another in "
                                     "Edit ▸ Preferences….")
                                      .arg(QDir::toNativeSeparators(emulator.program), why),
            title());
        return Outcome::Failed;
    }
    const Launch launched = launch(emulator, document, romPath);
    if (launched.outcome != Outcome::Started) {
        mServices.messages.inform(launched.text, title());
        return launched.outcome;
    }
    mSummary = launched.text;
    return Outcome::Started;
}

bool TestRun::choose(const CourseDocument &document, const QString &romPath)
{
    if (!mServices.preferences)
        return false;
    PreferencesDialog::Request request;
    request.current = emulator::stored();
    request.offered = emulator::foundOnPath();
    if (request.current.program.isEmpty()) {
        if (request.offered.isEmpty()) {
            request.note = tr("No emulator was found on the PATH (Velmor looks for %1). Choose "
                              "one with Browse, and give its arguments with %f for the ROM.")
                               .arg(emulator::knownNames().join(QStringLiteral(", ")));
        } else {
            request.current = request.offered.front();
            QStringList names;
            for (const Emulator &offer : request.offered)
                names << offer.name;
            request.note = tr("Found on the PATH: %1. Choose the emulator a test run starts.")
                               .arg(names.join(QStringLiteral(", ")));
        }
    }
    request.test = [this, &document, &romPath](const Emulator &emulator) {
        const Launch launched = launch(emulator, document, romPath);
        return launched.text;
    };
    const std::optional<Emulator> chosen = mServices.preferences->ask(request);
    if (!chosen)
        return false;
    emulator::store(*chosen);
    return true;
}

} // namespace velmor
