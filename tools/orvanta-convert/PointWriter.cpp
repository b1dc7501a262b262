// GeoJSON, KML and GPX features.
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

// A ring's points joined: "[lon, lat], ..." for GeoJSON, "lon,lat ..." for KML.
std::string RingText(const std::vector<LonLat> &ring, bool json)
{
    std::string text;
    for (size_t i = 0; i < ring.size(); ++i) {
        std::string lon = DegreesText(ring[i].Lon), lat = DegreesText(ring[i].Lat);
        text += json ? (i ? ", [" : "[") + lon + ", " + lat + "]" : (i ? " " : "") + lon + "," + lat;
    }
    return text;
}

// The GeoJSON geometry: null, a Point, a Polygon or, for a square split at
// the 180th meridian, a MultiPolygon.
std::string GeoJsonGeometry(const MapFeature &feature)
{
    switch (feature.Geometry) {
    case MapFeature::Shape::None: return "null";
    case MapFeature::Shape::Point: break;
    case MapFeature::Shape::Area: {
        bool multi = feature.Rings.size() > 1;
        std::string text = multi ? "{\"type\": \"MultiPolygon\", \"coordinates\": [" : "{\"type\": \"Polygon\", \"coordinates\": ";
        for (size_t r = 0; r < feature.Rings.size(); ++r)
            text += (r ? ", [[" : "[[") + RingText(feature.Rings[r], true) + "]]";
        return text + (multi ? "]}" : "}");
    }
    }
    return "{\"type\": \"Point\", \"coordinates\": [" + DegreesText(feature.Point.Lon) + ", " +
           DegreesText(feature.Point.Lat) + "]}";
}

// The KML geometry: a Point, a Polygon or a MultiGeometry of two.
std::string KmlGeometry(const MapFeature &feature)
{
    if (feature.Geometry != MapFeature::Shape::Area)
        return "<Point><coordinates>" + DegreesText(feature.Point.Lon) + "," + DegreesText(feature.Point.Lat) +
               "</coordinates></Point>";
    std::string text;
    for (const std::vector<LonLat> &ring : feature.Rings)
        text += "<Polygon><outerBoundaryIs><LinearRing><coordinates>" + RingText(ring, false) +
                "</coordinates></LinearRing></outerBoundaryIs></Polygon>";
    return feature.Rings.size() > 1 ? "<MultiGeometry>" + text + "</MultiGeometry>" : text;
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
                   "<gpx version=\"1.1\" creator=\"orvanta-convert\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
                   "xmlns:ogr=\"http://osgeo.org/gdal\">\n",
                   Out);
        break;
    case PointFormat::None:
    case PointFormat::Html: break;
    }
}

bool PointWriter::Add(const ConversionResult &result)
{
    MapFeature feature = CodeFeature(result, Squares);
    return feature.Geometry != MapFeature::Shape::None && Add(feature);
}

bool PointWriter::Add(const MapFeature &feature)
{
    bool placed = feature.Geometry != MapFeature::Shape::None;
    if (!placed && Format != PointFormat::GeoJson)
        return false;
    std::string text;
    switch (Format) {
    case PointFormat::GeoJson:
        text = First ? "\n" : ",\n";
        text += "{\"type\": \"Feature\", \"properties\": {";
        for (size_t i = 0; i < feature.Properties.size(); ++i) {
            text += i ? ", " : "";
            AppendJsonQuote(text, feature.Properties[i].first);
            text += ": ";
            AppendJsonQuote(text, feature.Properties[i].second);
        }
        text += "}, \"geometry\": ";
        text += GeoJsonGeometry(feature);
        text += '}';
        break;
    case PointFormat::Kml:
        text = "<Placemark><name>" + XmlEscape(feature.Name) + "</name><ExtendedData>";
        for (const auto &property : feature.Properties)
            text += "<Data name=\"" + XmlEscape(property.first) + "\"><value>" + XmlEscape(property.second) +
                    "</value></Data>";
        text += "</ExtendedData>" + KmlGeometry(feature) + "</Placemark>\n";
        break;
    case PointFormat::Gpx:
        text = "<wpt lat=\"" + DegreesText(feature.Point.Lat) + "\" lon=\"" + DegreesText(feature.Point.Lon) +
               "\"><name>" + XmlEscape(feature.Name) + "</name><extensions>";
        for (const auto &property : feature.Properties) {
            std::string element = "ogr:" + ElementName(property.first);
            text += "<" + element + ">" + XmlEscape(property.second) + "</" + element + ">";
        }
        text += "</extensions></wpt>\n";
        break;
    case PointFormat::None:
    case PointFormat::Html: break;
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
    case PointFormat::None:
    case PointFormat::Html: break;
    }
}
