#include "recomp/rom_file.h"
#include "recomp/tool_runner.h"

int main(int argc, char **argv)
{
    using namespace velmor::recomp;
    const ToolDescription tool{
        QStringLiteral("decomp.exe"),
        QStringLiteral("<rom file> <output file> <hex offset> <format> <format2>"),
        QStringLiteral("Decodes the compressed stream at the offset in the ROM file and writes the "
                       "decoded bytes to the output file."),
    };
    return runTool(argc, argv, tool, extractFile);
}
