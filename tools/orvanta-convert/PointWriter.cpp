// GeoJSON, KML and GPX features.
#include "tools/orvanta-convert/PointWriter.h"

#include <unordered_map>
#include <unordered_set>

#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/ResultFormat.h"

namespace {

// The code point of the UTF-8 sequence at i (valid UTF-8), and its length.
unsigned CodePointAt(const std::string &utf8, size_t i, size_t &length)
{
    unsigned char b = static_cast<unsigned char>(utf8[i]);
    length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    unsigned code = length == 1 ? b : b & (0x7F >> length);
    for (size_t k = 1; k < length; ++k)
        code = code << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    return code;
}

// Whether a character may start an XML 1.0 name (a colon aside, which
// marks a namespace), and whether it may stand inside one.
bool NameStart(unsigned c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || (c >= 0xC0 && c <= 0xD6) ||
           (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D) ||
           (c >= 0x37F && c <= 0x1FFF) || c == 0x200C || c == 0x200D || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF) ||
           (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool NameInside(unsigned c)
{
    return NameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || c == 0x203F || c == 0x2040;
}

// An XML element name made of the property's name: its characters where a
// name may hold them (letters of every script among them), every other one
// as '_'; one that may not start a name gets a '_' before it.
std::string ElementName(const std::string &name)
{
    std::string utf8 = ValidUtf8(name), out;
    size_t length = 0;
    for (size_t i = 0; i < utf8.size(); i += length) {
        unsigned c = CodePointAt(utf8, i, length);
        if (out.empty() && !NameStart(c)) {
            out += '_'; // stands for it, or before it
            if (!NameInside(c))
                continue;
        }
        if (NameInside(c))
            out.append(utf8, i, length);
        else
            out += '_';
    }
    return out.empty() ? "_" : out;
}

// The element names of a feature's properties, each new: a name that
// another property's already gave gets a number (_2, _3, ...).
std::vector<std::string> ElementNames(const MapFeature &feature)
{
    std::vector<std::string> names;
    names.reserve(feature.Properties.size());
    std::unordered_set<std::string> taken;
    std::unordered_map<std::string, int> next;
    for (const auto &property : feature.Properties) {
        std::string base = ElementName(property.first), name = base;
        if (taken.count(name)) {
            int &n = next.emplace(base, 2).first->second;
            do
                name = base + "_" + std::to_string(n++);
            while (taken.count(name));
        }
        taken.insert(name);
        names.push_back(name);
    }
    return names;
}

// Whether a text is a number as JSON writes one (-12.5, 3): a number
// column's value, which is empty for a failed code.
bool IsJsonNumber(const std::string &text)
{
    size_t i = text.compare(0, 1, "-") == 0 ? 1 : 0, digits = text.find_first_not_of("0123456789", i);
    if (digits == std::string::npos)
        digits = text.size();
    if (digits == i || (digits > i + 1 && text[i] == '0'))
        return false;
    if (digits == text.size())
        return true;
    size_t fraction = text.find_first_not_of("0123456789", digits + 1);
    return text[digits] == '.' && fraction == std::string::npos && digits + 1 < text.size();
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

// Replaces the five markup characters and what XML 1.0 forbids: control
// bytes, U+FFFE and U+FFFF (surrogates and invalid bytes ValidUtf8 takes).
std::string XmlEscape(const std::string &text)
{
    std::string valid;
    const std::string &utf8 = IsValidUtf8(text) ? text : (valid = ValidUtf8(text));
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        char c = utf8[i];
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') ||
                (utf8.compare(i, 2, "\xEF\xBF") == 0 && i + 2 < utf8.size() &&
                 (utf8[i + 2] == '\xBE' || utf8[i + 2] == '\xBF'))) {
                out += "\xEF\xBF\xBD";
                i += static_cast<unsigned char>(c) < 0x20 ? 0 : 2;
            } else {
                out += c;
            }
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
            const std::string &value = feature.Properties[i].second;
            if (feature.KindOf(i) == MapFeature::Kind::Text)
                AppendJsonQuote(text, value);
            else
                text += IsJsonNumber(value) ? value : "null";
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
    case PointFormat::Gpx: {
        text = "<wpt lat=\"" + DegreesText(feature.Point.Lat) + "\" lon=\"" + DegreesText(feature.Point.Lon) +
               "\"><name>" + XmlEscape(feature.Name) + "</name><extensions>";
        std::vector<std::string> elements = ElementNames(feature);
        for (size_t i = 0; i < elements.size(); ++i)
            text += "<ogr:" + elements[i] + ">" + XmlEscape(feature.Properties[i].second) + "</ogr:" + elements[i] + ">";
        text += "</extensions></wpt>\n";
        break;
    }
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
