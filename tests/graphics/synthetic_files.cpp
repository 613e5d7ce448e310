// Writes the synthetic ROM with theme graphics and a course-like track file that the README's
// pictures of the Tiles view and the overview are taken over (scripts/screenshot.sh --graphics):
// never the game's data.
//
// Usage: synthetic_files ROM.smc TRACK.bin
#include "tests/support/synthetic_graphics.h"
#include "tests/support/synthetic_rom.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <cstdio>

using namespace velmor;

namespace {

bool writeFile(const char *path, const codec::Bytes &bytes)
{
    QSaveFile file(QString::fromLocal8Bit(path));
    const QByteArray data = test::toQByteArray(bytes);
    if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit())
        return true;
    std::fprintf(stderr, "synthetic_files: cannot write %s: %s\n", path,
                 qPrintable(file.errorString()));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: synthetic_files ROM.smc TRACK.bin\n");
        return 2;
    }
    // With every course's race data, for the picture of a ROM course with its layers shown.
    const test::GameRom rom = test::gameRom({.seed = 2, .themeGraphics = true, .raceData = true});
    // A road loop with kerbs and items, in tiles that the synthetic Mario Circuit theme defines.
    const codec::Bytes track = test::trackStream(test::courseLikeCells(3));
    return writeFile(argv[1], rom.bytes) && writeFile(argv[2], track) ? 0 : 1;
}
