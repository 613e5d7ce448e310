#include "recomp/rom_file.h"
#include "recomp/tool_runner.h"

int main(int argc, char **argv)
{
    using namespace velmor::recomp;
    const ToolDescription tool{
        QStringLiteral("recomp.exe"),
        QStringLiteral("<input file> <rom file> <hex offset> <format> <format2>"),
        QStringLiteral("Compresses the input file and writes it into the ROM file at the offset, "
                       "over the compressed stream that is there. The ROM is changed only when "
                       "the new data fits that stream's slot and reads back equal to the input."),
    };
    return runTool(argc, argv, tool, insertFile);
}
