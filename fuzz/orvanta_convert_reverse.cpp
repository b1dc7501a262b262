// Fuzz target: orvanta-convert --reverse over the fixture database.  The
// input is a latitude text and a longitude text separated by a TAB.  When
// both read as coordinates, every code that the reverse lookup gives for
// the position must convert back, and its quad must be one of the records
// of that name.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "convert/ConvertCode.h"
#include "tools/orvanta-convert/ReverseLookup.h"

// Loads the fixture into the program's database once.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    LoadPlainFixture("lookup-grid.txt", Grid);
    return 0;
}

// One input: latitude TAB longitude.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string input(reinterpret_cast<const char *>(data), size);
    size_t tab = input.find('\t');
    if (tab == std::string::npos)
        return 0;
    double latitude = 0, longitude = 0;
    if (!ParseCoordinate(input.substr(0, tab), true, latitude) ||
        !ParseCoordinate(input.substr(tab + 1), false, longitude))
        return 0;
    FUZZ_CHECK(latitude >= -5400 && latitude <= 5400);
    FUZZ_CHECK(longitude >= -10800 && longitude <= 10800);

    for (const ReverseMatch &match : ReverseLookup(Grid, latitude, longitude)) {
        FUZZ_CHECK(match.QuadIndex >= 0 && match.QuadIndex < Grid.QuadCount);
        const char *name = Grid.Quads[match.QuadIndex].QuadName;
        FUZZ_CHECK(match.Code.compare(0, std::strlen(name), name) == 0);
        FUZZ_CHECK(std::strlen(name) == 2); // no code reaches a shorter name
        ConversionResult back = ConvertCode(match.Code);
        FUZZ_CHECK(back.Status == ConvertStatus::Converted);
        FUZZ_CHECK(std::strcmp(Grid.Quads[back.QuadIndex].QuadName, name) == 0);
    }
    return 0;
}
