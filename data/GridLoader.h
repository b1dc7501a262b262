// The loader of GridData.bin: parses the chart sections and the quad-form
// definitions of the plain keyword text into the grid database.
#ifndef ORVANTA_DATA_GRIDLOADER_H
#define ORVANTA_DATA_GRIDLOADER_H

#include <cstddef>
#include <cstdint>

#include "data/GridDatabase.h"

// Loads the named scrambled file into db and returns the load status
// (kLoadNotFound also for a folder or a file that gives a read error):
// kLoadNotFound, kLoadOk, kLoadCountMismatch, kLoadNoDefinitions or
// kLoadBeyondLimits.  The caller stores the status in db.LoadStatus.
int16_t LoadGridData(const char *fileName, GridDatabase &db = Grid);

// The same load from a block of scrambled bytes already in memory.
int16_t LoadGridDataFromMemory(const unsigned char *data, size_t size, GridDatabase &db);

#endif
