// gridtool check FILE...: reports every fault of a data file (plain or
// scrambled) as FILE:LINE: message, and confirms the result with the
// program's own loader.
#include <cstdio>

#include "data/GridLoader.h"
#include "tools/common/AtomicFile.h"
#include "tools/gridtool/DataFileChecker.h"
#include "tools/common/DataFileText.h"
#include "tools/gridtool/GridtoolCommands.h"

namespace {

const char *kStatusMeaning[] = {"loaded", "a section's quad count differs from its names",
                                "the sections are not followed by QuadDefinitions",
                                "the file exceeds a table or a buffer"};

// Checks one file; returns 0 clean, 1 faulty, 2 unreadable.
int CheckFile(const std::string &path)
{
    std::vector<unsigned char> bytes;
    std::string error;
    if (!ReadWholeFile(path, bytes, error)) {
        std::fprintf(stderr, "gridtool: %s\n", error.c_str());
        return 2;
    }
    DataFileText text = DecodeDataFile(bytes);
    CheckSummary summary;
    std::vector<CheckProblem> problems = CheckPlainText(text.Plain, &summary);
    if (!text.Recognised)
        problems.insert(problems.begin(), {1, "neither the file nor its descrambled form begins with 'About' or "
                                              "'Chart'"});

    static GridDatabase db;
    ResetGridDatabase(db);
    std::vector<unsigned char> scrambled = text.WasScrambled ? bytes : ScrambledForm(text.Plain);
    int status = LoadGridDataFromMemory(scrambled.data(), scrambled.size(), db);
    if (status != kLoadOk && problems.empty()) // the walk should have found it; say so all the same
        problems.push_back({1, "the program's loader ends with status " + std::to_string(status) + ": " +
                                   kStatusMeaning[status >= 0 && status <= 3 ? status : 3]});

    for (const CheckProblem &p : problems)
        std::printf("%s:%d: %s\n", path.c_str(), p.Line, p.Message.c_str());
    if (!problems.empty()) {
        std::printf("%s: %zu problem%s; the loader's status is %d\n", path.c_str(), problems.size(),
                    problems.size() == 1 ? "" : "s", status);
        return 1;
    }
    std::printf("%s: ok (%s), %d sections, %d quads, %d quad forms\n", path.c_str(),
                text.WasScrambled ? "scrambled" : "plain text", summary.Sections, summary.Quads, summary.Forms);
    return 0;
}

} // namespace

// Checks each file in turn; the exit status is the worst of them.
int RunCheckCommand(const Arguments &args)
{
    if (args.empty() || args[0][0] == '-') {
        std::fputs("usage: gridtool check FILE...\n", stderr);
        return 2;
    }
    int worst = 0;
    for (const std::string &path : args) {
        int result = CheckFile(path);
        worst = result > worst ? result : worst;
    }
    std::fflush(stdout);
    return worst;
}
