// The batch, map and reverse modes of orvanta-convert.
#include "tools/orvanta-convert/ResearchRun.h"

#include <cstdio>
#include <memory>

#include <sys/stat.h>

#include "data/GridDatabase.h"
#include "tools/common/TextEncoding.h"
#include "tools/common/AtomicFile.h"
#include "tools/common/OutputCheck.h"
#include "tools/orvanta-convert/CsvConvert.h"
#include "tools/orvanta-convert/CsvStream.h"
#include "tools/orvanta-convert/GridFiles.h"
#include "tools/orvanta-convert/HtmlMapWriter.h"
#include "tools/orvanta-convert/LineReader.h"
#include "tools/orvanta-convert/PointWriter.h"
#include "tools/orvanta-convert/ProgressLine.h"
#include "tools/orvanta-convert/CoordinateText.h"
#include "tools/orvanta-convert/ReverseLookup.h"

namespace {

enum ExitStatus { kAllConverted = 0, kSomeFailed = 1, kCannotRun = 2 };

// One line of a position list: the line, a TAB, then the codes of the
// position or the reason why there are none; false on a failure.  Blank
// lines and comments starting with '#' come back as they are.
bool ReverseLine(const std::string &line)
{
    std::string text = line;
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    if (PassesThrough(text)) {
        std::printf("%s\n", ValidUtf8(text).c_str());
        return true;
    }
    double lat = 0, lon = 0;
    std::string error, codes;
    if (ReadPosition(text, lat, lon, error)) {
        codes = CodesInGrids(lat, lon);
        if (codes.empty())
            error = OutsideTheGrids();
    }
    std::string out = ValidUtf8(text) + "\t" + (codes.empty() ? "ERROR: " + error : codes) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout); // the whole line, a NUL byte in it too
    return !codes.empty();
}

// Says why standard input could not be read, if it could not.
bool InputRead(const LineReader &reader)
{
    std::string failure = reader.Failure();
    if (!failure.empty())
        std::fprintf(stderr, "orvanta-convert: %s\n", failure.c_str());
    return failure.empty();
}

// Reads one position per line of standard input, up to the first failed
// write; an overlong line is one error line.
int RunReverseLines()
{
    bool allFound = true;
    std::string line;
    bool overlong = false;
    ProgressLine progress;
    LineReader reader(stdin);
    reader.BeforeWait([] { std::fflush(stdout); });
    while (!OutputFailed() && reader.Next(line, overlong)) {
        if (overlong) {
            std::printf("%s\tERROR: line longer than %s\n", ValidUtf8(line.substr(0, kMaxPositionText)).c_str(),
                        kMaxLineText);
            allFound = false;
        } else {
            allFound = ReverseLine(line) && allFound;
        }
        progress.Tick();
    }
    progress.Finish();
    if (!InputRead(reader))
        return kCannotRun;
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
        return RunReverseLines();
    double lat = 0, lon = 0;
    std::string error, shown;
    for (const std::string &arg : options.Codes)
        shown += (shown.empty() ? "" : " ") + arg;
    shown = ValidUtf8(shown);
    if (!ReadArgumentPosition(options.Codes, lat, lon, error)) {
        std::fprintf(stderr, "orvanta-convert: cannot read the position '%s': %s\n", shown.c_str(), error.c_str());
        return kCannotRun;
    }
    bool found = false;
    for (const auto &grid : LoadedGrids()) {
        for (const ReverseMatch &match : ReverseLookup(grid->Db, lat, lon)) {
            ConversionResult result = ConvertCode(match.Code, grid->Db);
            std::string line = FormatResultLine(result, options.Format, options.Precision);
            std::string mismatch = MatchMismatch(match, result);
            if (!mismatch.empty())
                line = Cp1252ToUtf8(match.Code) + "\tERROR: " + mismatch;
            std::printf("%s\n", line.c_str());
            found = true;
        }
    }
    if (!found) {
        std::printf("%s lies %s\n", shown.c_str(), OutsideTheGrids().c_str());
        return kSomeFailed;
    }
    return kAllConverted;
}

// The map document of a run: GeoJSON, KML, GPX or the map page, over the
// loaded grids; nothing for CSV.
class MapDocument {
public:
    explicit MapDocument(const ResearchOptions &research)
        : Format(research.Points), Points(research.Points, stdout, research.Squares), Page(stdout, Databases())
    {
        if (Format == PointFormat::Html)
            for (const auto &grid : LoadedGrids())
                Page.AddGridFile(grid->Path, grid->Bytes);
    }

    void Begin() { Format == PointFormat::Html ? Page.Begin("MQK grid codes") : Points.Begin(); }
    void End() { Format == PointFormat::Html ? Page.End() : Points.End(); }
    FeatureSink &Sink() { return Format == PointFormat::Html ? static_cast<FeatureSink &>(Page) : Points; }

    // The page lists a code without a position beside the map; the other
    // formats leave it to standard error.
    bool ListsFailures() const { return Format == PointFormat::Html; }

    // The name of the format, for messages.
    const char *Name() const
    {
        return Format == PointFormat::Kml ? "KML" : Format == PointFormat::Gpx ? "GPX" : "GeoJSON";
    }

private:
    static std::vector<const GridDatabase *> Databases()
    {
        std::vector<const GridDatabase *> grids;
        for (const auto &grid : LoadedGrids())
            grids.push_back(&grid->Db);
        return grids;
    }

    PointFormat Format;
    PointWriter Points;
    HtmlMapWriter Page;
};

// One CSV input of a run: a file named, or standard input ("-").
struct CsvInput {
    std::string Name = "-";
    std::FILE *File = nullptr;
    std::unique_ptr<CsvReader> Reader;
    bool Regular = false;      // a regular file, which can be read again
    bool HeaderTaken = false;  // its header was read and checked

