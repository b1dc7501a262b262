// GeoJSON, KML and GPX points.
#include "tools/orvanta-convert/PointWriter.h"

#include <cmath>

#include "tools/common/MapLongitude.h"
#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/ResultFormat.h"

namespace {

// The code and texts of a result as UTF-8, the position as decimal degrees
// on the globe.
struct PointTexts {
    std::string Code, Latitude, Longitude, Lat, Lon;
};

const double kPoleMinutes = 5400;

// False for a position that is not on the globe: a latitude past a pole or
// a longitude that the map wrap refuses (none of them finite or sensible).
bool TextsOf(const ConversionResult &result, PointTexts &texts)
{
    double lat = result.Position.Latitude, lon = 0;
    if (!(std::fabs(lat) <= kPoleMinutes) || !WrapLongitudeMinutes(result.Position.Longitude, lon))
        return false;
    texts = {ResultCodeText(result), Cp1252ToUtf8(result.LatitudeText), Cp1252ToUtf8(result.LongitudeText),
             DecimalDegreesText(lat, false), DecimalDegreesText(lon, true)};
    return true;
}

} // namespace

// Replaces the five markup characters and the forbidden control bytes.
std::string XmlEscape(const std::string &utf8)
{
    std::string out;
    for (char c : utf8) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                out += "\xEF\xBF\xBD";
            else
                out += c;
        }
    }
    return out;
}

void PointWriter::Begin()
{
    switch (Format) {
    case PointFormat::GeoJson: std::fputs("{\"type\": \"FeatureCollection\", \"features\": [", Out); break;
    case PointFormat::Kml:
        std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>MQK grid codes</name>\n",
                   Out);
        break;
    case PointFormat::Gpx:
        std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<gpx version=\"1.1\" creator=\"orvanta-convert\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n",
                   Out);
        break;
    case PointFormat::None:
    case PointFormat::Html: break;
    }
}

bool PointWriter::Add(const ConversionResult &result)
{
    PointTexts t;
    if (!TextsOf(result, t))
        return false;
    switch (Format) {
    case PointFormat::GeoJson:
        std::fprintf(Out,
                     "%s\n{\"type\": \"Feature\", \"properties\": {\"code\": %s, \"latitude\": %s, \"longitude\": %s}, "
                     "\"geometry\": {\"type\": \"Point\", \"coordinates\": [%s, %s]}}",
                     First ? "" : ",", JsonQuote(t.Code).c_str(), JsonQuote(t.Latitude).c_str(),
                     JsonQuote(t.Longitude).c_str(), t.Lon.c_str(), t.Lat.c_str());
        break;
    case PointFormat::Kml:
        std::fprintf(Out,
                     "<Placemark><name>%s</name><description>%s %s</description>"
                     "<Point><coordinates>%s,%s</coordinates></Point></Placemark>\n",
                     XmlEscape(t.Code).c_str(), XmlEscape(t.Latitude).c_str(), XmlEscape(t.Longitude).c_str(),
                     t.Lon.c_str(), t.Lat.c_str());
        break;
    case PointFormat::Gpx:
        std::fprintf(Out, "<wpt lat=\"%s\" lon=\"%s\"><name>%s</name><desc>%s %s</desc></wpt>\n", t.Lat.c_str(),
                     t.Lon.c_str(), XmlEscape(t.Code).c_str(), XmlEscape(t.Latitude).c_str(),
                     XmlEscape(t.Longitude).c_str());
        break;
    case PointFormat::None:
    case PointFormat::Html: break;
    }
    First = false;
    return true;
}

void PointWriter::End()
{
    switch (Format) {
    case PointFormat::GeoJson: std::fputs("\n]}\n", Out); break;
    case PointFormat::Kml: std::fputs("</Document>\n</kml>\n", Out); break;
    case PointFormat::Gpx: std::fputs("</gpx>\n", Out); break;
    case PointFormat::None:
    case PointFormat::Html: break;
    }
}
