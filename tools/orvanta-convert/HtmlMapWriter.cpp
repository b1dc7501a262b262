// The self-contained map page.
#include "tools/orvanta-convert/HtmlMapWriter.h"

#include <algorithm>
#include <cmath>

#include "convert/Position.h"
#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/MapPageAssets.h"
#include "tools/orvanta-convert/PointWriter.h"

namespace {

std::string Number(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Degrees with six decimals (a tenth of a metre) and no trailing zeros.
std::string Degrees(double value)
{
    std::string text = Number(value, 6);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text == "-0" ? "0" : text;
}

// Whether a point can be shown: on the globe, within one turn of longitude
// (the features' makers wrap longitudes).
bool OnGlobe(LonLat p)
{
    return std::fabs(p.Lon) <= 180 && std::fabs(p.Lat) <= 90;
}

// A ring as the page draws it: [south, west, north, east] when every side
// runs along an edge of its box (the squares' rings), else [lat, lon, ...];
// empty when a point is off the globe.
std::string RingText(const std::vector<LonLat> &ring)
{
    if (ring.empty() || !std::all_of(ring.begin(), ring.end(), OnGlobe))
        return "";
    double south = 90, west = 180, north = -90, east = -180;
    for (LonLat p : ring) {
        south = std::min(south, p.Lat), north = std::max(north, p.Lat);
        west = std::min(west, p.Lon), east = std::max(east, p.Lon);
    }
    bool box = true;
    for (size_t i = 1; i < ring.size(); ++i) {
        LonLat a = ring[i - 1], b = ring[i];
        box = box && ((a.Lat == b.Lat && (a.Lat == south || a.Lat == north)) ||
                      (a.Lon == b.Lon && (a.Lon == west || a.Lon == east)));
    }
    if (box || ring.size() < 3)
        return "[" + Degrees(south) + "," + Degrees(west) + "," + Degrees(north) + "," + Degrees(east) + "]";
    std::string text = "[";
    for (size_t i = 0; i < ring.size(); ++i)
        text += (i ? "," : "") + Degrees(ring[i].Lat) + "," + Degrees(ring[i].Lon);
    return text + "]";
}

// The program's texts of a point, as the window shows them.
std::string PositionText(LonLat p)
{
    char lat[kPositionTextSize], lon[kPositionTextSize];
    FormatLatitude(p.Lat * 60, lat);
    FormatLongitude(-p.Lon * 60, lon);
    return Cp1252ToUtf8(std::string(lat) + " " + lon);
}

// The large squares: [name, chart, [[south, west, north, east], ...]],
// one box per piece on either side of the 180th meridian.
// The squares of every grid file are listed in the files' order.
void WriteSquares(std::FILE *out, const std::vector<const GridDatabase *> &grids)
{
    std::fputs("squares: [", out);
    bool first = true;
    for (const GridDatabase *grid : grids)
    for (int i = 0; i < grid->QuadCount && i < kMaxQuadRecords; ++i) {
        const QuadRecord &q = grid->Quads[i];
        std::vector<std::vector<LonLat>> rings =
            BoxRings(q.DownLeftLat, q.DownLeftLat + q.SizeLat, q.DownLeftLon, q.DownLeftLon + q.SizeLon);
        if (rings.empty())
            continue;
        std::fprintf(out, "%s\n[%s, %d, [", first ? "" : ",", ScriptString(QuadNameText(q)).c_str(), q.Chart);
        for (size_t r = 0; r < rings.size(); ++r) {
            double south = 90, west = 180, north = -90, east = -180;
            for (LonLat p : rings[r]) {
                south = std::min(south, p.Lat), north = std::max(north, p.Lat);
                west = std::min(west, p.Lon), east = std::max(east, p.Lon);
            }
            std::fprintf(out, "%s[%s, %s, %s, %s]", r ? ", " : "", Number(south, 4).c_str(), Number(west, 4).c_str(),
                         Number(north, 4).c_str(), Number(east, 4).c_str());
        }
        std::fputs("]]", out);
        first = false;
    }
    std::fputs("],\n", out);
}

} // namespace

void HtmlMapWriter::AddGridFile(const std::string &name, const std::vector<unsigned char> &bytes)
{
    size_t slash = name.find_last_of("/\\");
    std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    GridFiles += (GridFiles.empty() ? "\n{name: " : ",\n{name: ") + ScriptString(ValidUtf8(base)) + ", data: \"" +
                 Base64(bytes) + "\"}";
}

bool HtmlMapWriter::WithAtlas() const
{
    return *kMapAtlasCore && !GridFiles.empty();
}

// The head carries the library and the styles; the data follows: the
// coastline and the squares in a script, the features as JSON in an element
// of their own that End closes (a browser reads a large JSON text about
// twice as fast as a script of the same data).
void HtmlMapWriter::Begin(const std::string &title)
{
    std::fprintf(Out,
                 "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                 "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                 "<meta name=\"generator\" content=\"orvanta-convert\">\n<title>%s</title>\n",
                 XmlEscape(title).c_str());
    std::fprintf(Out, "<style>\n%s\n</style>\n<style>\n%s\n</style>\n", kLeafletStyle, kPageStyle);
    if (WithAtlas())
        std::fprintf(Out, "<style>\n%s\n</style>\n", kMapAtlasStyle);
    std::fprintf(Out, "<script>\n%s\n</script>\n</head>\n<body>\n<div id=\"map\"></div>\n", kLeafletScript);
    std::fprintf(Out, "<script>\nvar orvanta = {title: %s,\ncoast: %s,\n", ScriptString(title).c_str(), kCoastline);
    WriteSquares(Out, Grids);
    if (WithAtlas())
        std::fprintf(Out, "grids: [%s],\n", GridFiles.c_str());
    std::fputs("};\n</script>\n<script type=\"application/json\" id=\"orvanta-features\">[", Out);
}

// A short text already in the table (or now put there) as its number, any
// other as a string.
std::string HtmlMapWriter::Value(const std::string &text)
{
    auto found = Strings.find(text);
    if (found != Strings.end())
        return std::to_string(found->second);
    if (text.size() > kMaxTableText || Strings.size() >= kMaxStrings)
        return ScriptString(text);
    size_t number = Strings.size();
    Strings.emplace(text, number);
    return std::to_string(number);
}

// The names of the properties as the number of their list in the table,
// or as the list itself once the table is full.
std::string HtmlMapWriter::Schema(const MapFeature &feature)
{
    std::vector<std::string> names;
    size_t bytes = 0;
    for (const auto &property : feature.Properties) {
        names.push_back(property.first);
        bytes += property.first.size() + 8;
    }
    auto found = Schemas.find(names);
    if (found != Schemas.end())
        return std::to_string(found->second);
    if (SchemaBytes + bytes <= kMaxSchemaBytes) {
        SchemaBytes += bytes;
        size_t number = Schemas.size();
        Schemas.emplace(std::move(names), number);
        return std::to_string(number);
    }
    std::string text = "[";
    for (size_t i = 0; i < names.size(); ++i)
        text += (i ? "," : "") + ScriptString(names[i]);
    return text + "]";
}

// [names, 0, code, values...] without a position, [names, 1, lat, lon,
// texts, values...] for a point, [names, 2, lat, lon, texts, [ring, ...],
// values...] for an area; an area with a ring off the globe, or a point off
// it, has no position.
bool HtmlMapWriter::Add(const MapFeature &feature)
{
    bool area = feature.Geometry == MapFeature::Shape::Area;
    bool placed = feature.Geometry != MapFeature::Shape::None && OnGlobe(feature.Point);
    std::string rings;
    if (placed && area) {
        for (const std::vector<LonLat> &ring : feature.Rings) {
            std::string text = RingText(ring);
            placed = placed && !text.empty();
            rings += (rings.empty() ? "" : ",") + text;
        }
        placed = placed && !rings.empty();
    }
    std::string text = std::string(First ? "\n[" : ",\n[") + Schema(feature);
    if (!placed)
        text += ",0," + Value(feature.Name);
    else
        text += (area ? ",2," : ",1,") + Degrees(feature.Point.Lat) + "," + Degrees(feature.Point.Lon) + "," +
                Value(PositionText(feature.Point)) + (area ? ",[" + rings + "]" : "");
    for (const auto &property : feature.Properties)
        text += "," + Value(property.second);
    text += "]";
    std::fwrite(text.data(), 1, text.size(), Out);
    First = false;
    return true;
}

// The tables follow the features: the page reads them all before it draws.
void HtmlMapWriter::End()
{
    std::vector<const std::vector<std::string> *> schemas(Schemas.size());
    for (const auto &entry : Schemas)
        schemas[entry.second] = &entry.first;
    std::fputs("\n]</script>\n<script>\norvanta.schemas = [", Out);
    for (size_t i = 0; i < schemas.size(); ++i) {
        std::string text = i ? ",\n[" : "\n[";
        for (size_t k = 0; k < schemas[i]->size(); ++k)
            text += (k ? "," : "") + ScriptString((*schemas[i])[k]);
        text += "]";
        std::fwrite(text.data(), 1, text.size(), Out);
    }
    std::vector<const std::string *> strings(Strings.size());
    for (const auto &entry : Strings)
        strings[entry.second] = &entry.first;
    std::fputs("];\norvanta.strings = [", Out);
    for (size_t i = 0; i < strings.size(); ++i) {
        std::string text = (i == 0 ? "\n" : i % 16 ? "," : ",\n") + ScriptString(*strings[i]);
        std::fwrite(text.data(), 1, text.size(), Out);
    }
    std::fprintf(Out, "];\n</script>\n<script>\n%s\n</script>\n", kMapPiecesScript);
    if (WithAtlas())
        std::fprintf(Out, "<script>\n%s\n</script>\n<script>\n%s\n</script>\n", kMapAtlasCore, kMapAtlasScript);
    std::fprintf(Out, "<script>\n%s\n</script>\n</body>\n</html>\n", kPageScript);
}
