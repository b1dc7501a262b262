// Shared pieces of the fuzz targets: a check that stops the run with a
// message (libFuzzer then keeps the input as a crash), the invariants every
// load must keep, loading plain texts, and the Convert flow on one code.
#ifndef ORVANTA_FUZZ_FUZZSUPPORT_H
#define ORVANTA_FUZZ_FUZZSUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "data/GridDatabase.h"

[[noreturn]] void FuzzCheckFailed(const char *condition, const char *file, int line);

#define FUZZ_CHECK(condition)                                      \
    do {                                                           \
        if (!(condition))                                          \
            FuzzCheckFailed(#condition, __FILE__, __LINE__);       \
    } while (0)

// Checks what any load must leave, whatever the bytes: a known status,
// counts inside their tables, terminated texts, valid quad types, and for
// a load that read its forms, forms that fit their table and no name held
// by more records than a lookup can list.
void CheckLoadedDatabase(const GridDatabase &db, int16_t status);

// Resets db, scrambles the plain bytes as a data file holds them, loads
// them and stores the status in db.LoadStatus.
int16_t LoadPlainBytes(const uint8_t *data, size_t size, GridDatabase &db);

// Loads a plain fixture of fuzz/fixtures into db; stops the run when the
// file is missing or does not load with status 0.
void LoadPlainFixture(const char *name, GridDatabase &db);

// Splits an input "typed code, NUL, plain data text", loads the text into
// the global Grid and checks the load; true when it loaded with status 0.
bool LoadCodeAndData(const uint8_t *data, size_t size, std::string &typed);

// Whether the text is exactly one strict JSON value (no NaN or Infinity).
bool IsStrictJson(const char *text, size_t size);

// A code that names the quad's first form cell and its small square 55,
// when that cell has a two-digit number.
bool BuildQuadCode(const GridDatabase &db, int quadIndex, char code[16]);

// Runs the main dialog's Convert flow for one typed code over the global
// database and checks the lookup and position results.
void ConvertAndCheck(const char *code);

#endif
