// gridtool dump: load a data file with the program's loader and print what
// the program would hold, as text or as one JSON object.
#include <cstdio>
#include <string>

#include "data/GridLoader.h"
#include "tools/common/AtomicFile.h"
#include "tools/common/DataFileText.h"
#include "tools/common/OutputCheck.h"
#include "tools/gridtool/GridDump.h"
#include "tools/gridtool/GridtoolCommands.h"

// Reads FILE with the tools' bound, loads it into a database of its own and
// prints it; the exit status is 0 for a file that loads with status 0, 1
// for a faulty one, 2 for misuse, a file that cannot be read or results
// that cannot be written.
int RunDumpCommand(const Arguments &args)
{
    bool json = !args.empty() && args[0] == "--json";
    if (args.size() != (json ? 2u : 1u)) {
        std::fputs("gridtool: dump takes [--json] FILE; try 'gridtool --help'\n", stderr);
        return 2;
    }
    const std::string &path = args.back();
    std::vector<unsigned char> bytes;
    std::string error;
    if (!ReadWholeFile(path, bytes, error)) {
        std::fprintf(stderr, "gridtool: %s\n", error.c_str());
        return 2;
    }
    static GridDatabase db;
    ResetGridDatabase(db);
    db.LoadStatus = LoadGridDataFromMemory(bytes.data(), bytes.size(), db);
    WriteGridDump(db, json, stdout);
    if (!OutputComplete("gridtool"))
        return 2;
    DataFileText text = DecodeDataFile(bytes);
    if (db.LoadStatus != kLoadOk && text.Recognised && !text.WasScrambled)
        std::fprintf(stderr, "gridtool: %s is a plain data text; scramble it with gridtool scramble\n", path.c_str());
    return db.LoadStatus == kLoadOk ? 0 : 1;
}
