// The map page: one self-contained HTML file that shows features over a
// coastline and the grid's large squares in any browser, with no network.
// The map library, its style sheet and the coastline are built into the
// tool; features are written one at a time, so the input can be any size.
#ifndef ORVANTA_TOOLS_HTMLMAPWRITER_H
#define ORVANTA_TOOLS_HTMLMAPWRITER_H

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "convert/ConvertCode.h"
#include "data/GridDatabase.h"
#include "tools/common/MapGeometry.h"

// One thing to show: a point, an area or nothing (an input without a
// position, listed beside the map), with its properties in the order the
// pop-up lists them.
struct MapFeature {
    enum class Shape { None, Point, Area };
    Shape Geometry = Shape::None;
    LonLat Point{0, 0};                      // Shape::Point
    std::vector<std::vector<LonLat>> Rings;  // Shape::Area: closed outer rings, each a polygon of its own
    std::vector<std::pair<std::string, std::string>> Properties; // UTF-8 names and values
};

class HtmlMapWriter {
public:
    // The grids' large squares become the overlay layer.
    HtmlMapWriter(std::FILE *out, const GridDatabase &grid) : Out(out), Grids{&grid} {}
    HtmlMapWriter(std::FILE *out, std::vector<const GridDatabase *> grids) : Out(out), Grids(std::move(grids)) {}

    // Writes the library, the coastline and the large squares.
    void Begin(const std::string &title);

    // Writes one feature; a point or ring off the globe (a value that is
    // not finite, a latitude past a pole) is shown as having no position.
    void Add(const MapFeature &feature);

    // Writes the script that draws the page.
    void End();

private:
    std::FILE *Out;
    std::vector<const GridDatabase *> Grids;
    bool First = true;
};

// A code's feature: the centre of its small square with the code and the
// program's latitude and longitude texts, or, for a code that failed, no
// position with the code and the program's message.
MapFeature CodeFeature(const ConversionResult &result);

#endif
