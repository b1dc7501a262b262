// Fuzz target: orvanta-convert's handling of what it reads.  The first line
// of the input is split at blanks into command-line arguments for the
// option parser; every further line is a code as read from standard input,
// converted over the fixture database and written in both output formats.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "convert/ConvertCode.h"
#include "tools/orvanta-convert/ConvertOptions.h"
#include "tools/orvanta-convert/HtmlMapWriter.h"
#include "tools/orvanta-convert/PointWriter.h"
#include "tools/orvanta-convert/ResearchOptions.h"
#include "tools/orvanta-convert/ResultFormat.h"

namespace {

std::FILE *sink = nullptr;

// The input cut at LF, as the tool reads standard input.
std::vector<std::string> Lines(const uint8_t *data, size_t size)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += static_cast<char>(data[i]);
    }
    return lines;
}

// The words of a line, split at blanks.
std::vector<std::string> Words(const std::string &line)
{
    std::vector<std::string> words;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find(' ', start);
        if (end == std::string::npos)
            end = line.size();
        words.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

// One result line: the code, a TAB, and no line end inside it.
void CheckResultLine(const std::string &line)
{
    FUZZ_CHECK(line.find('\t') != std::string::npos);
    FUZZ_CHECK(line.find('\n') == std::string::npos);
}

} // namespace

// Loads the fixture into the program's database once.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    LoadPlainFixture("lookup-grid.txt", Grid);
    return 0;
}

// One input: options line, then codes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<std::string> lines = Lines(data, size);
    std::vector<std::string> args = Words(lines[0]);
    ResearchOptions research;
    ConvertOptions options;
    std::string error;
    if (!ExtractResearchOptions(args, research, error))
        FUZZ_CHECK(!error.empty());
    else if (!ParseConvertOptions(args, options, error))
        FUZZ_CHECK(!error.empty());

    if (!sink)
        sink = std::fopen("/dev/null", "w");
    FUZZ_CHECK(sink != nullptr);
    PointWriter writers[] = {{PointFormat::GeoJson, sink}, {PointFormat::Kml, sink}, {PointFormat::Gpx, sink}};
    for (PointWriter &writer : writers)
        writer.Begin();
    // The map page's features; its head and tail are the same for every input.
    HtmlMapWriter page(sink, Grid);
    for (size_t i = 1; i < lines.size(); ++i) {
        ConversionResult result = ConvertWrittenCode(lines[i]);
        FUZZ_CHECK((result.Status == ConvertStatus::Converted) == (result.QuadIndex >= 0));
        CheckResultLine(FormatResultLine(result, OutputFormat::DegreesMinutes));
        CheckResultLine(FormatResultLine(result, OutputFormat::Decimal));
        for (PointWriter &writer : writers)
            writer.Add(result);
        page.Add(CodeFeature(result));
    }
    for (PointWriter &writer : writers)
        writer.End();
    return 0;
}
