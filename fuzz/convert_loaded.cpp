// Fuzz target: a data file and a code together.  The input is the typed
// code, a NUL byte and the plain text of a data file (scrambled by the
// harness).  When the file loads with status 0, the code is converted, and
// so is one code built for each of the first quads (its name, the first
// cell of its form, the small square 55), so that hostile geometry reaches
// the position computation and the texts.
#include <string>

#include "FuzzSupport.h"

namespace {

const int kBuiltCodes = 8;

} // namespace

// One input: code, NUL, plain data text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string typed;
    if (!LoadCodeAndData(data, size, typed))
        return 0;
    ConvertAndCheck(typed.c_str());
    char code[16];
    for (int i = 0; i < Grid.QuadCount && i < kBuiltCodes; ++i)
        if (BuildQuadCode(Grid, i, code))
            ConvertAndCheck(code);
    return 0;
}
