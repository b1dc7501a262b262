// Fuzz target: arbitrary typed codes through the code lookup, the position
// computation and the position texts, over a fixture database with repeated
// names, odd and missing forms and quads in every hemisphere.
#include <string>

#include "FuzzSupport.h"

// Loads the fixture into the program's database once.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    LoadPlainFixture("lookup-grid.txt", Grid);
    return 0;
}

// One input: the text as typed, up to its first NUL.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string code(reinterpret_cast<const char *>(data), size);
    ConvertAndCheck(code.c_str());
    return 0;
}
