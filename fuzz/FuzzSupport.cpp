// Checks, fixture loading and the Convert flow shared by the fuzz targets.
#include "FuzzSupport.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "data/GridLoader.h"
#include "data/ScrambledReader.h"

// Reports a broken invariant and aborts, so that libFuzzer saves the input.
void FuzzCheckFailed(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "fuzz check failed: %s at %s:%d\n", condition, file, line);
    std::abort();
}

namespace {

bool Terminated(const char *text, size_t size)
{
    return std::memchr(text, '\0', size) != nullptr;
}

// Whether any name is carried by more records than kMaxSameName.
bool NameSharedTooOften(const GridDatabase &db)
{
    for (int i = 0; i < db.QuadCount; ++i) {
        int same = 0;
        for (int j = 0; j < db.QuadCount; ++j)
            same += std::strcmp(db.Quads[i].QuadName, db.Quads[j].QuadName) == 0;
        if (same > kMaxSameName)
            return true;
    }
    return false;
}

bool FormIsUntouched(const QuadForm &form)
{
    static const QuadForm zero = {};
    return std::memcmp(&form, &zero, sizeof form) == 0;
}

} // namespace

// The invariants of a load, whatever its input.
void CheckLoadedDatabase(const GridDatabase &db, int16_t status)
{
    FUZZ_CHECK(status >= kLoadOk && status <= kLoadBeyondLimits);
    FUZZ_CHECK(db.QuadCount >= 0 && db.QuadCount <= kMaxQuadRecords);
    FUZZ_CHECK(Terminated(db.AboutText, sizeof db.AboutText));
    for (int i = 0; i < db.QuadCount; ++i) {
        FUZZ_CHECK(Terminated(db.Quads[i].QuadName, kNameSlotSize));
        FUZZ_CHECK(db.Quads[i].Quadtype >= 0 && db.Quads[i].Quadtype < kMaxQuadTypes);
    }
    if (status == kLoadNoDefinitions)
        for (const QuadForm &form : db.Forms)
            FUZZ_CHECK(FormIsUntouched(form));
    if (status == kLoadOk || status == kLoadCountMismatch) {
        for (const QuadForm &form : db.Forms)
            FUZZ_CHECK(form.FormX * form.FormY <= kMaxFormCells);
        FUZZ_CHECK(!NameSharedTooOften(db));
    }
}

// Scrambles a copy of the plain bytes and loads it into a fresh database.
int16_t LoadPlainBytes(const uint8_t *data, size_t size, GridDatabase &db)
{
    std::vector<unsigned char> bytes(data, data + size);
    ScrambleBytes(bytes.data(), bytes.size(), 0);
    ResetGridDatabase(db);
    db.LoadStatus = LoadGridDataFromMemory(bytes.data(), bytes.size(), db);
    return db.LoadStatus;
}

// Reads a plain fixture text and loads it; any fault ends the run.
void LoadPlainFixture(const char *name, GridDatabase &db)
{
    std::string path = std::string(ORVANTA_FUZZ_FIXTURES) + "/" + name;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
        std::fprintf(stderr, "cannot open the fixture %s\n", path.c_str());
        std::abort();
    }
    std::vector<uint8_t> plain;
    for (int c; (c = std::fgetc(file)) != EOF;)
        plain.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
    int16_t status = LoadPlainBytes(plain.data(), plain.size(), db);
    if (status != kLoadOk) {
        std::fprintf(stderr, "the fixture %s loads with status %d\n", path.c_str(), status);
        std::abort();
    }
}

// The quad's name, the first cell's number and 55.
bool BuildQuadCode(const GridDatabase &db, int quadIndex, char code[16])
{
    const QuadRecord &quad = db.Quads[quadIndex];
    const QuadForm &form = db.Forms[quad.Quadtype];
    if (form.FormX < 1 || form.FormY < 1 || form.Numbers[0] < 10 || form.Numbers[0] > 99)
        return false;
    std::snprintf(code, 16, "%s%d55", quad.QuadName, form.Numbers[0]);
    return true;
}

// The code up to the NUL, the data text after it.
bool LoadCodeAndData(const uint8_t *data, size_t size, std::string &typed)
{
    const uint8_t *nul = static_cast<const uint8_t *>(std::memchr(data, '\0', size));
    if (!nul)
        return false;
    typed.assign(reinterpret_cast<const char *>(data), static_cast<size_t>(nul - data));
    const uint8_t *plain = nul + 1;
    int16_t status = LoadPlainBytes(plain, size - static_cast<size_t>(plain - data), Grid);
    CheckLoadedDatabase(Grid, status);
    return status == kLoadOk;
}
