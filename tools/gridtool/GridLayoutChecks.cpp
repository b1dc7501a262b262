// The checks over the whole grid: overlapping quads, undefined quad types,
// too many records of one name or in all, as the loader would lay them out.
#include <algorithm>
#include <cmath>
#include <map>

#include "tools/gridtool/CheckedGrid.h"
#include "tools/gridtool/FieldText.h"

namespace {

const double kFullTurn = 360 * 60;     // minutes of longitude
const double kTolerance = 0.01;        // minutes; touching edges do not overlap
const size_t kMaxLaidQuads = 2000;     // four times the table; bounds the work
const long long kMaxBoxTests = 50000000; // bounds the overlap search on absurd files

// A rectangle in minutes: latitude and longitude ranges, low to high.
struct Box {
    double LatLow, LatHigh, LonLow, LonHigh;
};

// One quad as the loader places it, with its existing cells.
struct LaidQuad {
    size_t Section;
    std::string Name;
    Box Extent;
    std::vector<Box> Cells;
};

Box MakeBox(double lat, double lon, double sizeLat, double sizeLon)
{
    return {std::min(lat, lat + sizeLat), std::max(lat, lat + sizeLat), std::min(lon, lon + sizeLon),
            std::max(lon, lon + sizeLon)};
}

// How deep two boxes reach into each other in latitude and in longitude
// (a whole turn apart or not); a depth at or below kTolerance means none.
struct Depth {
    double Lat, Lon;
};

Depth OverlapDepth(const Box &a, const Box &b)
{
    Depth depth = {std::min(a.LatHigh, b.LatHigh) - std::max(a.LatLow, b.LatLow), 0};
    for (double shift : {-kFullTurn, 0.0, kFullTurn})
        depth.Lon = std::max(depth.Lon, std::min(a.LonHigh, b.LonHigh + shift) - std::max(a.LonLow, b.LonLow + shift));
    return depth;
}

// Whether two boxes share ground, a whole turn of longitude apart or not.
bool Overlap(const Box &a, const Box &b)
{
    Depth depth = OverlapDepth(a, b);
    return depth.Lat > kTolerance && depth.Lon > kTolerance;
}

// Where rows on two latitude series meet, the grid cuts cells that the
// file can only hold whole: such a cell reaches less than a third of a
// cell into its neighbour (KY into GR and JJ, QU into PA).  Deeper
// overlaps are faults.
bool CellsClash(const Box &x, const Box &y)
{
    Depth depth = OverlapDepth(x, y);
    if (depth.Lat <= kTolerance || depth.Lon <= kTolerance)
        return false;
    double height = std::min(x.LatHigh - x.LatLow, y.LatHigh - y.LatLow);
    double width = std::min(x.LonHigh - x.LonLow, y.LonHigh - y.LonLow);
    return depth.Lat * 3 >= height && depth.Lon * 3 >= width;
}

// The existing cells of a quad; a quad without a usable form counts as one
// cell, so that its ground is still checked.
std::vector<Box> CellsOf(const CheckedForm &form, double lat, double lon, double sizeLat, double sizeLon)
{
    int fx = form.FormX, fy = form.FormY;
    if (fx <= 0 || fy <= 0 || form.Numbers.size() != static_cast<size_t>(fx) * fy)
        return {MakeBox(lat, lon, sizeLat, sizeLon)};
    std::vector<Box> cells;
    for (int r = 0; r < fy; ++r)
        for (int c = 0; c < fx; ++c)
            if (form.Numbers[static_cast<size_t>(r * fx + c)] != -1)
                cells.push_back(MakeBox(lat + sizeLat * (fy - 1 - r) / fy, lon + sizeLon * c / fx, sizeLat / fy,
                                        sizeLon / fx));
    return cells;
}

// Lays out every section's quads row by row from its DownLeftPos corner.
std::vector<LaidQuad> LayOut(const CheckedGrid &grid)
{
    std::vector<LaidQuad> quads;
    for (size_t i = 0; i < grid.Sections.size(); ++i) {
        const CheckedSection &s = grid.Sections[i];
        if (s.NrOfQuadsX <= 0 || s.NrOfQuadsY <= 0 || s.Quadtype < 0 || s.Quadtype >= kMaxQuadTypes)
            continue;
        double sizeLon = (s.UpRightLon - s.DownLeftLon) / s.NrOfQuadsX;
        double sizeLat = (s.UpRightLat - s.DownLeftLat) / s.NrOfQuadsY;
        for (int j = 0; j < s.NrOfQuadsY; ++j)
            for (int k = 0; k < s.NrOfQuadsX && quads.size() < kMaxLaidQuads; ++k) {
                size_t slot = static_cast<size_t>(s.NrOfQuadsX * j + k);
                double lat = s.DownLeftLat + j * sizeLat, lon = s.DownLeftLon + k * sizeLon;
                quads.push_back({i, slot < s.Names.size() ? s.Names[slot] : std::string(),
                                 MakeBox(lat, lon, sizeLat, sizeLon),
                                 CellsOf(grid.Forms[s.Quadtype], lat, lon, sizeLat, sizeLon)});
            }
    }
    return quads;
}

// Whether any existing cell of one quad covers ground of the other's;
// budget counts down the box tests made.
bool CellsOverlap(const LaidQuad &a, const LaidQuad &b, long long &budget)
{
    --budget;
    if (!Overlap(a.Extent, b.Extent))
        return false;
    budget -= static_cast<long long>(a.Cells.size() * b.Cells.size());
    for (const Box &x : a.Cells)
        for (const Box &y : b.Cells)
            if (CellsClash(x, y))
                return true;
    return false;
}

// One report per pair of sections whose quads cover the same ground.
void CheckOverlaps(const CheckedGrid &grid, const std::vector<LaidQuad> &quads, std::vector<CheckProblem> &problems)
{
    std::map<std::pair<size_t, size_t>, bool> reported;
    long long budget = kMaxBoxTests;
    for (size_t b = 0; b < quads.size(); ++b)
        for (size_t a = 0; a < b; ++a) {
            if (budget < 0) {
                problems.push_back({grid.Sections[quads[b].Section].ChartLine,
                                    "too many overlapping quads to check them all; the check stops here"});
                return;
            }
            if (quads[a].Section == quads[b].Section)
                continue;
            auto key = std::make_pair(quads[a].Section, quads[b].Section);
            if (reported.count(key) || !CellsOverlap(quads[a], quads[b], budget))
                continue;
            reported[key] = true;
            problems.push_back({grid.Sections[quads[b].Section].ChartLine,
                                "quad " + Shown(quads[b].Name) + " of this section overlaps quad " +
                                    Shown(quads[a].Name) + " of the section on line " +
                                    std::to_string(grid.Sections[quads[a].Section].ChartLine)});
        }
}

// One report per quad type that a section uses and no definition gives.
void CheckUndefinedTypes(const CheckedGrid &grid, std::vector<CheckProblem> &problems)
{
    bool reported[kMaxQuadTypes] = {};
    for (const CheckedSection &s : grid.Sections) {
        if (s.NrOfQuadsX <= 0 || s.NrOfQuadsY <= 0 || s.Quadtype < 0 || s.Quadtype >= kMaxQuadTypes)
            continue;
        const CheckedForm &form = grid.Forms[s.Quadtype];
        if (form.FormX != 0 || form.FormY != 0 || reported[s.Quadtype])
            continue;
        reported[s.Quadtype] = true;
        problems.push_back({s.QuadtypeLine ? s.QuadtypeLine : s.ChartLine,
                            "quad type " + std::to_string(s.Quadtype) +
                                " is used here but never defined after QuadDefinitions"});
    }
}

// The record table's limits: 500 quads in all, 20 records of one name.
void CheckRecordLimits(const CheckedGrid &grid, const std::vector<LaidQuad> &quads,
                       std::vector<CheckProblem> &problems)
{
    std::map<std::string, int> sameName;
    for (size_t i = 0; i < quads.size(); ++i) {
        int line = grid.Sections[quads[i].Section].ChartLine;
        if (i == static_cast<size_t>(kMaxQuadRecords))
            problems.push_back({line, "this section brings the quads to more than " +
                                          std::to_string(kMaxQuadRecords) + ", the size of the record table"});
        if (++sameName[quads[i].Name] == kMaxSameName + 1)
            problems.push_back({line, "quad name " + Shown(quads[i].Name) + " is carried by more than " +
                                          std::to_string(kMaxSameName) + " quad records"});
    }
}

} // namespace

// Runs the whole-grid checks in turn.
void CheckGridLayout(const CheckedGrid &grid, bool definitionsRead, std::vector<CheckProblem> &problems)
{
    std::vector<LaidQuad> quads = LayOut(grid);
    CheckRecordLimits(grid, quads, problems);
    if (definitionsRead)
        CheckUndefinedTypes(grid, problems);
    CheckOverlaps(grid, quads, problems);
}
