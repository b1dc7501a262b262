// The quad records that carry a code's letters.
#include "convert/GridLookup.h"
#include "data/GridDatabase.h"

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

} // namespace

// Collects the matching records in table order, keeping the first
// kMaxMatches of them whatever the data holds.
int16_t FindQuadsByName(const char *letters, const GridDatabase &db)
{
    int16_t count = 0;
    int records = db.QuadCount < int{kMaxQuadRecords} ? int{db.QuadCount} : int{kMaxQuadRecords};
    for (int j = 0; j < records && count < kMaxMatches; ++j)
        if (NameEquals(letters, db.Quads[j].QuadName))
            MatchList[count++] = static_cast<int16_t>(j);
    return count;
}
