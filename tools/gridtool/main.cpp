// gridtool: makes, reads and checks the program's grid data files.
#include <cstdio>
#include <cstring>

#include "tools/common/OutputCheck.h"
#include "tools/common/ToolVersion.h"
#include "tools/gridtool/GridtoolCommands.h"

namespace {

const char kUsage[] =
    "usage: gridtool scramble [--force] IN OUT\n"
    "                                    scramble a plain keyword text into a data file; a text\n"
    "                                    that check rejects is refused unless --force\n"
    "       gridtool unscramble [--force] IN OUT\n"
    "                                    turn a data file back into its plain text; a plain\n"
    "                                    text is refused unless --force\n"
    "       gridtool dump [--json] FILE  load a data file as the program does and print it\n"
    "       gridtool check FILE...       report every fault of a data file (plain or scrambled),\n"
    "                                    a text saved as UTF-8 instead of Windows-1252 included\n"
    "       gridtool export --geojson FILE [--squares|--cells] [--bbox W,S,E,N]\n"
    "                                    write the grid as a GeoJSON map layer, each feature with\n"
    "                                    its level: large squares (the default, or --squares),\n"
    "                                    down to cells (--cells); --bbox keeps what overlaps the\n"
    "                                    box (degrees, east and north positive) and goes down to\n"
    "                                    its small squares unless --squares or --cells\n"
    "       gridtool atlas FILE...       write one offline page that looks codes of the files up,\n"
    "                                    finds the codes of a clicked point and draws their grids\n"
    "       gridtool --version           the program's version\n";

struct Command {
    const char *Name;
    int (*Run)(const Arguments &);
};

const Command kCommands[] = {
    {"scramble", RunScrambleCommand},
    {"unscramble", RunUnscrambleCommand},
    {"dump", RunDumpCommand},
    {"check", RunCheckCommand},
    {"export", RunExportCommand},
    {"atlas", RunAtlasCommand},
};

} // namespace

// Dispatches to the command named by the first argument.
int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fputs("gridtool: no command given; try 'gridtool --help'\n", stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, stdout);
        return OutputComplete("gridtool") ? 0 : 2;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::fputs(VersionLine("gridtool").c_str(), stdout);
        return OutputComplete("gridtool") ? 0 : 2;
    }
    for (const Command &command : kCommands)
        if (std::strcmp(argv[1], command.Name) == 0)
            return command.Run(Arguments(argv + 2, argv + argc));
    std::fprintf(stderr, "gridtool: unknown command '%s'; try 'gridtool --help'\n", argv[1]);
    return 2;
}
