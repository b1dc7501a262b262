// Features of the map outputs.
#include "tools/orvanta-convert/MapFeature.h"

#include <cmath>

#include "convert/DecimalFormat.h"
#include "convert/Position.h"
#include "tools/common/TextEncoding.h"

namespace {

const double kPoleMinutes = 5400;

// Longitude in minutes west brought into -180..180 degrees, as map
// formats require; false when it is not finite.
bool WrappedLongitude(double west, double &wrapped)
{
    if (!std::isfinite(west))
        return false;
    wrapped = std::fmod(west, 21600.0);
    if (wrapped > 10800)
        wrapped -= 21600;
    else if (wrapped <= -10800)
        wrapped += 21600;
    return true;
}

} // namespace

// Numbers the name until it is new.
void MapFeature::Add(const std::string &name, const std::string &value)
{
    std::string unique = name;
    for (int n = 2;; ++n) {
        bool taken = false;
        for (const auto &property : Properties)
            taken = taken || property.first == unique;
        if (!taken)
            break;
        unique = name + "_" + std::to_string(n);
    }
    Properties.emplace_back(unique, value);
}

MapFeature CodeFeature(const ConversionResult &result, bool square)
{
    MapFeature feature;
    feature.Name = Cp1252ToUtf8(result.Code);
    double lat = result.Position.Latitude, lon = 0;
    if (result.Status == ConvertStatus::Converted && std::fabs(lat) <= kPoleMinutes &&
        WrappedLongitude(result.Position.Longitude, lon)) {
        feature.HasPosition = true;
        feature.Latitude = lat;
        feature.Longitude = lon;
        const GridBox &box = result.Extent;
        feature.HasBox = square && WrappedLongitude(box.West, feature.Box.West) &&
                         WrappedLongitude(box.East, feature.Box.East) && feature.Box.West >= feature.Box.East;
        feature.Box.South = box.South;
        feature.Box.North = box.North;
    }
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
    FormatFixed((result.Extent.North - result.Extent.South) / 2, 2, text, sizeof text);
    return text;
}
