// From a position back to grid codes: every quad record whose existing
// cell holds the position gives the code of the small square there.
#ifndef ORVANTA_TOOLS_REVERSELOOKUP_H
#define ORVANTA_TOOLS_REVERSELOOKUP_H

#include <cstdint>
#include <string>
#include <vector>

#include "convert/ConvertCode.h"
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

// What is wrong when the conversion of a found code takes it to another
// record than the one that holds the position (which only a data file with
// overlapping records of one name gives); empty when it does not.
std::string MatchMismatch(const ReverseMatch &match, const ConversionResult &result);

#endif
