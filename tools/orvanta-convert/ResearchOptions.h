// The batch and GIS options of orvanta-convert: --csv, --header,
// --reverse and the map formats geojson, kml, gpx and html.  They are taken out
// of the command line before the basic options are read.
#ifndef ORVANTA_TOOLS_RESEARCHOPTIONS_H
#define ORVANTA_TOOLS_RESEARCHOPTIONS_H

#include <string>
#include <vector>

enum class PointFormat { None, GeoJson, Kml, Gpx, Html };

struct ResearchOptions {
    bool Csv = false;
    std::string CsvColumn;      // a 1-based number, or a header name with --header
    bool Header = false;
    bool Reverse = false;
    std::string ReverseLat, ReverseLon;
    PointFormat Points = PointFormat::None;

    // Whether any of these options was given.
    bool Any() const { return Csv || Header || Reverse || Points != PointFormat::None; }
};

// The lines these options add to --help.
extern const char kResearchUsage[];

// Removes these options (and a --format geojson|kml|gpx|html) from args, leaving
// the rest for the basic parser; false with a reason on a misuse.
bool ExtractResearchOptions(std::vector<std::string> &args, ResearchOptions &options, std::string &error);

#endif
