// gridtool scramble / unscramble: XOR a whole file with the cyclic key.
#include <cstdio>

#include "data/ScrambledReader.h"
#include "tools/common/AtomicFile.h"
#include "tools/gridtool/GridtoolCommands.h"

// Reads IN, applies the key from file offset 0 and writes OUT atomically.
int RunScrambleCommand(const Arguments &args)
{
    if (args.size() != 2) {
        std::fputs("usage: gridtool scramble|unscramble IN OUT\n", stderr);
        return 2;
    }
    std::vector<unsigned char> bytes;
    std::string error;
    if (!ReadWholeFile(args[0], bytes, error) ||
        (ScrambleBytes(bytes.data(), bytes.size(), 0), !WriteFileAtomically(args[1], bytes, error))) {
        std::fprintf(stderr, "gridtool: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
