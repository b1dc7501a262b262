// Fuzz target: gridtool dump, as text and as JSON, of any plain data text
// (scrambled by the harness), whatever status its load ends with.  The
// JSON must be strict JSON, and neither form may read past a table (the
// sanitizers watch that).
#include <cstdio>
#include <cstdlib>

#include "FuzzSupport.h"
#include "tools/gridtool/GridDump.h"

namespace {

GridDatabase db;
std::FILE *sink = nullptr;

} // namespace

// One input: the plain text of a data file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    int16_t status = LoadPlainBytes(data, size, db);
    CheckLoadedDatabase(db, status);
    if (!sink)
        sink = std::fopen("/dev/null", "w");
    FUZZ_CHECK(sink != nullptr);
    WriteGridDump(db, false, sink);

    char *json = nullptr;
    size_t jsonSize = 0;
    std::FILE *out = open_memstream(&json, &jsonSize);
    FUZZ_CHECK(out != nullptr);
    WriteGridDump(db, true, out);
    std::fclose(out);
    FUZZ_CHECK(IsStrictJson(json, jsonSize));
    std::free(json);
    return 0;
}
