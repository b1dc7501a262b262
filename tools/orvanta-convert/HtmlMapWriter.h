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

#include "data/GridDatabase.h"
#include "tools/orvanta-convert/MapFeature.h"

class HtmlMapWriter : public FeatureSink {
public:
    // The grids' large squares become the overlay layer.
    HtmlMapWriter(std::FILE *out, const GridDatabase &grid) : Out(out), Grids{&grid} {}
    HtmlMapWriter(std::FILE *out, std::vector<const GridDatabase *> grids) : Out(out), Grids(std::move(grids)) {}

    // Writes the library, the coastline and the large squares.
    void Begin(const std::string &title);

    // Writes one feature; a point or ring off the globe (a value that is
    // not finite, a latitude past a pole) is shown as having no position.
    // The page lists every feature, so this is always true.
    bool Add(const MapFeature &feature) override;

    // Writes the script that draws the page.
    void End();

private:
    std::FILE *Out;
    std::vector<const GridDatabase *> Grids;
    bool First = true;
};

#endif
