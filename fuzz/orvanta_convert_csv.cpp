// Fuzz target: orvanta-convert --csv over the fixture database.  The first
// line of the input holds the settings (the column, then "h" for a header
// row and "d" for decimal degrees, separated by blanks; "g", "k" or "x"
// write GeoJSON, KML or GPX features instead); the rest is the CSV input,
// split into files at each byte 0x1C.  Files are read as the program reads
// them: with a header, every file's header first, then each file again.
// A run that succeeds writes UTF-8 and, from one file, every line end of
// its input (records pass through untouched, the added cells hold none),
// from several at most one more between two files; the map formats write
// strict JSON or well-formed XML; a run refused for a header writes nothing.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <libxml/parser.h>

#include "FuzzSupport.h"
#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/CsvConvert.h"
#include "tools/orvanta-convert/CsvStream.h"
#include "tools/orvanta-convert/PointWriter.h"

namespace {

size_t CountLineFeeds(const std::string &text)
{
    size_t count = 0;
    for (char c : text)
        count += c == '\n';
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

// The map format the flags ask for, or None for CSV.
PointFormat ReadFormat(const std::string &line, bool reverse)
{
    if (reverse)
        return PointFormat::None;
    return line.find(" g") != std::string::npos   ? PointFormat::GeoJson
           : line.find(" k") != std::string::npos ? PointFormat::Kml
           : line.find(" x") != std::string::npos ? PointFormat::Gpx
                                                  : PointFormat::None;
}

// One file of the input, read from memory.
struct MemoryFile {
    explicit MemoryFile(std::string &text, char delimiter)
        : File(text.empty() ? std::tmpfile() : fmemopen(&text[0], text.size(), "rb")), Reader(File)
    {
        FUZZ_CHECK(File != nullptr);
        Reader.SetDelimiter(delimiter);
    }
    ~MemoryFile() { std::fclose(File); }

    std::FILE *File;
    CsvReader Reader;
};

bool IsWellFormedXml(const std::string &text)
{
    xmlDocPtr document = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                       XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
    xmlFreeDoc(document);
    return document != nullptr;
}

} // namespace

// Loads the fixture into the program's database once.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    LoadPlainFixture("lookup-grid.txt", Grid);
    xmlInitParser();
    return 0;
}

// One input: settings line, then the files.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string input(reinterpret_cast<const char *>(data), size);
    size_t end = input.find('\n');
    if (end == std::string::npos)
        return 0;
    CsvSettings settings = ReadSettings(input.substr(0, end));
    PointFormat format = ReadFormat(input.substr(0, end), settings.Reverse);
    std::vector<std::string> files(1);
    for (size_t i = end + 1; i < input.size(); ++i)
        if (input[i] == '\x1C')
            files.emplace_back();
        else
            files.back() += input[i];
    if (files.size() == 1 && files[0].empty())
        return 0;

    char *written = nullptr;
    size_t writtenSize = 0;
    std::FILE *out = open_memstream(&written, &writtenSize);
    FUZZ_CHECK(out != nullptr);
    CsvCounts counts;
    ProgressLine progress;
    std::string error;
    PointWriter writer(format, out, settings.Squares && format != PointFormat::Gpx);
    CsvTarget target{format == PointFormat::None ? out : nullptr, format == PointFormat::None ? nullptr : &writer};
    CsvConversion conversion(target, settings, counts, progress);
    bool ok = true, refused = false;
    for (size_t i = 0; ok && settings.Header && files.size() > 1 && i < files.size(); ++i) {
        MemoryFile file(files[i], settings.Delimiter);
        ok = conversion.TakeHeader(file.Reader, error);
        refused = !ok;
    }
    if (ok)
        writer.Begin();
    for (size_t i = 0; ok && i < files.size(); ++i) {
        MemoryFile file(files[i], settings.Delimiter);
        ok = conversion.TakeHeader(file.Reader, error) && conversion.Convert(file.Reader, error);
    }
    if (ok)
        writer.End();
    std::fclose(out);
    std::string output(written, writtenSize);
    std::free(written);

    FUZZ_CHECK(ok == error.empty());
    FUZZ_CHECK(counts.Converted >= 0 && counts.Failed >= 0);
    FUZZ_CHECK(!refused || output.empty());
    if (!ok)
        return 0;
    size_t inputLines = 0;
    for (const std::string &file : files)
        inputLines += CountLineFeeds(file);
    switch (format) {
    case PointFormat::GeoJson: FUZZ_CHECK(IsStrictJson(output.data(), output.size())); break;
    case PointFormat::Kml:
    case PointFormat::Gpx: FUZZ_CHECK(IsWellFormedXml(output)); break;
    case PointFormat::Html: break;
    case PointFormat::None:
        FUZZ_CHECK(IsValidUtf8(output));
        if (files.size() == 1)
            FUZZ_CHECK(CountLineFeeds(output) == inputLines);
        else
            FUZZ_CHECK(CountLineFeeds(output) <= inputLines + files.size() - 1);
        if (files.size() > 1 && !settings.Header)
            FUZZ_CHECK(CountLineFeeds(output) >= inputLines);
        break;
    }
    return 0;
}
