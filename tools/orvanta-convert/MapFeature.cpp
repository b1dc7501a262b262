// Features of the map outputs.
#include "tools/orvanta-convert/MapFeature.h"

#include <cmath>

#include "convert/DecimalFormat.h"
#include "convert/Position.h"
#include "tools/common/MapLongitude.h"
#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/ResultFormat.h"

namespace {

const double kPoleMinutes = 5400;

} // namespace

// Numbers the name until it is new, going on from the number the same name
// reached last time; names set in Properties directly are taken in first.
void MapFeature::Add(const std::string &name, const std::string &value, Kind kind)
{
    for (; Indexed < Properties.size(); ++Indexed)
        Taken.insert(Properties[Indexed].first);
    std::string unique = name;
    if (Taken.count(unique)) {
        int &n = NextNumber.emplace(name, 2).first->second;
        do
            unique = name + "_" + std::to_string(n++);
        while (Taken.count(unique));
    }
    Taken.insert(unique);
    Kinds.resize(Properties.size(), Kind::Text);
    Kinds.push_back(kind);
    Properties.emplace_back(unique, value);
}

// The centre must be on the globe; a square whose box is not (which only a
// hostile data file gives) leaves the centre.
MapFeature CodePlace(const ConversionResult &result, bool square)
{
    MapFeature feature;
    feature.Name = ResultCodeText(result);
    double lat = result.Position.Latitude, lon = 0;
    if (result.Status != ConvertStatus::Converted || !(std::fabs(lat) <= kPoleMinutes) ||
        !LongitudeDegreesEast(result.Position.Longitude, lon))
        return feature;
    feature.Geometry = MapFeature::Shape::Point;
    feature.Point = {lon, lat / 60};
    if (square) {
        const GridBounds &box = result.Bounds;
        feature.Rings = BoxRings(box.South, box.North, box.West, box.East);
        if (!feature.Rings.empty())
            feature.Geometry = MapFeature::Shape::Area;
    }
    return feature;
}

MapFeature CodeFeature(const ConversionResult &result, bool square)
{
    MapFeature feature = CodePlace(result, square);
    feature.Properties.reserve(8);
    feature.Add("code", feature.Name);
    if (result.Status != ConvertStatus::Converted) {
        feature.Add("message", ConvertMessage(result));
        return feature;
    }
    feature.Add("latitude", DecimalDegreesText(result.Position.Latitude, false), MapFeature::Kind::Real);
    feature.Add("longitude", DecimalDegreesText(result.Position.Longitude, true), MapFeature::Kind::Real);
    feature.Add("latitude_text", Cp1252ToUtf8(result.LatitudeText));
    feature.Add("longitude_text", Cp1252ToUtf8(result.LongitudeText));
    feature.Add("chart", std::to_string(ChartOf(result)), MapFeature::Kind::Integer);
    feature.Add("confidence", ChartMeaning(result));
    feature.Add("precision_nm", PrecisionNm(result), MapFeature::Kind::Real);
    return feature;
}

int ChartOf(const ConversionResult &result)
{
    return result.Status == ConvertStatus::Converted ? result.Chart : 0;
}

const char *ChartMeaning(const ConversionResult &result)
{
    int chart = ChartOf(result);
    return chart == 0 ? "" : chart == 1 ? "confirmed" : "reconstructed";
}

std::string PrecisionNm(const ConversionResult &result)
{
    if (result.Status != ConvertStatus::Converted)
        return "";
    char text[kPositionTextSize];
    FormatFixedHalfEven((result.Bounds.North - result.Bounds.South) / 2, 2, text, sizeof text);
    return text;
}
