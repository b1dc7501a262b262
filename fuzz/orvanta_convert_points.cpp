// Fuzz target: orvanta-convert --format geojson, kml and gpx over a
// hostile data file.  The input is as for convert_loaded: a typed code, a
// NUL byte and the plain text of a data file.  When the file loads with
// status 0, the typed code and a code built for each of the first quads are
// written as points, and as squares, in each format.  Every point and
// corner written lies on the globe with finite coordinates, and the GeoJSON
// is strict JSON; a loop that makes no progress shows as a hang.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "tools/orvanta-convert/PointWriter.h"

namespace {

const int kBuiltCodes = 8;

// Every number after each occurrence of key in the text: finite and
// within limit.
void CheckNumbersAfter(const std::string &text, const char *key, double limit)
{
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        const char *p = text.c_str() + at + std::strlen(key);
        char *end = nullptr;
        double value = std::strtod(p, &end);
        FUZZ_CHECK(end != p && std::isfinite(value) && std::fabs(value) <= limit);
    }
}

// Every number from each occurrence of key up to the next end: finite and
// within limit (the coordinates of a point or of a polygon's rings).
void CheckNumbersUpTo(const std::string &text, const char *key, char end, double limit)
{
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        size_t stop = text.find(end, at);
        FUZZ_CHECK(stop != std::string::npos);
        for (size_t i = at + std::strlen(key); i < stop; ++i) {
            char c = text[i];
            if (!(c == '-' || (c >= '0' && c <= '9')) || (text[i - 1] != '[' && text[i - 1] != ' ' && text[i - 1] != ','))
                continue;
            char *next = nullptr;
            double value = std::strtod(text.c_str() + i, &next);
            FUZZ_CHECK(std::isfinite(value) && std::fabs(value) <= limit);
            i = static_cast<size_t>(next - text.c_str());
        }
    }
}

// Writes the results as one document of the format and checks it.
void WriteAndCheck(PointFormat format, const std::vector<ConversionResult> &results, bool squares)
{
    char *text = nullptr;
    size_t size = 0;
    std::FILE *out = open_memstream(&text, &size);
    FUZZ_CHECK(out != nullptr);
    PointWriter writer(format, out, squares);
    writer.Begin();
    for (const ConversionResult &result : results)
        writer.Add(result);
    writer.End();
    std::fclose(out);
    std::string document(text, size);
    std::free(text);
    switch (format) {
    case PointFormat::GeoJson:
        FUZZ_CHECK(IsStrictJson(document.data(), document.size()));
        CheckNumbersUpTo(document, "\"coordinates\": ", '}', 180);
        break;
    case PointFormat::Kml: CheckNumbersUpTo(document, "<coordinates>", '<', 180); break;
    case PointFormat::Gpx:
        CheckNumbersAfter(document, "<wpt lat=\"", 90);
        CheckNumbersAfter(document, "\" lon=\"", 180);
        break;
    case PointFormat::Html: // the map page has its own target
    case PointFormat::None: break;
    }
}

} // namespace

// One input: code, NUL, plain data text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string typed;
    if (!LoadCodeAndData(data, size, typed))
        return 0;
    std::vector<ConversionResult> results;
    results.push_back(ConvertWrittenCode(typed));
    char code[16];
    for (int i = 0; i < Grid.QuadCount && i < kBuiltCodes; ++i)
        if (BuildQuadCode(Grid, i, code))
            results.push_back(ConvertCode(code));
    for (size_t i = results.size(); i-- > 0;)
        if (results[i].Status != ConvertStatus::Converted)
            results.erase(results.begin() + static_cast<long>(i));
    for (PointFormat format : {PointFormat::GeoJson, PointFormat::Kml, PointFormat::Gpx})
        for (bool squares : {false, true})
            WriteAndCheck(format, results, squares);
    return 0;
}
