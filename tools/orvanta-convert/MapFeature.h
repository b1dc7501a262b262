// One feature of the map outputs: a position (or none) with its properties
// in order, as the GeoJSON, KML and GPX writers take it.
#ifndef ORVANTA_TOOLS_MAPFEATURE_H
#define ORVANTA_TOOLS_MAPFEATURE_H

#include <string>
#include <utility>
#include <vector>

#include "convert/ConvertCode.h"

struct MapFeature {
    std::string Name;           // the code, UTF-8
    bool HasPosition = false;   // false: a row whose code failed
    double Latitude = 0;        // minutes north
    double Longitude = 0;       // minutes west, within one turn (-180 to 180 degrees)
    bool HasBox = false;        // drawn as its square instead of its centre
    GridBox Box{0, 0, 0, 0};    // minutes as Latitude and Longitude
    std::vector<std::pair<std::string, std::string>> Properties; // UTF-8 names and values

    // Adds a property; a name already there gets a number (_2, _3, ...).
    void Add(const std::string &name, const std::string &value);
};

// The feature of a converted code: its name and the centre of its small
// square (with square, also the square itself); without a position when
// the code failed or the data file puts the square off the globe.
MapFeature CodeFeature(const ConversionResult &result, bool square = false);

// The chart number of a converted code's quad record; 0 for a failed code.
int ChartOf(const ConversionResult &result);

// What the chart number says of a square: "confirmed" for Chart 1 (the
// squares checked against published positions), "reconstructed" otherwise;
// empty for a failed code.
const char *ChartMeaning(const ConversionResult &result);

// Half the side of the code's square in nautical miles (minutes of
// latitude), two decimals; empty for a failed code.
std::string PrecisionNm(const ConversionResult &result);

#endif
