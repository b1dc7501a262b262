// Fuzz target: the loader on arbitrary bytes taken as a scrambled data
// file.  Every load must keep the database invariants, and loading the same
// bytes from a file must give the same status and the same database as
// loading them from memory.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "FuzzSupport.h"
#include "data/GridLoader.h"

namespace {

GridDatabase fromMemory;
GridDatabase fromFile;
int memoryFile = -1;

// Loads the bytes through a file name, as the program does; the file is an
// in-memory file of this process.
int16_t LoadThroughFile(const uint8_t *data, size_t size, GridDatabase &db)
{
    if (memoryFile < 0)
        memoryFile = memfd_create("GridData.bin", 0);
    FUZZ_CHECK(memoryFile >= 0);
    FUZZ_CHECK(ftruncate(memoryFile, 0) == 0);
    FUZZ_CHECK(pwrite(memoryFile, data, size, 0) == static_cast<ssize_t>(size));
    char name[64];
    std::snprintf(name, sizeof name, "/proc/self/fd/%d", memoryFile);
    ResetGridDatabase(db);
    return LoadGridData(name, db);
}

} // namespace

// One input: load it from memory and from a file and compare.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ResetGridDatabase(fromMemory);
    int16_t status = LoadGridDataFromMemory(data, size, fromMemory);
    CheckLoadedDatabase(fromMemory, status);

    int16_t fileStatus = LoadThroughFile(data, size, fromFile);
    FUZZ_CHECK(fileStatus == status);
    FUZZ_CHECK(std::memcmp(&fromFile, &fromMemory, sizeof fromMemory) == 0);
    return 0;
}
