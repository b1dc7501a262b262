// gridtool dump: load a data file with the program's loader and print what
// the program would hold, as text or as one JSON object.
#include <cstdio>
#include <string>

#include "data/GridLoader.h"
#include "tools/common/AtomicFile.h"
#include "tools/common/DataFileText.h"
#include "tools/gridtool/GridDump.h"
#include "tools/gridtool/GridtoolCommands.h"

// Loads FILE into a database of its own and prints it; the exit status is
// 0 for a file that loads with status 0, 1 for a faulty one, 2 for misuse or
// a file that cannot be read.
int RunDumpCommand(const Arguments &args)
{
    bool json = !args.empty() && args[0] == "--json";
    if (args.size() != (json ? 2u : 1u)) {
        std::fputs("gridtool: dump takes [--json] FILE; try 'gridtool --help'\n", stderr);
        return 2;
    }
    const std::string &path = args.back();
    static GridDatabase db;
    ResetGridDatabase(db);
    db.LoadStatus = LoadGridData(path.c_str(), db);
    if (db.LoadStatus == kLoadNotFound) {
        std::string reason = UnreadableReason(path);
        std::fprintf(stderr, "gridtool: %s: cannot read the file%s%s\n", path.c_str(), reason.empty() ? "" : ": ",
                     reason.c_str());
        return 2;
    }
    WriteGridDump(db, json, stdout);
    if (db.LoadStatus != kLoadOk && IsPlainDataFile(path))
        std::fprintf(stderr, "gridtool: %s is a plain data text; scramble it with gridtool scramble\n", path.c_str());
    return db.LoadStatus == kLoadOk ? 0 : 1;
}
