// The quad records ordered by name.
#include "data/QuadNameIndex.h"

#include <algorithm>

// QuadCount, kept inside the table.
int SearchableRecords(const GridDatabase &db)
{
    int count = db.QuadCount;
    return count < 0 ? 0 : count < int{kMaxQuadRecords} ? count : int{kMaxQuadRecords};
}

// Two bytes of the name in one number; the byte after a terminator is
// never read, so "A" has the same key in every slot that holds it.
int NameKey(const char *name)
{
    unsigned char first = static_cast<unsigned char>(name[0]);
    if (first == 0)
        return 0;
    unsigned char second = static_cast<unsigned char>(name[1]);
    if (second == 0)
        return first;
    return name[2] == '\0' ? first | second << 8 : -1;
}

// Sorts the records by (key, number): a lookup then finds the records of
// one name together and in table order, among those of its second byte.
void IndexQuadNames(GridDatabase &db)
{
    int records = SearchableRecords(db);
    for (int j = 0; j < records; ++j)
        db.ByName[j] = {NameKey(db.Quads[j].QuadName), static_cast<int16_t>(j)};
    std::sort(db.ByName, db.ByName + records, [](const NameIndexEntry &a, const NameIndexEntry &b) {
        return a.Key != b.Key ? a.Key < b.Key : a.Record < b.Record;
    });
    db.NameIndexCount = static_cast<int16_t>(records);
    int entry = 0;
    for (int b = 0; b <= 256; ++b) {
        while (entry < records && db.ByName[entry].Key >> 8 < b)
            ++entry;
        db.ByNameFrom[b] = static_cast<int16_t>(entry);
    }
}

bool HasNameIndex(const GridDatabase &db)
{
    return db.NameIndexCount == SearchableRecords(db) && db.NameIndexCount > 0;
}
