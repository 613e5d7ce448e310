#include "app/main_window.h"
#include "platform/file_system.h"
#include "platform/qt_file_dialog.h"
#include "platform/qt_message_box.h"
#include "platform/qt_replace_dialog.h"
#include "platform/services.h"
#include "platform/tool_runner.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// Answered before any window system is touched, so they work without a display.
std::optional<int> answerCommandLine(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::printf("velmor %s\n", VELMOR_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("Usage: velmor [--tiles] [--tile-set] [--overview] [--layers] [FILE]\n"
                        "       velmor --help | --version\n"
                        "Course editor for the SNES game Super Mario Kart.\n"
                        "Paint a course map, save it as a track file, and put it into a ROM\n"
                        "with recomp.exe. The first start asks for recomp.exe and the ROM and\n"
                        "writes Velmor.cfg in the current directory.\n\n"
                        "  FILE        open this track file (.bin), or the course chosen in the\n"
                        "              course list from this ROM (.smc, .sfc)\n"
                        "  --tiles     show the game's tiles instead of tile numbers, once the\n"
                        "              ROM's graphics are read\n"
                        "  --tile-set  open the tile set window\n"
                        "  --overview  open the course overview window\n"
                        "  --layers    open the Layers window\n"
                        "  --help      show this text and exit\n"
                        "  --version   show the version and exit\n");
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> done = answerCommandLine(argc, argv))
        return *done;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmor"));
    QApplication::setApplicationVersion(QStringLiteral(VELMOR_VERSION));

    velmor::QtFileDialog dialog(nullptr);
    velmor::QtMessageBox messages(nullptr);
    velmor::QtFileSystem files;
    velmor::ToolRunner tools;
    velmor::QtReplaceDialog replace(nullptr);
    velmor::Services services{dialog, messages, files, &tools, &replace};

    velmor::MainWindow window(services);
    velmor::MainWindow::StartOptions start;
    for (const QString &argument : QCoreApplication::arguments().mid(1)) {
        if (argument == QStringLiteral("--tiles"))
            start.tiles = true;
        else if (argument == QStringLiteral("--tile-set"))
            start.tileSet = true;
        else if (argument == QStringLiteral("--overview"))
            start.overview = true;
        else if (argument == QStringLiteral("--layers"))
            start.layers = true;
        else if (!argument.startsWith(QLatin1Char('-')))
            start.file = argument;
    }
    window.setStartOptions(start);
    dialog.setParentWidget(&window);
    messages.setParentWidget(&window);
    replace.setParentWidget(&window);
    window.load();
    window.show();
    return app.exec();
}
