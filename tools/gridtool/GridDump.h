// What the program holds after a load, as text or as one JSON object: the
// body of gridtool dump, which the fuzz targets run on hostile files too.
#ifndef ORVANTA_TOOLS_GRIDTOOL_GRIDDUMP_H
#define ORVANTA_TOOLS_GRIDTOOL_GRIDDUMP_H

#include <cstdio>

#include "data/GridDatabase.h"

// Writes the load status, the About text, every quad record and every
// defined form to out.  Whatever a faulty load left in the tables, no more
// cells are read than a form's table holds, and a value that is not finite
// is JSON's null (the text form writes it as inf or nan).
void WriteGridDump(const GridDatabase &db, bool json, std::FILE *out);

#endif
