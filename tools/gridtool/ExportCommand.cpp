// gridtool export --geojson FILE [--squares|--cells] [--bbox W,S,E,N]: the
// grid of a data file as a GeoJSON layer on standard output.
#include <cstdio>

#include "data/GridLoader.h"
#include "tools/common/AtomicFile.h"
#include "tools/common/DataFileText.h"
#include "tools/common/OutputCheck.h"
#include "tools/gridtool/GeoJsonExport.h"
#include "tools/gridtool/GridtoolCommands.h"

namespace {

// The most features one export writes: small squares only come for an
// area, and an area too large for them is refused rather than written.
const long long kMaxFeatures = 100000;

// Reads the export's arguments; false with the reason on a misuse.
bool ParseExportArguments(const Arguments &args, std::string &path, GridExport &what, std::string &error)
{
    bool geojson = false, squares = false, cells = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--geojson") {
            geojson = true;
        } else if (arg == "--cells") {
            cells = true;
        } else if (arg == "--squares") {
            squares = true;
        } else if (arg == "--bbox" || arg.compare(0, 7, "--bbox=") == 0) {
            if (arg == "--bbox" && i + 1 >= args.size()) {
                error = "--bbox needs WEST,SOUTH,EAST,NORTH";
                return false;
            }
            if (!ParseExportArea(arg == "--bbox" ? args[++i] : arg.substr(7), what, error))
                return false;
        } else if (!arg.empty() && arg[0] == '-') {
            error = "export: unknown option '" + arg + "'";
            return false;
        } else if (!path.empty()) {
            error = "export takes one FILE";
            return false;
        } else {
            path = arg;
        }
    }
    if (!geojson || path.empty()) {
        error = "export needs --geojson and a FILE";
        return false;
    }
    if (squares && cells) {
        error = "--squares and --cells choose different depths; give one";
        return false;
    }
    what.Depth = squares ? GridLevel::Square
                 : cells ? GridLevel::Cell
                 : what.HasArea ? GridLevel::SmallSquare
                                : GridLevel::Square;
    return true;
}

} // namespace

// Loads the file (plain or scrambled) with the program's loader and writes
// its quads; refuses a file that does not load cleanly, and an export
// larger than kMaxFeatures.
int RunExportCommand(const Arguments &args)
{
    std::string path, error;
    GridExport what;
    if (!ParseExportArguments(args, path, what, error)) {
        std::fprintf(stderr, "gridtool: %s; try 'gridtool --help'\n", error.c_str());
        return 2;
    }
    std::vector<unsigned char> bytes;
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
    long long count = CountGridFeatures(db, what);
    if (count > kMaxFeatures) {
        std::fprintf(stderr, "gridtool: the export would hold %lld features, more than %lld: give a smaller --bbox, "
                             "or stop at --cells or --squares\n", count, kMaxFeatures);
        return 2;
    }
    WriteGridGeoJson(db, what, stdout);
    return OutputComplete("gridtool") ? 0 : 2;
}
