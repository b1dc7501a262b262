// The batch, map and reverse modes of orvanta-convert.
#include "tools/orvanta-convert/ResearchRun.h"

#include <cstdio>

#include "data/GridDatabase.h"
#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/CsvConvert.h"
#include "tools/orvanta-convert/GridFiles.h"
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
        std::printf("%s %s lies outside the grid of %s\n", research.ReverseLat.c_str(), research.ReverseLon.c_str(),
                    LoadedGridNames().c_str());
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
        std::FILE *in = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
        if (!in) {
            std::fprintf(stderr, "orvanta-convert: cannot open '%s'\n", name.c_str());
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

// Converts one code into a point, or reports it on standard error.
bool AddPoint(PointWriter &writer, const std::string &text)
{
    ConversionResult result = ConvertInGrids(text);
    if (result.Status == ConvertStatus::Converted) {
        writer.Add(result);
        return true;
    }
    std::fprintf(stderr, "orvanta-convert: %s\n", FormatResultLine(result, OutputFormat::Decimal).c_str());
    return false;
}

// Writes one point per converted code of the arguments or of standard
// input, one code per line.
int RunPoints(const ResearchOptions &research, const ConvertOptions &options)
{
    PointWriter writer(research.Points, stdout);
    ProgressLine progress;
    bool allConverted = true;
    writer.Begin();
    for (const std::string &code : options.Codes)
        allConverted = AddPoint(writer, code) && allConverted;
    if (options.Codes.empty()) {
        std::string line;
        bool pending = false;
        for (int c; (c = std::getc(stdin)) != EOF;) {
            if (c != '\n') {
                line += static_cast<char>(c);
                pending = true;
                continue;
            }
            allConverted = AddPoint(writer, line) && allConverted;
            progress.Tick();
            line.clear();
            pending = false;
        }
        if (pending)
            allConverted = AddPoint(writer, line) && allConverted;
    }
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
