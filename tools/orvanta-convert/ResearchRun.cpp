// The batch, map and reverse modes of orvanta-convert.
#include "tools/orvanta-convert/ResearchRun.h"

#include <cstdio>

#include "data/GridDatabase.h"
#include "tools/common/TextEncoding.h"
#include "tools/common/AtomicFile.h"
#include "tools/orvanta-convert/CsvConvert.h"
#include "tools/orvanta-convert/GridFiles.h"
#include "tools/orvanta-convert/HtmlMapWriter.h"
#include "tools/orvanta-convert/LineReader.h"
#include "tools/orvanta-convert/PointWriter.h"
#include "tools/orvanta-convert/ProgressLine.h"
#include "tools/orvanta-convert/ReverseLookup.h"

namespace {

enum ExitStatus { kAllConverted = 0, kSomeFailed = 1, kCannotRun = 2 };

// Prints every code whose small square holds the position, with the centre
// of that square, or says that the position lies outside the grid.
int RunReverse(const ResearchOptions &research, const ConvertOptions &options)
{
    double lat = 0, lon = 0;
    if (!ParseCoordinate(research.ReverseLat, true, lat) || !ParseCoordinate(research.ReverseLon, false, lon)) {
        std::fprintf(stderr,
                     "orvanta-convert: cannot read the position '%s' '%s': give the latitude, then the longitude, "
                     "as decimal degrees (north and east positive) or as 55\xC2\xB0" "7.50 N 21\xC2\xB0" "7.25 W\n",
                     research.ReverseLat.c_str(), research.ReverseLon.c_str());
        return kCannotRun;
    }
    bool found = false;
    for (const auto &grid : LoadedGrids()) {
        for (const ReverseMatch &match : ReverseLookup(grid->Db, lat, lon)) {
            ConversionResult result = ConvertCode(match.Code, grid->Db);
            std::string line = FormatResultLine(result, options.Format);
            if (result.QuadIndex != match.QuadIndex)
                line = Cp1252ToUtf8(match.Code) + "\tERROR: the lookup takes this code to quad record " +
                       std::to_string(result.QuadIndex) + ", not to record " + std::to_string(match.QuadIndex) +
                       " that holds the position";
            std::printf("%s\n", line.c_str());
            found = true;
        }
    }
    if (!found) {
        std::printf("%s %s lies outside the grid of %s\n", ValidUtf8(research.ReverseLat).c_str(),
                    ValidUtf8(research.ReverseLon).c_str(), ValidUtf8(LoadedGridNames()).c_str());
        return kSomeFailed;
    }
    return kAllConverted;
}

// Converts every CSV input (the FILEs given, or standard input).
int RunCsv(const ResearchOptions &research, const ConvertOptions &options)
{
    CsvSettings settings;
    settings.Column = research.CsvColumn;
    settings.Header = research.Header;
    settings.Format = options.Format;
    CsvCounts counts;
    ProgressLine progress;
    std::vector<std::string> files = options.Codes;
    if (files.empty())
        files.push_back("-");
    for (const std::string &name : files) {
        std::FILE *in = name == "-" ? stdin : IsFolder(name) ? nullptr : std::fopen(name.c_str(), "rb");
        if (!in) {
            std::fprintf(stderr, "orvanta-convert: cannot read '%s': %s\n", name.c_str(),
                         UnreadableReason(name).c_str());
            return kCannotRun;
        }
        std::string error;
        bool ok = ConvertCsvStream(in, stdout, settings, counts, progress, error);
        if (in != stdin)
            std::fclose(in);
        if (!ok) {
            std::fprintf(stderr, "orvanta-convert: %s: %s\n", name.c_str(), error.c_str());
            return kCannotRun;
        }
    }
    progress.Finish();
    return counts.Failed ? kSomeFailed : kAllConverted;
}

// Converts one code into a point, or reports it on standard error; the
// map page also lists a failed code, as having no position.
bool AddPoint(PointWriter &writer, HtmlMapWriter *page, const std::string &text)
{
    ConversionResult result = ConvertInGrids(text);
    std::string failure = FormatResultLine(result, OutputFormat::Decimal);
    if (page) {
        page->Add(CodeFeature(result));
        if (result.Status == ConvertStatus::Converted)
            return true;
    } else if (result.Status == ConvertStatus::Converted) {
        if (writer.Add(result))
            return true;
        failure = ResultCodeText(result) + "\tERROR: the data file puts this square off the globe";
    }
    std::fprintf(stderr, "orvanta-convert: %s\n", failure.c_str());
    return false;
}

// Writes one point (or one feature of the map page) per code of the
// arguments or of standard input, one code per line.
int RunPoints(const ResearchOptions &research, const ConvertOptions &options)
{
    PointWriter writer(research.Points, stdout);
    std::vector<const GridDatabase *> grids;
    for (const auto &grid : LoadedGrids())
        grids.push_back(&grid->Db);
    HtmlMapWriter pageWriter(stdout, grids);
    HtmlMapWriter *page = research.Points == PointFormat::Html ? &pageWriter : nullptr;
    ProgressLine progress;
    bool allConverted = true;
    if (page)
        page->Begin("MQK grid codes");
    else
        writer.Begin();
    for (const std::string &code : options.Codes)
        allConverted = AddPoint(writer, page, code) && allConverted;
    LineReader reader(stdin);
    reader.BeforeWait([] { std::fflush(stdout); });
    std::string line;
    bool overlong = false;
    while (options.Codes.empty() && reader.Next(line, overlong)) {
        if (overlong) {
            std::fprintf(stderr, "orvanta-convert: %s\n", OverlongLineResult(line).c_str());
            allConverted = false;
        } else {
            allConverted = AddPoint(writer, page, line) && allConverted;
        }
        progress.Tick();
    }
    if (page)
        page->End();
    else
        writer.End();
    progress.Finish();
    return allConverted ? kAllConverted : kSomeFailed;
}

} // namespace

int RunResearch(const ResearchOptions &research, const ConvertOptions &options)
{
    int status = research.Reverse ? RunReverse(research, options)
                 : research.Csv   ? RunCsv(research, options)
                                  : RunPoints(research, options);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("orvanta-convert: cannot write the results\n", stderr);
        return kCannotRun;
    }
    return status;
}
