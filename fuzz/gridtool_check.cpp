// Fuzz target: gridtool check and export on arbitrary file bytes (plain or
// scrambled, as the tool decides).  The checker's faults must stand on
// lines of the text in order; a text it finds clean must load with status
// 0; and whatever loads is exported as a map layer (to /dev/null), so that
// hostile geometry reaches the export.  Cells are exported only for small
// grids: a full table of 140-cell quads takes seconds under the sanitizers.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "FuzzSupport.h"
#include "data/GridLoader.h"
#include "tools/gridtool/DataFileChecker.h"
#include "tools/common/DataFileText.h"
#include "tools/common/MapLongitude.h"
#include "tools/gridtool/GeoJsonExport.h"

namespace {

GridDatabase db;
std::FILE *sink = nullptr;
const int kMaxQuadsWithCells = 20;

} // namespace

// One input: decode, check, load, compare, export.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<unsigned char> bytes(data, data + size);
    DataFileText text = DecodeDataFile(bytes);
    CheckSummary summary;
    std::vector<CheckProblem> problems = CheckPlainText(text.Plain, &summary);

    int lines = 1 + static_cast<int>(std::count(text.Plain.begin(), text.Plain.end(), '\n'));
    for (size_t i = 0; i < problems.size(); ++i) {
        FUZZ_CHECK(problems[i].Line >= 1 && problems[i].Line <= lines);
        FUZZ_CHECK(!problems[i].Message.empty());
        FUZZ_CHECK(i == 0 || problems[i - 1].Line <= problems[i].Line);
    }

    std::vector<unsigned char> scrambled = text.WasScrambled ? bytes : ScrambledForm(text.Plain);
    ResetGridDatabase(db);
    int16_t status = LoadGridDataFromMemory(scrambled.data(), scrambled.size(), db);
    CheckLoadedDatabase(db, status);
    if (problems.empty() && text.Recognised)
        FUZZ_CHECK(status == kLoadOk);

    if (status == kLoadOk) {
        if (!sink)
            sink = std::fopen("/dev/null", "w");
        FUZZ_CHECK(sink != nullptr);
        GridExport what;
        what.Depth = db.QuadCount <= kMaxQuadsWithCells ? GridLevel::Cell : GridLevel::Square;
        WriteGridGeoJson(db, what, sink);
        // Small squares within an area that holds the first quad's corner.
        GridExport area;
        std::string error;
        double lon = 0;
        if (db.QuadCount > 0 && std::isfinite(db.Quads[0].DownLeftLat) &&
            LongitudeDegreesEast(db.Quads[0].DownLeftLon, lon)) {
            double lat = db.Quads[0].DownLeftLat / 60;
            char box[128];
            std::snprintf(box, sizeof box, "%.3f,%.3f,%.3f,%.3f", lon - 0.5, lat - 0.5, lon + 0.5, lat + 0.5);
            if (ParseExportArea(box, area, error) && CountGridFeatures(db, area) <= 20000)
                WriteGridGeoJson(db, area, sink);
        }
    }
    return 0;
}
