// Fuzz target: orvanta-convert --csv over the fixture database.  The first
// line of the input holds the settings (the column, then "h" for a header
// row and "d" for decimal degrees, separated by blanks; "g" writes GeoJSON
// features instead); the rest is the CSV stream.  A run that succeeds
// writes back every line end of its input (records pass through untouched,
// the added cells hold none), or strict JSON, and counts one result per
// converted or failed record.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "tools/orvanta-convert/CsvConvert.h"
#include "tools/orvanta-convert/PointWriter.h"

namespace {

size_t CountLineFeeds(const char *text, size_t size)
{
    size_t count = 0;
    for (size_t i = 0; i < size; ++i)
        count += text[i] == '\n';
    return count;
}

// The settings line: column, then the flags.
CsvSettings ReadSettings(const std::string &line)
{
    CsvSettings settings;
    size_t blank = line.find(' ');
    settings.Column = line.substr(0, blank);
    std::string flags = blank == std::string::npos ? "" : line.substr(blank);
    settings.Header = flags.find(" h") != std::string::npos;
    settings.Format = flags.find(" d") != std::string::npos ? OutputFormat::Decimal : OutputFormat::DegreesMinutes;
    settings.Reverse = flags.find(" r") != std::string::npos;  // the column is LATCOL,LONCOL
    settings.Squares = flags.find(" s") != std::string::npos;
    settings.Delimiter = flags.find(" ;") != std::string::npos ? ';' : 0; // else found from the first line
    return settings;
}

} // namespace

// Loads the fixture into the program's database once.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    LoadPlainFixture("lookup-grid.txt", Grid);
    return 0;
}

// One input: settings line, then the stream.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string input(reinterpret_cast<const char *>(data), size);
    size_t end = input.find('\n');
    if (end == std::string::npos)
        return 0;
    CsvSettings settings = ReadSettings(input.substr(0, end));
    bool geojson = input.substr(0, end).find(" g") != std::string::npos && !settings.Reverse;
    std::string csv = input.substr(end + 1);
    if (csv.empty())
        return 0;

    std::FILE *in = fmemopen(&csv[0], csv.size(), "rb");
    char *written = nullptr;
    size_t writtenSize = 0;
    std::FILE *out = open_memstream(&written, &writtenSize);
    FUZZ_CHECK(in != nullptr && out != nullptr);
    CsvCounts counts;
    ProgressLine progress;
    std::string error;
    PointWriter writer(PointFormat::GeoJson, out, settings.Squares);
    CsvTarget target{geojson ? nullptr : out, geojson ? &writer : nullptr};
    if (geojson)
        writer.Begin();
    bool ok = ConvertCsvStream(in, target, settings, counts, progress, error);
    if (geojson)
        writer.End();
    std::fclose(in);
    std::fclose(out);

    FUZZ_CHECK(ok == error.empty());
    FUZZ_CHECK(counts.Converted >= 0 && counts.Failed >= 0);
    if (ok && geojson)
        FUZZ_CHECK(IsStrictJson(written, writtenSize));
    else if (ok)
        FUZZ_CHECK(CountLineFeeds(written, writtenSize) == CountLineFeeds(csv.data(), csv.size()));
    std::free(written);
    return 0;
}
