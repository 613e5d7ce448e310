#include "course/rom_file.h"
#include "tools/tool_command_line.h"

int main(int argc, char **argv)
{
    using namespace velmor::tools;
    const ToolDescription tool{
        QStringLiteral("recomp.exe"),
        QStringLiteral("<input file> <rom file> <hex offset> <format> <format2>"),
        QStringLiteral("Compresses the input file and writes it into the ROM file at the offset, "
                       "over the compressed stream that is there. A course may use the whole "
                       "room the game gave it; anywhere else the new data must fit the stream "
                       "that is there. The ROM is changed only when the new data fits and reads "
                       "back equal to the input."),
        {},
    };
    return runTool(argc, argv, tool, velmor::insertFile);
}
