// Fuzz target: orvanta-convert --reverse over the fixture database.  The
// input is a latitude text and a longitude text separated by a TAB, or
// without a TAB one position line as the batch mode reads it.  A position
// that reads must lie on the globe, a failure must say why, and every code
// that the reverse lookup gives for the position must convert back, its
// quad one of the records of that name.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "convert/ConvertCode.h"
#include "tools/orvanta-convert/CoordinateText.h"
#include "tools/orvanta-convert/ReverseLookup.h"

// Loads the fixture into the program's database once.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    LoadPlainFixture("lookup-grid.txt", Grid);
    return 0;
}

// Reads the input as two coordinates or as one position line.
bool ReadInput(const std::string &input, double &latitude, double &longitude)
{
    size_t tab = input.find('\t');
    if (tab == std::string::npos) {
        std::string error;
        bool ok = ReadPosition(input, latitude, longitude, error);
        FUZZ_CHECK(ok == error.empty());
        return ok;
    }
    CoordinateReading lat = ReadCoordinate(input.substr(0, tab), true);
    CoordinateReading lon = ReadCoordinate(input.substr(tab + 1), false);
    FUZZ_CHECK(lat.Ok == lat.Error.empty() && lon.Ok == lon.Error.empty());
    latitude = lat.Minutes;
    longitude = lon.Minutes;
    return lat.Ok && lon.Ok;
}

// One input: latitude TAB longitude, or a position line.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string input(reinterpret_cast<const char *>(data), size);
    double latitude = 0, longitude = 0;
    if (!ReadInput(input, latitude, longitude))
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
