// gridtool export --geojson FILE [--cells]: the grid of a data file as a
// GeoJSON layer on standard output.
#include <cstdio>

#include "data/GridLoader.h"
#include "tools/common/AtomicFile.h"
#include "tools/common/DataFileText.h"
#include "tools/gridtool/GeoJsonExport.h"
#include "tools/gridtool/GridtoolCommands.h"

// Loads the file (plain or scrambled) with the program's loader and writes
// its quads; refuses a file that does not load cleanly.
int RunExportCommand(const Arguments &args)
{
    bool geojson = false, cells = false;
    std::string path;
    for (const std::string &arg : args) {
        if (arg == "--geojson")
            geojson = true;
        else if (arg == "--cells")
            cells = true;
        else if (path.empty() && arg[0] != '-')
            path = arg;
        else
            path = "-";
    }
    if (!geojson || path.empty() || path == "-") {
        std::fputs("usage: gridtool export --geojson FILE [--cells]\n", stderr);
        return 2;
    }
    std::vector<unsigned char> bytes;
    std::string error;
    if (!ReadWholeFile(path, bytes, error)) {
        std::fprintf(stderr, "gridtool: %s\n", error.c_str());
        return 2;
    }
    DataFileText text = DecodeDataFile(bytes);
    std::vector<unsigned char> scrambled = text.WasScrambled ? bytes : ScrambledForm(text.Plain);
    static GridDatabase db;
    ResetGridDatabase(db);
    db.LoadStatus = LoadGridDataFromMemory(scrambled.data(), scrambled.size(), db);
    if (db.LoadStatus != kLoadOk) {
        std::fprintf(stderr, "gridtool: %s does not load cleanly (status %d); 'gridtool check %s' says why\n",
                     path.c_str(), db.LoadStatus, path.c_str());
        return 1;
    }
    WriteGridGeoJson(db, cells, stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
