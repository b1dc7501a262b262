// GeoJSON, KML and GPX points.
#include "tools/orvanta-convert/PointWriter.h"

#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/ResultFormat.h"

namespace {

// An XML element name made of the property's name: letters, digits, '_',
// '-' and '.', starting with a letter or '_'; every other byte becomes '_'.
std::string ElementName(const std::string &name)
{
    std::string out;
    for (char c : name) {
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        bool other = (c >= '0' && c <= '9') || c == '-' || c == '.';
        out += letter || (other && !out.empty()) ? c : '_';
    }
    return out.empty() ? "_" : out;
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
                   "<gpx version=\"1.1\" creator=\"orvanta-convert\" xmlns=\"http://www.topografix.com/GPX/1/1\"\n"
                   "     xmlns:ogr=\"http://osgeo.org/gdal\">\n",
                   Out);
        break;
    case PointFormat::None: break;
    }
}

// A plain code's properties: the code and the program's texts.
bool PointWriter::Add(const ConversionResult &result)
{
    MapFeature feature = CodeFeature(result, Squares);
    feature.Add("code", feature.Name);
    feature.Add("latitude", Cp1252ToUtf8(result.LatitudeText));
    feature.Add("longitude", Cp1252ToUtf8(result.LongitudeText));
    feature.Add("chart", std::to_string(ChartOf(result)));
    feature.Add("confidence", ChartMeaning(result));
    feature.Add("precision_nm", PrecisionNm(result));
    return feature.HasPosition && Add(feature);
}

bool PointWriter::Add(const MapFeature &feature)
{
    if (!feature.HasPosition && Format != PointFormat::GeoJson)
        return false;
    std::string lat = DecimalDegreesText(feature.Latitude, false), lon = DecimalDegreesText(feature.Longitude, true);
    std::string s = DecimalDegreesText(feature.Box.South, false), n = DecimalDegreesText(feature.Box.North, false);
    std::string w = DecimalDegreesText(feature.Box.West, true), e = DecimalDegreesText(feature.Box.East, true);
    std::string text;
    switch (Format) {
    case PointFormat::GeoJson:
        text = First ? "\n" : ",\n";
        text += "{\"type\": \"Feature\", \"properties\": {";
        for (size_t i = 0; i < feature.Properties.size(); ++i)
            text += (i ? ", " : "") + JsonQuote(feature.Properties[i].first) + ": " +
                    JsonQuote(feature.Properties[i].second);
        text += "}, \"geometry\": ";
        if (!feature.HasPosition)
            text += "null}";
        else if (feature.HasBox) // counter-clockwise from the south-west corner
            text += "{\"type\": \"Polygon\", \"coordinates\": [[[" + w + ", " + s + "], [" + e + ", " + s + "], [" + e +
                    ", " + n + "], [" + w + ", " + n + "], [" + w + ", " + s + "]]]}}";
        else
            text += "{\"type\": \"Point\", \"coordinates\": [" + lon + ", " + lat + "]}}";
        break;
    case PointFormat::Kml:
        text = "<Placemark><name>" + XmlEscape(feature.Name) + "</name><ExtendedData>";
        for (const auto &property : feature.Properties)
            text += "<Data name=\"" + XmlEscape(property.first) + "\"><value>" + XmlEscape(property.second) +
                    "</value></Data>";
        text += "</ExtendedData>";
        if (feature.HasBox)
            text += "<Polygon><outerBoundaryIs><LinearRing><coordinates>" + w + "," + s + " " + e + "," + s + " " + e +
                    "," + n + " " + w + "," + n + " " + w + "," + s +
                    "</coordinates></LinearRing></outerBoundaryIs></Polygon></Placemark>\n";
        else
            text += "<Point><coordinates>" + lon + "," + lat + "</coordinates></Point></Placemark>\n";
        break;
    case PointFormat::Gpx:
        text = "<wpt lat=\"" + lat + "\" lon=\"" + lon + "\"><name>" + XmlEscape(feature.Name) + "</name><extensions>";
        for (const auto &property : feature.Properties) {
            std::string element = "ogr:" + ElementName(property.first);
            text += "<" + element + ">" + XmlEscape(property.second) + "</" + element + ">";
        }
        text += "</extensions></wpt>\n";
        break;
    case PointFormat::None: break;
    }
    std::fwrite(text.data(), 1, text.size(), Out);
    First = false;
    return true;
}

void PointWriter::End()
{
    switch (Format) {
    case PointFormat::GeoJson: std::fputs("\n]}\n", Out); break;
    case PointFormat::Kml: std::fputs("</Document>\n</kml>\n", Out); break;
    case PointFormat::Gpx: std::fputs("</gpx>\n", Out); break;
    case PointFormat::None: break;
    }
}
