// The self-contained map page.
#include "tools/orvanta-convert/HtmlMapWriter.h"

#include <algorithm>
#include <cmath>

#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/MapPageAssets.h"
#include "tools/orvanta-convert/PointWriter.h"

namespace {

// A UTF-8 text as a JavaScript string that cannot end the script element
// it stands in.
std::string ScriptString(const std::string &utf8)
{
    std::string quoted = JsonQuote(utf8), out;
    for (char c : quoted) {
        if (c == '<')
            out += "\\u003c";
        else
            out += c;
    }
    return out;
}

std::string Number(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Whether a point can be shown: on the globe, within one turn of longitude
// (the features' makers wrap longitudes).
bool OnGlobe(LonLat p)
{
    return std::fabs(p.Lon) <= 180 && std::fabs(p.Lat) <= 90;
}

// [lat, lon] as the map library takes it.
std::string LatLon(LonLat p)
{
    return "[" + Number(p.Lat, 6) + ", " + Number(p.Lon, 6) + "]";
}

// The geometry of a feature as the page script reads it: null, {"point":
// [lat, lon]} or {"rings": [[[lat, lon], ...], ...]}.
std::string GeometryText(const MapFeature &feature)
{
    if (feature.Geometry == MapFeature::Shape::Point && OnGlobe(feature.Point))
        return "{\"point\": " + LatLon(feature.Point) + "}";
    if (feature.Geometry != MapFeature::Shape::Area || feature.Rings.empty())
        return "null";
    std::string text = "{\"rings\": [";
    for (size_t r = 0; r < feature.Rings.size(); ++r) {
        const std::vector<LonLat> &ring = feature.Rings[r];
        if (ring.empty() || !std::all_of(ring.begin(), ring.end(), OnGlobe))
            return "null";
        text += r ? ", [" : "[";
        for (size_t i = 0; i < ring.size(); ++i)
            text += (i ? ", " : "") + LatLon(ring[i]);
        text += "]";
    }
    return text + "]}";
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

// The head carries the library and the styles; the data follows in one
// script element that End closes.
void HtmlMapWriter::Begin(const std::string &title)
{
    std::fprintf(Out,
                 "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                 "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                 "<meta name=\"generator\" content=\"orvanta-convert\">\n<title>%s</title>\n",
                 XmlEscape(title).c_str());
    std::fprintf(Out, "<style>\n%s\n</style>\n<style>\n%s\n</style>\n", kLeafletStyle, kPageStyle);
    std::fprintf(Out, "<script>\n%s\n</script>\n</head>\n<body>\n<div id=\"map\"></div>\n", kLeafletScript);
    std::fprintf(Out, "<script>\nvar orvanta = {title: %s,\ncoast: %s,\n", ScriptString(title).c_str(), kCoastline);
    WriteSquares(Out, Grids);
    std::fputs("features: [", Out);
}

// {"geometry": ..., "properties": [[name, value], ...]}
bool HtmlMapWriter::Add(const MapFeature &feature)
{
    std::string text = std::string(First ? "\n" : ",\n") + "{\"geometry\": " + GeometryText(feature) +
                       ", \"properties\": [";
    for (size_t i = 0; i < feature.Properties.size(); ++i)
        text += (i ? ", [" : "[") + ScriptString(feature.Properties[i].first) + ", " +
                ScriptString(feature.Properties[i].second) + "]";
    text += "]}";
    std::fwrite(text.data(), 1, text.size(), Out);
    First = false;
    return true;
}

void HtmlMapWriter::End()
{
    std::fprintf(Out, "\n]};\n</script>\n<script>\n%s\n</script>\n</body>\n</html>\n", kPageScript);
}