    ~CsvInput() { Close(); }

    // Opens the input; false, having said why, when it cannot be read.
    bool Open(char delimiter)
    {
        File = Name == "-" ? stdin : IsFolder(Name) ? nullptr : std::fopen(Name.c_str(), "rb");
        if (!File) {
            std::fprintf(stderr, "orvanta-convert: cannot read '%s': %s\n", Name.c_str(), UnreadableReason(Name).c_str());
            return false;
        }
        struct stat status;
        Regular = File != stdin && stat(Name.c_str(), &status) == 0 && S_ISREG(status.st_mode);
        Reader.reset(new CsvReader(File));
        Reader->SetDelimiter(delimiter);
        return true;
    }

    void Close()
    {
        Reader.reset();
        if (File && File != stdin)
            std::fclose(File);
        File = nullptr;
    }
};

// Says why an input cannot be converted (a failed read as the line reader
// says it); the exit status of such a run.
int CsvFailure(const CsvInput &input, const std::string &error)
{
    if (input.Reader && input.Reader->ReadError())
        std::fprintf(stderr, "orvanta-convert: %s\n", input.Reader->Failure(input.Name).c_str());
    else
        std::fprintf(stderr, "orvanta-convert: %s: %s\n", input.Name.c_str(), error.c_str());
    return kCannotRun;
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
    MapDocument map(research);
    CsvTarget target;
    if (research.Points == PointFormat::None)
        target.Csv = stdout;
    else
        target.Map = &map.Sink();
    std::vector<CsvInput> inputs(options.Codes.empty() ? 1 : options.Codes.size());
    for (size_t i = 0; i < options.Codes.size(); ++i)
        inputs[i].Name = options.Codes[i];
    CsvConversion conversion(target, settings, counts, progress);
    std::string error;
    if (!conversion.TakeColumnsGiven(error)) {
        std::fprintf(stderr, "orvanta-convert: %s\n", error.c_str());
        return kCannotRun;
    }
    // Every header is read and checked before anything is written; a
    // regular file is read again from its start, any other stays open.
    for (CsvInput &input : inputs) {
        if (!settings.Header || inputs.size() == 1)
            break;
        if (!input.Open(research.Delimiter))
            return kCannotRun;
        if (!conversion.TakeHeader(*input.Reader, error))
            return CsvFailure(input, error);
        if (input.Regular)
            input.Close();
        else
            input.HeaderTaken = true;
    }
    map.Begin();
    for (CsvInput &input : inputs) {
        if (OutputFailed())
            return kCannotRun;
        if (!input.Reader && !input.Open(research.Delimiter))
            return kCannotRun;
        if (!input.HeaderTaken && !conversion.TakeHeader(*input.Reader, error))
            return CsvFailure(input, error);
        if (!conversion.Convert(*input.Reader, error))
            return CsvFailure(input, error);
        input.Close();
    }
    map.End();
    progress.Finish();
    if (counts.LeftOut)
        std::fprintf(stderr, "orvanta-convert: %lld rows without a position left out of the %s file\n",
                     counts.LeftOut, map.Name());
    else if (map.ListsFailures() && counts.Failed)
        std::fprintf(stderr, "orvanta-convert: %lld rows without a position, listed beside the map\n", counts.Failed);
    return counts.Failed ? kSomeFailed : kAllConverted;
}

// Converts one code into a feature, or reports it on standard error (the
// map page also lists it, as having no position); blank lines and
// comments are no codes.
bool AddPoint(MapDocument &map, bool squares, const std::string &text)
{
    if (PassesThrough(text))
        return true;
    ConversionResult result = ConvertInGrids(text);
    MapFeature feature = CodeFeature(result, squares);
    bool placed = feature.Geometry != MapFeature::Shape::None;
    if (placed || map.ListsFailures())
        map.Sink().Add(feature);
    if (placed)
        return true;
    std::string failure = result.Status == ConvertStatus::Converted
                              ? ResultCodeText(result) + "\tERROR: the data file puts this square off the globe"
                              : FormatResultLine(result, OutputFormat::Decimal);
    std::fprintf(stderr, "orvanta-convert: %s\n", failure.c_str());
    return false;
}

// Writes one feature per code of the arguments or of standard input, one
// code per line, up to the first failed write; an input that cannot be
// read leaves the document unended.
int RunPoints(const ResearchOptions &research, const ConvertOptions &options)
{
    MapDocument map(research);
    ProgressLine progress;
    bool allConverted = true;
    map.Begin();
    for (size_t i = 0; i < options.Codes.size() && !OutputFailed(); ++i)
        allConverted = AddPoint(map, research.Squares, options.Codes[i]) && allConverted;
    LineReader reader(stdin);
    reader.BeforeWait([] { std::fflush(stdout); });
    std::string line;
    bool overlong = false;
    while (options.Codes.empty() && !OutputFailed() && reader.Next(line, overlong)) {
        if (overlong) {
            std::fprintf(stderr, "orvanta-convert: %s\n", OverlongLineResult(line).c_str());
            allConverted = false;
        } else {
            allConverted = AddPoint(map, research.Squares, line) && allConverted;
        }
        progress.Tick();
    }
    if (!InputRead(reader))
        return kCannotRun;
    map.End();
    progress.Finish();
    return allConverted ? kAllConverted : kSomeFailed;
}

} // namespace

int RunResearch(const ResearchOptions &research, const ConvertOptions &options)
{
    int status = research.Csv       ? RunCsv(research, options)
                 : research.Reverse ? RunReverse(options)
                                    : RunPoints(research, options);
    return OutputComplete("orvanta-convert") ? status : kCannotRun;
}
