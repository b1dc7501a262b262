// Runs orvanta-convert's batch, map and reverse modes once the data file
// is loaded.
#ifndef ORVANTA_TOOLS_RESEARCHRUN_H
#define ORVANTA_TOOLS_RESEARCHRUN_H

#include "tools/orvanta-convert/ConvertOptions.h"
#include "tools/orvanta-convert/ResearchOptions.h"

// Returns the exit status: 0 all converted (or a position inside the grid),
// 1 some code failed (or a position outside it), 2 misuse or unreadable input.
int RunResearch(const ResearchOptions &research, const ConvertOptions &options);

#endif
