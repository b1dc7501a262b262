// The index of the quad records by name, which the code lookup searches
// instead of walking the whole table.
#ifndef ORVANTA_DATA_QUADNAMEINDEX_H
#define ORVANTA_DATA_QUADNAMEINDEX_H

#include "data/GridDatabase.h"

// The sort key of a terminated name of at most two characters, read no
// further than its terminator: 0 for the empty name, otherwise its bytes;
// -1 for a text with no terminator among its first kNameSlotSize bytes,
// which names no record.
int NameKey(const char *name);

// The number of records a lookup may read: QuadCount, kept inside the
// table.
int SearchableRecords(const GridDatabase &db);

// Orders the searchable records by name key, equal keys in table order,
// into db.ByName, and marks where each second byte's entries begin.  The
// loader calls it at the end of every load; whoever changes names by hand
// calls it again.  While the number of records differs from the indexed
// one, the lookup walks the table instead.
void IndexQuadNames(GridDatabase &db);

// Whether db.ByName covers exactly the records that a lookup may read.
bool HasNameIndex(const GridDatabase &db);

#endif
