// The grid database: everything the program knows about the MQK grid.
//
// Fixed tables in static storage, filled once by the loader and read by the
// code lookup, the position computation, the grid view and the About box.
// Positions are minutes of arc held as single-precision floats, latitude
// positive north, longitude positive west.
#ifndef ORVANTA_DATA_GRIDDATABASE_H
#define ORVANTA_DATA_GRIDDATABASE_H

#include <cstdint>

// Sizes of the tables and of the loader's buffers.
enum : int {
    kMaxQuadRecords = 500,   // quad records in all chart sections together
    kMaxQuadTypes = 100,     // quad types 0 to 99
    kMaxFormCells = 140,     // FormX x FormY
    kMaxSectionNames = 300,  // names (and quads) of one chart section
    kMaxSameName = 20,       // quad records sharing one name
    kNameSlotSize = 3,       // two characters and the terminator
    kWordBufferSize = 100,   // one keyword-position word and its terminator
    kAboutTextSize = 400,    // the About line with its line end
    kFieldBufferSize = 12,   // one numeric field and its terminator
};

// Results of the load.
enum : int16_t {
    kLoadNotFound = -1,      // the file cannot be opened
    kLoadOk = 0,
    kLoadCountMismatch = 1,  // a section's quad count differs from its names
    kLoadNoDefinitions = 2,  // the sections are not followed by QuadDefinitions
    kLoadBeyondLimits = 3,   // the file would overflow a table or a buffer
};

// One large square placed on a chart.
struct QuadRecord {
    char QuadName[kNameSlotSize];
    int16_t Chart;
    float DownLeftLat;
    float DownLeftLon;
    float SizeLon;
    float SizeLat;
    int16_t Quadtype;
};

// The cell layout of one quad type: Numbers is row-major, top row first,
// -1 where the quad has no cell.
struct QuadForm {
    int16_t FormX;
    int16_t FormY;
    int8_t Numbers[kMaxFormCells];
};

// One entry of the name index: a record and the key of its name.
struct NameIndexEntry {
    int32_t Key;
    int16_t Record;
};

struct GridDatabase {
    QuadRecord Quads[kMaxQuadRecords];
    QuadForm Forms[kMaxQuadTypes];
    int16_t QuadCount;
    int16_t LoadStatus;
    char AboutText[kAboutTextSize];
    // The first NameIndexCount records ordered by name, equal names in
    // table order (see data/QuadNameIndex.h); every load rebuilds it.
    NameIndexEntry ByName[kMaxQuadRecords];
    int16_t NameIndexCount;
    // Where the entries of each second name byte begin in ByName: those
    // whose key's high byte is b stand from ByNameFrom[b] up to
    // ByNameFrom[b + 1]; the entries of names without a terminator before.
    int16_t ByNameFrom[257];
};

// The program's one database.
extern GridDatabase Grid;

// Puts the database back into its start-of-run state: zero tables and the
// About text "DataFile ERROR".  Tools and tests call it before each load.
void ResetGridDatabase(GridDatabase &db);

#endif
