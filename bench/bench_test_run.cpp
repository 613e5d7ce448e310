// Course ▸ Test in Emulator on a 512 KB ROM: from the key to the emulator's process start (the
// course built into the ROM in memory, the copy written to a fresh temporary folder, the program
// started detached; target: median under 150 ms). record_args stands in for the emulator and
// exits at once. The benchmark runs in a home of its own, so the user's settings stay as they are.
#include "bench/bench_figures.h"
#include "course/emulator_choice.h"
#include "course/test_run.h"
#include "document/course_document.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "platform/whole_file_write.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/test_main.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Runs = 21;
constexpr double TargetMs = 150;

} // namespace

int main(int argc, char **argv)
{
    const velmor::test::IsolatedHome home;
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString rom = dir.filePath(QStringLiteral("kart.smc"));
    QString why;
    bool sound = dir.isValid()
        && velmor::writeWholeFile(
            rom, velmor::test::toQByteArray(velmor::test::gameRom({1, false}).bytes), &why);

    velmor::CourseDocument document;
    for (const QString &entry : velmor::courseListEntries()) {
        if (velmor::CourseChoice::fromText(entry).listedOffset) {
            document.setCourseChoice(velmor::CourseChoice::fromText(entry));
            break;
        }
    }
    velmor::test::ScriptedFileDialog dialog;
    velmor::test::ScriptedMessageBoxes messages;
    velmor::QtFileSystem files;
    velmor::Services services {dialog, messages, files};
    velmor::emulator::store({QStringLiteral(VELMOR_RECORD_ARGS), QStringLiteral("%f"), {}});
    velmor::TestRun run(services);

    const velmor::bench::Figures micros = velmor::bench::timeMicros(Runs,
        [&] { sound = sound && run.start(document, rom) == velmor::TestRun::Outcome::Started; });
    velmor::bench::print("test run: key to the emulator's start",
        {micros.median / 1000, micros.least / 1000, micros.most / 1000}, "ms", TargetMs);
    if (!sound || !messages.messages().isEmpty()) {
        std::printf("ERROR: a test run did not start: %s\n",
            messages.messages().isEmpty() ? qPrintable(why)
                                          : qPrintable(messages.messages().front().text));
        return 1;
    }
    return 0;
}
