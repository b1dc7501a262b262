// The quad records that carry a code's letters.
#include "convert/GridLookup.h"
#include "data/GridDatabase.h"
#include "data/QuadNameIndex.h"

int16_t MatchList[kMaxMatches];
int16_t MatchCount;

namespace {

// Compares the letters with a name slot as terminated byte strings; a slot
// without a terminator equals nothing.
bool NameEquals(const char *letters, const char (&name)[kNameSlotSize])
{
    for (int i = 0; i < kNameSlotSize; ++i) {
        if (letters[i] != name[i])
            return false;
        if (letters[i] == '\0')
            return true;
    }
    return false;
}

// Walks the whole table in order.
int16_t FindByWalking(const char *letters, const GridDatabase &db)
{
    int16_t count = 0;
    int records = SearchableRecords(db);
    for (int j = 0; j < records && count < kMaxMatches; ++j)
        if (NameEquals(letters, db.Quads[j].QuadName))
            MatchList[count++] = static_cast<int16_t>(j);
    return count;
}

// Finds the first entry of the name's key among those of its second byte
// by halving, then takes the entries of that key, which are in table order.
int16_t FindInIndex(const char *letters, const GridDatabase &db)
{
    int key = NameKey(letters);
    if (key < 0)
        return 0;
    const NameIndexEntry *entries = db.ByName;
    int records = db.NameIndexCount;
    int from = db.ByNameFrom[key >> 8], to = db.ByNameFrom[(key >> 8) + 1];
    if (from < 0 || to > records || from >= to)
        return 0;
    // Halves the entries of the second byte without a branch on the
    // comparison (a select instead), which the processor could not foretell.
    const NameIndexEntry *base = entries + from;
    for (int n = to - from; n > 1; n -= n / 2)
        base = base[n / 2].Key < key ? base + n / 2 : base;
    int low = static_cast<int>(base - entries) + (base->Key < key ? 1 : 0);
    int16_t count = 0;
    for (int i = low; i < records && count < kMaxMatches && entries[i].Key == key; ++i) {
        int16_t record = entries[i].Record;
        if (record >= 0 && record < records && NameEquals(letters, db.Quads[record].QuadName))
            MatchList[count++] = record;
    }
    return count;
}

} // namespace

// Collects the matching records in table order, keeping the first
// kMaxMatches of them whatever the data holds: through the name index when
// it covers the table, else by walking it.
int16_t FindQuadsByName(const char *letters, const GridDatabase &db)
{
    return HasNameIndex(db) ? FindInIndex(letters, db) : FindByWalking(letters, db);
}
