// gridtool: makes, reads and checks the program's grid data files.
#include <cstdio>
#include <cstring>

#include "tools/gridtool/GridtoolCommands.h"

namespace {

const char kUsage[] =
    "usage: gridtool scramble IN OUT     scramble a plain keyword text into a data file\n"
    "       gridtool unscramble IN OUT   turn a data file back into its plain text\n"
    "       gridtool dump [--json] FILE  load a data file as the program does and print it\n"
    "       gridtool check FILE...       report every fault of a data file (plain or scrambled)\n"
    "       gridtool export --geojson FILE [--cells]\n"
    "                                    write the quads (and cells) as a GeoJSON map layer\n";

struct Command {
    const char *Name;
    int (*Run)(const Arguments &);
};

const Command kCommands[] = {
    {"scramble", RunScrambleCommand},
    {"unscramble", RunScrambleCommand},
    {"dump", RunDumpCommand},
    {"check", RunCheckCommand},
    {"export", RunExportCommand},
};

} // namespace

// Dispatches to the command named by the first argument.
int main(int argc, char **argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    for (const Command &command : kCommands)
        if (std::strcmp(argv[1], command.Name) == 0)
            return command.Run(Arguments(argv + 2, argv + argc));
    std::fprintf(stderr, "gridtool: unknown command '%s'\n%s", argv[1], kUsage);
    return 2;
}
