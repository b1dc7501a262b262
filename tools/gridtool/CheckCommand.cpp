// gridtool check FILE...: reports every fault of a data file (plain or
// scrambled) as FILE:LINE: message, and confirms the result with the
// program's own loader.
#include <cstdio>

#include "tools/common/AtomicFile.h"
#include "tools/common/OutputCheck.h"
#include "tools/gridtool/DataFileReview.h"
#include "tools/gridtool/GridtoolCommands.h"

namespace {

// Checks one file; returns 0 clean, 1 faulty, 2 unreadable.
int CheckFile(const std::string &path)
{
    std::vector<unsigned char> bytes;
    std::string error;
    if (!ReadWholeFile(path, bytes, error)) {
        std::fprintf(stderr, "gridtool: %s\n", error.c_str());
        return 2;
    }
    DataFileReview review = ReviewDataFile(bytes);
    for (const CheckProblem &p : review.Problems)
        std::printf("%s:%d: %s\n", path.c_str(), p.Line, p.Message.c_str());
    if (!review.Problems.empty()) {
        std::printf("%s: %zu problem%s; the loader's status is %d\n", path.c_str(), review.Problems.size(),
                    review.Problems.size() == 1 ? "" : "s", review.LoadStatus);
        return 1;
    }
    std::printf("%s: ok (%s), %d sections, %d quads, %d quad forms\n", path.c_str(),
                review.Text.WasScrambled ? "scrambled" : "plain text", review.Summary.Sections, review.Summary.Quads,
                review.Summary.Forms);
    return 0;
}

} // namespace

// Checks each file in turn; the exit status is the worst of them, or 2
// once the report cannot be written.
int RunCheckCommand(const Arguments &args)
{
    if (args.empty() || args[0][0] == '-') {
        std::fputs("gridtool: check takes one FILE or more; try 'gridtool --help'\n", stderr);
        return 2;
    }
    int worst = 0;
    for (const std::string &path : args) {
        int result = CheckFile(path);
        worst = result > worst ? result : worst;
        if (OutputFailed())
            break;
    }
    return OutputComplete("gridtool") ? worst : 2;
}
