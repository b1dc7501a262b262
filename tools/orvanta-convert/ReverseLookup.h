// From a position back to grid codes: every quad record whose existing
// cell holds the position gives the code of the small square there.
#ifndef ORVANTA_TOOLS_REVERSELOOKUP_H
#define ORVANTA_TOOLS_REVERSELOOKUP_H

#include <cstdint>
#include <string>
#include <vector>

#include "data/GridDatabase.h"

// One code found for a position, with the record it came from.
struct ReverseMatch {
    std::string Code;   // letters and two digit pairs, Windows-1252
    int16_t QuadIndex;  // the quad record whose cell holds the position
};

// The codes of the small squares that hold the position (minutes, latitude
// north, longitude west), one per matching quad record in table order; a
// small square holds its south-west edges, not its north-east ones.
std::vector<ReverseMatch> ReverseLookup(const GridDatabase &db, double latitude, double longitude);

// Reads a latitude or longitude given as signed decimal degrees (north and
// east positive) or as the program's text ("55°7.50 N", "21°7.25 W", the
// degree sign in UTF-8 or Windows-1252, or a blank in its place); false
// when the text is neither or names the other axis.  minutes gets the
// value the program's way: latitude north, longitude west positive.
bool ParseCoordinate(const std::string &text, bool isLatitude, double &minutes);

#endif
