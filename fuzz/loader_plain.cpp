// Fuzz target: the loader on arbitrary plain text, scrambled by the harness
// as a data file holds it, so that the fuzzer works on keywords and values.
#include "FuzzSupport.h"

namespace {

GridDatabase db;

} // namespace

// One input: scramble, load, check the invariants.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    int16_t status = LoadPlainBytes(data, size, db);
    CheckLoadedDatabase(db, status);
    return 0;
}
