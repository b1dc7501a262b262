// The batch and GIS options of orvanta-convert: --csv, --header,
// --delimiter, --shape, --reverse and the formats geojson, kml, gpx, html
// and csv.  They are taken out of the command line before the basic
// options are read.
#ifndef ORVANTA_TOOLS_RESEARCHOPTIONS_H
#define ORVANTA_TOOLS_RESEARCHOPTIONS_H

#include <string>
#include <vector>

enum class PointFormat { None, GeoJson, Kml, Gpx, Html };

struct ResearchOptions {
    bool Csv = false;
    std::string CsvColumn;      // a 1-based number, or a header name with --header
    bool Header = false;
    char Delimiter = 0;         // 0: found from the first line
    bool Reverse = false;       // the arguments (or input lines) are positions
    PointFormat Points = PointFormat::None;
    bool CsvFormat = false;     // --format csv, the same as none with --csv
    bool Squares = false;       // --shape square: each code's square, not its centre

    // Whether any of these options was given.
    bool Any() const { return Csv || Header || Reverse || Points != PointFormat::None || Delimiter || Squares; }
};

// The lines these options add to --help.
extern const char kResearchUsage[];

// Removes these options (and a --format geojson|kml|gpx|html) from args, leaving
// the rest for the basic parser; false with a reason on a misuse.
bool ExtractResearchOptions(std::vector<std::string> &args, ResearchOptions &options, std::string &error);

#endif
