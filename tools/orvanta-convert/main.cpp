// orvanta-convert: converts many grid codes at once with the program's own
// lookup, position computation and texts.
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "convert/ConvertCode.h"
#include "tools/common/OutputCheck.h"
#include "tools/common/ToolVersion.h"
#include "tools/orvanta-convert/BlockOutput.h"
#include "tools/orvanta-convert/ConvertOptions.h"
#include "tools/orvanta-convert/GridFiles.h"
#include "tools/orvanta-convert/LineReader.h"
#include "tools/orvanta-convert/LoadMessage.h"
#include "tools/orvanta-convert/ResearchOptions.h"
#include "tools/orvanta-convert/ResearchRun.h"
#include "tools/orvanta-convert/ResultFormat.h"

namespace {

enum ExitStatus { kAllConverted = 0, kSomeFailed = 1, kCannotRun = 2 };

// Converts one code and writes its line; false when the code failed.
bool ConvertAndWrite(const std::string &text, const ConvertOptions &options, BlockOutput &out)
{
    ConversionResult result = ConvertInGrids(text);
    AppendResultLine(out.Text(), result, options.Format, options.Precision);
    out.EndLine();
    return result.Status == ConvertStatus::Converted;
}

// Converts one line of a code list; a blank line or a comment is written
// back as it came, without its CR.
bool ConvertListLine(const std::string &line, const ConvertOptions &options, BlockOutput &out)
{
    if (!PassesThrough(line))
        return ConvertAndWrite(line, options, out);
    out.Text().append(line, 0, !line.empty() && line.back() == '\r' ? line.size() - 1 : line.size());
    out.EndLine();
    return true;
}

// Reads standard input line by line, each line one code (the last line
// needs no line end), blank lines and comments passed through; clears
// allConverted when a code fails.  An overlong line is one error line.  The
// lines so far go out whenever the input makes the tool wait, so a program
// feeding codes one at a time gets each answer at once.  Reading stops at
// the first failed write; false (with the message written) when standard
// input cannot be read.
bool ConvertStandardInput(const ConvertOptions &options, BlockOutput &out, bool &allConverted)
{
    LineReader reader(stdin);
    reader.BeforeWait([&out] { out.Flush(); });
    std::string line;
    bool overlong = false;
    while (!OutputFailed() && reader.Next(line, overlong)) {
        if (!overlong) {
            allConverted = ConvertListLine(line, options, out) && allConverted;
            continue;
        }
        out.Text() += OverlongLineResult(line);
        out.EndLine();
        allConverted = false;
    }
    std::string failure = reader.Failure();
    if (!failure.empty())
        std::fprintf(stderr, "orvanta-convert: %s\n", failure.c_str());
    return failure.empty();
}

} // namespace

// Parses the options, loads the data file, then converts every code.
int main(int argc, char **argv)
{
#ifdef _WIN32
    // Line ends and text bytes pass unchanged, as in the native build.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    ConvertOptions options;
    ResearchOptions research;
    std::string error;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!ExtractResearchOptions(args, research, error) || !ParseConvertOptions(args, options, error)) {
        std::fprintf(stderr, "orvanta-convert: %s; try 'orvanta-convert --help'\n", error.c_str());
        return kCannotRun;
    }
    if (options.Version) {
        std::fputs(VersionLine("orvanta-convert").c_str(), stdout);
    } else if (options.Help) {
        std::fputs(kConvertUsage, stdout);
        std::fputs(kResearchUsage, stdout);
    }
    if (options.Version || options.Help)
        return OutputComplete("orvanta-convert") ? kAllConverted : kCannotRun;

    std::vector<std::string> files = options.DataFiles;
    if ((files.empty() && !FindDefaultGridFiles(argv[0], files, error)) || !LoadGridFiles(files, error)) {
        std::fprintf(stderr, "orvanta-convert: %s\n", error.c_str());
        return kCannotRun;
    }

    if (research.Any())
        return RunResearch(research, options);

    BlockOutput out(stdout);
    bool allConverted = true, inputRead = true;
    if (options.Codes.empty())
        inputRead = ConvertStandardInput(options, out, allConverted);
    for (size_t i = 0; i < options.Codes.size() && !OutputFailed(); ++i)
        allConverted = ConvertAndWrite(options.Codes[i], options, out) && allConverted;
    out.Flush();
    if (!OutputComplete("orvanta-convert") || !inputRead)
        return kCannotRun;
    return allConverted ? kAllConverted : kSomeFailed;
}
