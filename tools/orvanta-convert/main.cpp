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
#include "tools/orvanta-convert/GridFiles.h"
#include "tools/orvanta-convert/ConvertOptions.h"
#include "tools/orvanta-convert/ResearchOptions.h"
#include "tools/orvanta-convert/ResearchRun.h"
#include "tools/orvanta-convert/ResultFormat.h"

namespace {

enum ExitStatus { kAllConverted = 0, kSomeFailed = 1, kCannotRun = 2 };

// Converts one code and writes its line; false when the code failed.
bool ConvertAndWrite(const std::string &text, OutputFormat format)
{
    ConversionResult result = ConvertInGrids(text);
    std::string line = FormatResultLine(result, format) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    return result.Status == ConvertStatus::Converted;
}

// Reads standard input line by line, each line one code (the last line
// needs no line end); returns whether every code converted.
bool ConvertStandardInput(OutputFormat format)
{
    bool allConverted = true;
    std::string line;
    bool pending = false;
    for (int c; (c = std::getc(stdin)) != EOF;) {
        if (c == '\n') {
            allConverted = ConvertAndWrite(line, format) && allConverted;
            line.clear();
            pending = false;
        } else {
            line += static_cast<char>(c);
            pending = true;
        }
    }
    if (pending)
        allConverted = ConvertAndWrite(line, format) && allConverted;
    return allConverted;
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
        std::fprintf(stderr, "orvanta-convert: %s\n%s%s", error.c_str(), kConvertUsage, kResearchUsage);
        return kCannotRun;
    }
    if (options.Help) {
        std::fputs(kConvertUsage, stdout);
        std::fputs(kResearchUsage, stdout);
        return kAllConverted;
    }

    std::vector<std::string> files = options.DataFiles;
    if ((files.empty() && !FindDefaultGridFiles(argv[0], files, error)) || !LoadGridFiles(files, error)) {
        std::fprintf(stderr, "orvanta-convert: %s\n", error.c_str());
        return kCannotRun;
    }

    if (research.Any())
        return RunResearch(research, options);

    bool allConverted = true;
    if (options.Codes.empty())
        allConverted = ConvertStandardInput(options.Format);
    for (const std::string &code : options.Codes)
        allConverted = ConvertAndWrite(code, options.Format) && allConverted;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("orvanta-convert: cannot write the results\n", stderr);
        return kCannotRun;
    }
    return allConverted ? kAllConverted : kSomeFailed;
}
