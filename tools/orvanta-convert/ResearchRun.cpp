// The batch, map and reverse modes of orvanta-convert.
#include "tools/orvanta-convert/ResearchRun.h"

#include <cstdio>

#include "data/GridDatabase.h"
#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/CsvConvert.h"
#include "tools/orvanta-convert/PointWriter.h"
#include "tools/orvanta-convert/ProgressLine.h"
#include "tools/orvanta-convert/CoordinateText.h"
#include "tools/orvanta-convert/ReverseLookup.h"

namespace {

enum ExitStatus { kAllConverted = 0, kSomeFailed = 1, kCannotRun = 2 };

// The codes of the small squares that hold the position, separated by
// blanks, in table order.
std::string CodesAt(double lat, double lon)
{
    std::string codes;
    for (const ReverseMatch &match : ReverseLookup(Grid, lat, lon))
        codes += (codes.empty() ? "" : " ") + Cp1252ToUtf8(match.Code);
    return codes;
}

// One line of a position list: the line, a TAB, then the codes of the
// position or the reason why there are none; false on a failure.  Blank
// lines and comments starting with '#' come back as they are.
bool ReverseLine(const std::string &line, const std::string &dataFile)
{
    std::string text = line;
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    if (PassesThrough(text)) {
        std::printf("%s\n", text.c_str());
        return true;
    }
    double lat = 0, lon = 0;
    std::string error, codes;
    if (ReadPosition(text, lat, lon, error)) {
        codes = CodesAt(lat, lon);
        if (codes.empty())
            error = "outside the grid of " + dataFile;
    }
    std::printf("%s\t%s\n", text.c_str(), codes.empty() ? ("ERROR: " + error).c_str() : codes.c_str());
    return !codes.empty();
}

// Reads one position per line of standard input; a line longer than any
// position is cut, which ReadPosition refuses.
int RunReverseLines(const ConvertOptions &options)
{
    bool allFound = true;
    std::string line;
    bool pending = false;
    ProgressLine progress;
    for (int c; (c = std::getc(stdin)) != EOF;) {
        if (c != '\n') {
            if (line.size() <= kMaxPositionText + 1)
                line += static_cast<char>(c);
            pending = true;
            continue;
        }
        allFound = ReverseLine(line, options.DataFile) && allFound;
        progress.Tick();
        line.clear();
        pending = false;
    }
    if (pending)
        allFound = ReverseLine(line, options.DataFile) && allFound;
    progress.Finish();
    return allFound ? kAllConverted : kSomeFailed;
}

// Reads the position of the arguments: a latitude and a longitude as two
// arguments, or a whole position in one or more.
bool ReadArgumentPosition(const std::vector<std::string> &args, double &lat, double &lon, std::string &error)
{
    if (args.size() == 2) {
        CoordinateReading latitude = ReadCoordinate(args[0], true), longitude = ReadCoordinate(args[1], false);
        lat = latitude.Minutes;
        lon = longitude.Minutes;
        error = !latitude.Ok ? latitude.Error : longitude.Error;
        return latitude.Ok && longitude.Ok;
    }
    std::string joined;
    for (const std::string &arg : args)
        joined += (joined.empty() ? "" : " ") + arg;
    return ReadPosition(joined, lat, lon, error);
}

// Prints every code whose small square holds the position, with the centre
// of that square, or says that the position lies outside the grid; without
// a position, reads a list of them.
int RunReverse(const ConvertOptions &options)
{
    if (options.Codes.empty())
        return RunReverseLines(options);
    double lat = 0, lon = 0;
    std::string error, shown;
    for (const std::string &arg : options.Codes)
        shown += (shown.empty() ? "" : " ") + arg;
    if (!ReadArgumentPosition(options.Codes, lat, lon, error)) {
        std::fprintf(stderr, "orvanta-convert: cannot read the position '%s': %s\n", shown.c_str(), error.c_str());
        return kCannotRun;
    }
    std::vector<ReverseMatch> matches = ReverseLookup(Grid, lat, lon);
    if (matches.empty()) {
        std::printf("%s lies outside the grid of %s\n", shown.c_str(), options.DataFile.c_str());
        return kSomeFailed;
    }
    for (const ReverseMatch &match : matches) {
        ConversionResult result = ConvertCode(match.Code);
        std::string line = FormatResultLine(result, options.Format, options.Precision);
        if (result.QuadIndex != match.QuadIndex)
            line = Cp1252ToUtf8(match.Code) + "\tERROR: the lookup takes this code to quad record " +
                   std::to_string(result.QuadIndex) + ", not to record " + std::to_string(match.QuadIndex) +
                   " that holds the position";
        std::printf("%s\n", line.c_str());
    }
    return kAllConverted;
}

// The name of a map format, for messages.
const char *FormatName(PointFormat format)
{
    return format == PointFormat::Kml ? "KML" : format == PointFormat::Gpx ? "GPX" : "GeoJSON";
}

// Converts every CSV input (the FILEs given, or standard input) into one
// CSV stream or one map document.
int RunCsv(const ResearchOptions &research, const ConvertOptions &options)
{
    CsvSettings settings;
    settings.Column = research.CsvColumn;
    settings.Header = research.Header;
    settings.Format = options.Format;
    settings.Decimals = options.Precision;
    settings.Delimiter = research.Delimiter;
    settings.Reverse = research.Reverse;
    settings.Squares = research.Squares;
    CsvCounts counts;
    ProgressLine progress;
    PointWriter writer(research.Points, stdout, research.Squares);
    CsvTarget target;
    if (research.Points == PointFormat::None)
        target.Csv = stdout;
    else
        target.Map = &writer;
    std::vector<std::string> files = options.Codes;
    if (files.empty())
        files.push_back("-");
    writer.Begin();
    for (const std::string &name : files) {
        std::FILE *in = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
        if (!in) {
            std::fprintf(stderr, "orvanta-convert: cannot open '%s'\n", name.c_str());
            return kCannotRun;
        }
        std::string error;
        bool ok = ConvertCsvStream(in, target, settings, counts, progress, error);
        if (in != stdin)
            std::fclose(in);
        if (!ok) {
            std::fprintf(stderr, "orvanta-convert: %s: %s\n", name.c_str(), error.c_str());
            return kCannotRun;
        }
    }
    writer.End();
    progress.Finish();
    if (counts.LeftOut)
        std::fprintf(stderr, "orvanta-convert: %lld rows without a position left out of the %s file\n",
                     counts.LeftOut, FormatName(research.Points));
    return counts.Failed ? kSomeFailed : kAllConverted;
}

// Converts one code into a point, or reports it on standard error; blank
// lines and comments are no codes.
bool AddPoint(PointWriter &writer, const std::string &text)
{
    if (PassesThrough(text))
        return true;
    ConversionResult result = ConvertCode(NormalizeCode(text));
    std::string failure = FormatResultLine(result, OutputFormat::Decimal);
    if (result.Status == ConvertStatus::Converted) {
        if (writer.Add(result))
            return true;
        failure = result.Code + "\tERROR: the data file puts this square off the globe";
    }
    std::fprintf(stderr, "orvanta-convert: %s\n", failure.c_str());
    return false;
}

// Writes one point per converted code of the arguments or of standard
// input, one code per line.
int RunPoints(const ResearchOptions &research, const ConvertOptions &options)
{
    PointWriter writer(research.Points, stdout, research.Squares);
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
    int status = research.Csv       ? RunCsv(research, options)
                 : research.Reverse ? RunReverse(options)
                                    : RunPoints(research, options);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("orvanta-convert: cannot write the results\n", stderr);
        return kCannotRun;
    }
    return status;
}
