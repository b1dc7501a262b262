// The map page: one self-contained HTML file that shows features over a
// coastline and the grid's large squares in any browser, with no network.
// The map library, its style sheet and the coastline are built into the
// tool; features are written one at a time, so the input can be any size.
// Names and short values that recur are written once, in tables of
// bounded size after the features, which keeps a page of a million codes
// some tens of megabytes.
#ifndef ORVANTA_TOOLS_HTMLMAPWRITER_H
#define ORVANTA_TOOLS_HTMLMAPWRITER_H

#include <cstdio>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "data/GridDatabase.h"
#include "tools/orvanta-convert/MapFeature.h"

class HtmlMapWriter : public FeatureSink {
public:
    // The grids' large squares become the overlay layer.
    HtmlMapWriter(std::FILE *out, const GridDatabase &grid) : Out(out), Grids{&grid} {}
    HtmlMapWriter(std::FILE *out, std::vector<const GridDatabase *> grids) : Out(out), Grids(std::move(grids)) {}

    // Carries a grid file's bytes as read (before Begin), so that the
    // page's atlas looks codes up in exactly the grids of the run; a page
    // with none, or from a tool built without the atlas, has no search box.
    void AddGridFile(const std::string &name, const std::vector<unsigned char> &bytes);

    // Whether the page gets the atlas's core and lookups.
    bool WithAtlas() const;

    // Writes the library, the coastline and the large squares.
    void Begin(const std::string &title);

    // Writes one feature; a point or ring off the globe (a value that is
    // not finite, a latitude past a pole) is shown as having no position.
    // Beside its properties the page shows the point's texts as the
    // program writes them.
    // The page lists every feature, so this is always true.
    bool Add(const MapFeature &feature) override;

    // Writes the tables and the script that draws the page.
    void End();

    // The bounds of the tables.
    static const size_t kMaxStrings = 1 << 18, kMaxTableText = 64, kMaxSchemaBytes = 1 << 20;

private:
    std::string Value(const std::string &text);
    std::string Schema(const MapFeature &feature);

    std::FILE *Out;
    std::vector<const GridDatabase *> Grids;
    std::string GridFiles;   // [{name, data (base64)}, ...] without the brackets
    bool First = true;
    std::unordered_map<std::string, size_t> Strings;
    std::map<std::vector<std::string>, size_t> Schemas;
    size_t SchemaBytes = 0;
};

#endif
