// One feature of the map outputs: a point, an area or nothing (an input
// without a position), with its name and its properties in order.  The
// GeoJSON, KML and GPX writers and the map page all take it.
#ifndef ORVANTA_TOOLS_MAPFEATURE_H
#define ORVANTA_TOOLS_MAPFEATURE_H

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "convert/ConvertCode.h"
#include "tools/common/MapGeometry.h"

struct MapFeature {
    enum class Shape { None, Point, Area };
    Shape Geometry = Shape::None;
    LonLat Point{0, 0};                      // the centre; set for Point and Area
    std::vector<std::vector<LonLat>> Rings;  // Shape::Area: closed outer rings, each a polygon of its own
    std::string Name;                        // the code, UTF-8
    std::vector<std::pair<std::string, std::string>> Properties; // UTF-8 names and values

    // What a property's value is: a text, or a number (empty when there is
    // none), which the formats that have types write as one.
    enum class Kind : unsigned char { Text, Real, Integer };
    std::vector<Kind> Kinds; // of Properties; one past its end is a text

    // Adds a property; a name already there gets a number (_2, _3, ...).
    // Each takes constant time, so that a row of many cells stays linear.
    void Add(const std::string &name, const std::string &value, Kind kind = Kind::Text);

    Kind KindOf(size_t i) const { return i < Kinds.size() ? Kinds[i] : Kind::Text; }

private:
    std::unordered_set<std::string> Taken;             // the names in Properties
    std::unordered_map<std::string, int> NextNumber;   // per name given: the number to try next
    size_t Indexed = 0;                                 // how many of Properties are in Taken
};

// Where features go: a map format's writer.  Add is false for a feature
// the format cannot hold (one without a position in KML or GPX).
class FeatureSink {
public:
    virtual ~FeatureSink() = default;
    virtual bool Add(const MapFeature &feature) = 0;
};

// The place of a code, without properties: its name and the centre of its
// square, or with square the square (small square, cell or large square)
// itself; no position when the code failed or the data file puts the
// square off the globe.
MapFeature CodePlace(const ConversionResult &result, bool square = false);

// The same with the code's properties: code, the program's latitude and
// longitude texts, chart, confidence and precision_nm; for a failed code,
// code and message.
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
