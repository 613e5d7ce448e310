#include "course/rom_file.h"
#include "tools/tool_command_line.h"

int main(int argc, char **argv)
{
    using namespace velmor::tools;
    const ToolDescription tool{
        QStringLiteral("decomp.exe"),
        QStringLiteral("<rom file> <output file> <hex offset> <format> <format2>"),
        QStringLiteral("Decodes the compressed stream at the offset in the ROM file and writes the "
                       "decoded bytes to the output file.\n"
                       "--list prints every course of the ROM: its ID, its offset in a ROM with "
                       "the copier header, name, theme, the compressed bytes it takes now, the "
                       "bytes it may take, and whether the ROM's own tables agree with the "
                       "original game."),
        QStringLiteral("decomp.exe --list <rom file>"),
    };
    return runTool(argc, argv, tool, velmor::extractFile, velmor::listCourses);
}
