// The keyword-slot loader of the grid data file.
//
// The loader walks through the file's fixed order of keywords one slot at a
// time.  Each slot reads one word; on a match it reads the keyword's values,
// otherwise the word is dropped and the value it stood for keeps what it
// held (the previous section's or definition's value, 0 at the start).
#include "data/GridLoader.h"

#include <cstdio>
#include <cstring>

#include "data/QuadNameIndex.h"
#include "data/ScrambledReader.h"

namespace {

// One chart section's values; they carry over to the next section.
struct SectionValues {
    int16_t Chart;
    int16_t Quadtype;
    int16_t NrOfQuadsX;
    int16_t NrOfQuadsY;
    float DownLeftLat, DownLeftLon;
    float UpRightLat, UpRightLon;
};

// The loader's working storage for one call.
struct Loader {
    ScrambledReader Reader;
    GridDatabase &Db;
    char Word[kWordBufferSize];
    SectionValues Section;
    char NameList[kMaxSectionNames][kNameSlotSize];
    int NameCount;
    int16_t CountMismatch;
    int RecordCount;
    int16_t FormIndex;
};

bool IsQuadType(int16_t value)
{
    return value >= 0 && value < kMaxQuadTypes;
}

// Reads the next word into the loader's word buffer.
void NextWord(Loader &ld)
{
    ReadWord(ld.Reader, ld.Word);
}

bool WordIs(const Loader &ld, const char *keyword)
{
    return std::strcmp(ld.Word, keyword) == 0;
}

// Reads one keyword slot holding a 16-bit value.
void ReadSlotValue(Loader &ld, const char *keyword, int16_t &value)
{
    NextWord(ld);
    if (WordIs(ld, keyword))
        ReadShortValue(ld.Reader, value);
}

// Reads one keyword slot holding a latitude and a longitude.
void ReadSlotCorner(Loader &ld, const char *keyword, float &lat, float &lon)
{
    NextWord(ld);
    if (WordIs(ld, keyword)) {
        ReadPosition(ld.Reader, lat);
        ReadPosition(ld.Reader, lon);
    }
}

// Gathers the names of every "QuadName" line; T is left on the word after
// them.  Returns false when a section holds more names than the list.
bool ReadSectionNames(Loader &ld)
{
    std::memset(ld.NameList, 0, sizeof ld.NameList);
    ld.NameCount = 0;
    NextWord(ld);
    while (WordIs(ld, "QuadName")) {
        bool more = true;
        while (more) {
            if (ld.NameCount >= kMaxSectionNames)
                return false;
            more = ReadQuadName(ld.Reader, ld.NameList[ld.NameCount]);
            ++ld.NameCount;
            if (ld.Reader.Overflow)
                return false;
        }
        NextWord(ld);
    }
    return true;
}

// Lays the section's quads row by row into the record table, from the
// DownLeftPos corner.  Returns false when the table or the section's name
// list would be exceeded.
bool AddSectionRecords(Loader &ld)
{
    const SectionValues &s = ld.Section;
    if (s.NrOfQuadsX <= 0 || s.NrOfQuadsY <= 0)
        return true;
    int cells = s.NrOfQuadsX * s.NrOfQuadsY;
    if (cells > kMaxSectionNames || ld.RecordCount + cells > kMaxQuadRecords)
        return false;

    float sizeLon = static_cast<float>((static_cast<double>(s.UpRightLon) - s.DownLeftLon) / s.NrOfQuadsX);
    float sizeLat = static_cast<float>((static_cast<double>(s.UpRightLat) - s.DownLeftLat) / s.NrOfQuadsY);
    for (int j = 0; j < s.NrOfQuadsY; ++j) {
        for (int k = 0; k < s.NrOfQuadsX; ++k) {
            QuadRecord &q = ld.Db.Quads[ld.RecordCount++];
            std::memcpy(q.QuadName, ld.NameList[s.NrOfQuadsX * j + k], kNameSlotSize);
            q.Chart = s.Chart;
            q.Quadtype = s.Quadtype;
            float rowOffset = static_cast<float>(j) * sizeLat; // single-precision product
            q.DownLeftLat = s.DownLeftLat + rowOffset;
            q.DownLeftLon = static_cast<float>(static_cast<double>(s.DownLeftLon) + k * static_cast<double>(sizeLon));
            q.SizeLon = sizeLon;
            q.SizeLat = sizeLat;
        }
    }
    return true;
}

// Reads one chart section, starting with the word in the buffer; leaves
// the word after its names in the buffer.  Returns false on data beyond
// the limits of the tables.
bool ReadChartSection(Loader &ld)
{
    SectionValues &s = ld.Section;
    if (WordIs(ld, "Chart"))
        ReadShortValue(ld.Reader, s.Chart);
    ReadSlotValue(ld, "Quadtype", s.Quadtype);
    ReadSlotValue(ld, "NrOfQuadsX", s.NrOfQuadsX);
    ReadSlotValue(ld, "NrOfQuadsY", s.NrOfQuadsY);
    ReadSlotCorner(ld, "DownLeftPos", s.DownLeftLat, s.DownLeftLon);
    ReadSlotCorner(ld, "UpRightPos", s.UpRightLat, s.UpRightLon);
    if (ld.Reader.Overflow || !IsQuadType(s.Quadtype))
        return false;
    if (!ReadSectionNames(ld) || ld.Reader.Overflow)
        return false;
    // Two negative counts multiply to a positive number of quads, which
    // must fit the name list like any other.
    int quads = s.NrOfQuadsX * s.NrOfQuadsY;
    if (quads > kMaxSectionNames)
        return false;
    if (quads != ld.NameCount)
        ld.CountMismatch = kLoadCountMismatch;
    return AddSectionRecords(ld);
}

// Whether any name is carried by more quad records than a lookup can list.
bool TooManySharedNames(const GridDatabase &db)
{
    for (int i = 0; i < db.QuadCount; ++i) {
        int same = 0;
        for (int j = 0; j < db.QuadCount; ++j)
            if (std::strncmp(db.Quads[i].QuadName, db.Quads[j].QuadName, kNameSlotSize) == 0)
                ++same;
        if (same > kMaxSameName)
            return true;
    }
    return false;
}

// Reads one form definition, starting with the word in the buffer; leaves
// the word after it in the buffer.  Returns false on data beyond limits.
bool ReadFormDefinition(Loader &ld)
{
    if (WordIs(ld, "Type")) {
        ReadShortValue(ld.Reader, ld.FormIndex);
        if (!IsQuadType(ld.FormIndex))
            return false;
    }
    QuadForm &form = ld.Db.Forms[ld.FormIndex];
    ReadSlotValue(ld, "FormX", form.FormX);
    ReadSlotValue(ld, "FormY", form.FormY);
    int cells = form.FormX * form.FormY;
    if (ld.Reader.Overflow || cells > kMaxFormCells)
        return false;
    NextWord(ld);
    if (WordIs(ld, "Numbers:"))
        for (int n = 0; n < cells; ++n)
            ReadNumberEntry(ld.Reader, form.Numbers[n]);
    if (ld.Reader.Overflow)
        return false;
    NextWord(ld);
    return !ld.Reader.Overflow;
}

// The whole load over an opened reader.
int16_t Load(Loader &ld)
{
    NextWord(ld);
    if (WordIs(ld, "About")) {
        ReadTextLine(ld.Reader, ld.Db.AboutText);
        NextWord(ld);
    }
    do {
        if (ld.Reader.Overflow || !ReadChartSection(ld)) {
            ld.Db.QuadCount = static_cast<int16_t>(ld.RecordCount);
            return kLoadBeyondLimits;
        }
    } while (WordIs(ld, "Chart"));
    ld.Db.QuadCount = static_cast<int16_t>(ld.RecordCount);
    if (TooManySharedNames(ld.Db))
        return kLoadBeyondLimits;
    if (!WordIs(ld, "QuadDefinitions"))
        return kLoadNoDefinitions;

    NextWord(ld);
    do {
        if (!ReadFormDefinition(ld))
            return kLoadBeyondLimits;
    } while (WordIs(ld, "Type"));
    return ld.CountMismatch;
}

// Loads, then indexes whatever records the load left, whatever its status.
int16_t LoadFromReader(const ScrambledReader &reader, GridDatabase &db)
{
    Loader ld = {reader, db, {}, {}, {}, 0, 0, 0, 0};
    int16_t status = Load(ld);
    IndexQuadNames(db);
    return status;
}

} // namespace

// Opens the file in binary mode and loads it; -1 when it cannot be opened
// or read (a folder opens on some systems but gives a read error).
int16_t LoadGridData(const char *fileName, GridDatabase &db)
{
    std::FILE *file = std::fopen(fileName, "rb");
    if (!file)
        return kLoadNotFound;
    int16_t status = LoadFromReader(MakeFileReader(file), db);
    if (std::ferror(file))
        status = kLoadNotFound;
    std::fclose(file);
    return status;
}

// Loads from scrambled bytes in memory.
int16_t LoadGridDataFromMemory(const unsigned char *data, size_t size, GridDatabase &db)
{
    return LoadFromReader(MakeMemoryReader(data, size), db);
}
