// gridtool scramble / unscramble: XOR a whole file with the cyclic key.
// scramble first reviews the text as check does and packs only a clean one.
#include <cstdio>

#include "data/ScrambledReader.h"
#include "tools/common/AtomicFile.h"
#include "tools/common/DataFileText.h"
#include "tools/gridtool/DataFileReview.h"
#include "tools/gridtool/GridtoolCommands.h"

namespace {

// Applies the key from file offset 0 to IN's bytes and writes OUT atomically.
int WriteScrambled(const std::string &out, std::vector<unsigned char> &bytes)
{
    std::string error;
    ScrambleBytes(bytes.data(), bytes.size(), 0);
    if (!WriteFileAtomically(out, bytes, error)) {
        if (!error.empty())
            std::fprintf(stderr, "gridtool: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

// Reads IN; false (with the cause on standard error) when it cannot be read.
bool ReadInput(const std::string &path, std::vector<unsigned char> &bytes)
{
    std::string error;
    if (ReadWholeFile(path, bytes, error))
        return true;
    std::fprintf(stderr, "gridtool: %s\n", error.c_str());
    return false;
}

} // namespace

// gridtool scramble [--force] IN OUT: refuses a text that check rejects,
// or one that is scrambled already, unless forced.
int RunScrambleCommand(const Arguments &args)
{
    bool force = !args.empty() && args[0] == "--force";
    if (args.size() != (force ? 3u : 2u)) {
        std::fputs("gridtool: scramble takes [--force] IN OUT; try 'gridtool --help'\n", stderr);
        return 2;
    }
    const std::string &in = args[force ? 1 : 0], &out = args[force ? 2 : 1];
    std::vector<unsigned char> bytes;
    if (!ReadInput(in, bytes))
        return 1;
    if (!force) {
        DataFileReview review = ReviewDataFile(bytes);
        if (review.Text.WasScrambled && review.Text.Recognised) {
            std::fprintf(stderr, "gridtool: %s is scrambled already; scrambling it again gives back its plain text "
                                 "(use unscramble for that, or --force)\n", in.c_str());
            return 1;
        }
        if (!review.Problems.empty()) {
            std::fprintf(stderr, "gridtool: %s has %zu problem%s ('gridtool check %s' lists them); %s not written "
                                 "(--force packs it anyway)\n", in.c_str(), review.Problems.size(),
                         review.Problems.size() == 1 ? "" : "s", in.c_str(), out.c_str());
            return 1;
        }
    }
    return WriteScrambled(out, bytes);
}

// gridtool unscramble [--force] IN OUT: the same key, undoing scramble;
// refuses a plain data text, which the key would scramble, unless forced.
int RunUnscrambleCommand(const Arguments &args)
{
    bool force = !args.empty() && args[0] == "--force";
    if (args.size() != (force ? 3u : 2u)) {
        std::fputs("gridtool: unscramble takes [--force] IN OUT; try 'gridtool --help'\n", stderr);
        return 2;
    }
    const std::string &in = args[force ? 1 : 0], &out = args[force ? 2 : 1];
    std::vector<unsigned char> bytes;
    if (!ReadInput(in, bytes))
        return 1;
    DataFileText text = DecodeDataFile(bytes);
    if (!force && text.Recognised && !text.WasScrambled) {
        std::fprintf(stderr, "gridtool: %s is a plain data text already; unscrambling it would scramble it "
                             "(use scramble for that, or --force)\n", in.c_str());
        return 1;
    }
    return WriteScrambled(out, bytes);
}
