// The atlas page's core: the tools' own reading, conversion, reverse lookup
// and texts, compiled to WebAssembly.  The page calls these C functions;
// each answer is a JSON text that stays valid until the next call.
#include <cmath>
#include <cstdint>
#include <string>

#include "convert/ConvertCode.h"
#include "convert/GridLookup.h"
#include "convert/Position.h"
#include "convert/WrittenCode.h"
#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/CoordinateText.h"
#include "tools/orvanta-convert/GridFiles.h"
#include "tools/orvanta-convert/MapFeature.h"
#include "tools/orvanta-convert/ResultFormat.h"
#include "tools/orvanta-convert/ReverseLookup.h"

namespace {

std::string Answer;

// A JSON member "name": "text" with a comma before unless first.
void PutText(std::string &out, const char *name, const std::string &utf8)
{
    if (out.back() != '{')
        out += ',';
    out += '"';
    out += name;
    out += "\":";
    AppendJsonQuote(out, utf8);
}

// A number written as JSON takes it: finite, or null.
std::string JsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

void PutNumber(std::string &out, const char *name, double value)
{
    if (out.back() != '{')
        out += ',';
    out += '"';
    out += name;
    out += "\":" + JsonNumber(value);
}

// An area in minutes (longitude west positive) as [south, west, north,
// east] in degrees, north and east positive, west below east.
std::string BoxJson(const GridBounds &box)
{
    double west = -box.West / 60, east = -box.East / 60;
    return "[" + JsonNumber(box.South / 60) + "," + JsonNumber(std::fmin(west, east)) + "," +
           JsonNumber(box.North / 60) + "," + JsonNumber(std::fmax(west, east)) + "]";
}

// The texts of a position (minutes) in the three notations the tools
// print: the program's, decimal degrees and DMS.
void PutPositionTexts(std::string &out, double latitude, double longitude)
{
    char lat[kPositionTextSize], lon[kPositionTextSize];
    FormatLatitude(latitude, lat);
    FormatLongitude(longitude, lon);
    PutText(out, "latitude", Cp1252ToUtf8(lat));
    PutText(out, "longitude", Cp1252ToUtf8(lon));
    PutText(out, "latitude_decimal", DecimalDegreesText(latitude, false));
    PutText(out, "longitude_decimal", DecimalDegreesText(longitude, true));
    PutText(out, "latitude_dms", DmsText(latitude, true, 0));
    PutText(out, "longitude_dms", DmsText(longitude, false, 0));
}

// Everything orvanta-convert says of one conversion: the line it prints,
// the code read, the texts, chart, confidence, precision and the square.
std::string ResultJson(const ConversionResult &result)
{
    std::string out = "{";
    PutText(out, "code", ResultCodeText(result));
    PutText(out, "line", FormatResultLine(result, OutputFormat::DegreesMinutes));
    if (result.Status != ConvertStatus::Converted) {
        PutText(out, "message", ConvertMessage(result));
        return out + "}";
    }
    PutPositionTexts(out, result.Position.Latitude, result.Position.Longitude);
    PutNumber(out, "lat", result.Position.Latitude / 60);
    PutNumber(out, "lon", -WithinHalfTurn(result.Position.Longitude) / 60);
    PutNumber(out, "chart", ChartOf(result));
    PutText(out, "confidence", ChartMeaning(result));
    PutText(out, "precision_nm", PrecisionNm(result));
    out += ",\"bounds\":" + BoxJson(result.Bounds);
    return out + "}";
}

// The squares a code lies in, from the large square down to itself, each
// converted as the tools convert that shorter code.
std::string SquaresJson(const ConversionResult &result)
{
    std::string out = "[";
    if (result.Status == ConvertStatus::Converted)
        for (size_t length = 2; length <= result.Code.size(); length += 2) {
            ConversionResult part =
                length == result.Code.size() ? result : ConvertInGrids(result.Code.substr(0, length));
            if (part.Status == ConvertStatus::Converted)
                out += (out.size() > 1 ? "," : "") + BoxJson(part.Bounds);
        }
    return out + "]";
}

} // namespace

extern "C" {

// Adds a grid file from its scrambled bytes; the answer is {"ok": true}
// or {"ok": false, "message": ...}.
const char *atlas_add_grid(const char *name, const unsigned char *data, int size)
{
    std::string error;
    bool ok = size >= 0 && AddGridFromMemory(name, data, static_cast<size_t>(size), error);
    Answer = ok ? "{\"ok\":true}" : "{\"ok\":false";
    if (!ok) {
        PutText(Answer, "message", error);
        Answer += "}";
    }
    return Answer.c_str();
}

// Converts a written code as orvanta-convert does (the first file that
// holds it wins): the result, and the boxes of its large square, cell and
// small square.
const char *atlas_convert(const char *text)
{
    ConversionResult result = ConvertInGrids(text);
    Answer = "{\"input\":" + JsonQuote(ValidUtf8(text)) + ",\"result\":" + ResultJson(result) +
             ",\"squares\":" + SquaresJson(result) + "}";
    return Answer.c_str();
}

// Reads a position as orvanta-convert --reverse does and finds every code
// whose small square holds it, file by file: the position's texts and each
// code's conversion, or the message of a position that cannot be read or
// lies outside the grids.
const char *atlas_reverse(const char *text)
{
    double lat = 0, lon = 0;
    std::string error;
    Answer = "{";
    PutText(Answer, "input", ValidUtf8(text));
    if (!ReadPosition(text, lat, lon, error)) {
        PutText(Answer, "message", error);
        return (Answer += ",\"codes\":[]}").c_str();
    }
    PutPositionTexts(Answer, lat, lon);
    PutNumber(Answer, "lat", lat / 60);
    PutNumber(Answer, "lon", -lon / 60);
    std::string codes;
    for (size_t g = 0; g < LoadedGrids().size(); ++g) {
        const GridDatabase &db = LoadedGrids()[g]->Db;
        for (const ReverseMatch &match : ReverseLookup(db, lat, lon)) {
            ConversionResult result = ConvertCode(match.Code, db);
            std::string mismatch = MatchMismatch(match, result);
            codes += codes.empty() ? "" : ",";
            if (!mismatch.empty()) {
                std::string failed = "{";
                PutText(failed, "code", Cp1252ToUtf8(match.Code));
                PutText(failed, "line", Cp1252ToUtf8(match.Code) + "\tERROR: " + mismatch);
                PutText(failed, "message", mismatch);
                codes += "{\"grid\":" + std::to_string(g) + ",\"result\":" + failed + "},\"squares\":[]}";
                continue;
            }
            codes += "{\"grid\":" + std::to_string(g) + ",\"result\":" + ResultJson(result) +
                     ",\"squares\":" + SquaresJson(result) + "}";
        }
    }
    if (codes.empty())
        PutText(Answer, "message", OutsideTheGrids());
    return (Answer += ",\"codes\":[" + codes + "]}").c_str();
}

// The texts of a position given in degrees (north and east positive), for
// the pointer readout: the three notations.
const char *atlas_position(double latitude, double longitude)
{
    Answer = "{";
    PutPositionTexts(Answer, latitude * 60, -longitude * 60);
    return (Answer += "}").c_str();
}

// The layout of one loaded grid, for drawing it: its name, each quad
// record as [name, chart, south, west, north, east, type] in degrees
// (north and east positive; west and east as the record runs, so a record
// across the 180th meridian may pass +-180), the cell layouts of the quad
// types it uses as [columns, rows, numbers top row first] and the numbering
// of the small squares, top row first.  null past the last grid.
const char *atlas_grid(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= LoadedGrids().size())
        return "null";
    const LoadedGrid &grid = *LoadedGrids()[index];
    const GridDatabase &db = grid.Db;
    Answer = "{";
    PutText(Answer, "name", ValidUtf8(grid.Path));
    Answer += ",\"quads\":[";
    bool used[kMaxQuadTypes] = {};
    for (int i = 0; i < db.QuadCount && i < kMaxQuadRecords; ++i) {
        const QuadRecord &q = db.Quads[i];
        if (i)
            Answer += ",";
        Answer += "[" + JsonQuote(QuadNameText(q)) + "," + std::to_string(q.Chart) + "," +
                  JsonNumber(q.DownLeftLat / 60.0) + "," + JsonNumber(-q.DownLeftLon / 60.0) + "," +
                  JsonNumber((q.DownLeftLat + q.SizeLat) / 60.0) + "," +
                  JsonNumber(-(q.DownLeftLon + q.SizeLon) / 60.0) + "," + std::to_string(q.Quadtype) + "]";
        if (q.Quadtype >= 0 && q.Quadtype < kMaxQuadTypes)
            used[q.Quadtype] = true;
    }
    Answer += "],\"forms\":{";
    bool first = true;
    for (int t = 0; t < kMaxQuadTypes; ++t) {
        const QuadForm &form = db.Forms[t];
        if (!used[t] || form.FormX <= 0 || form.FormY <= 0 || form.FormX * form.FormY > kMaxFormCells)
            continue;
        Answer += (first ? "\"" : ",\"") + std::to_string(t) + "\":[" + std::to_string(form.FormX) + "," +
                  std::to_string(form.FormY) + ",[";
        for (int c = 0; c < form.FormX * form.FormY; ++c)
            Answer += (c ? "," : "") + std::to_string(form.Numbers[c]);
        Answer += "]]";
        first = false;
    }
    Answer += "},\"small\":[";
    for (int row = 0; row < kStandardSize; ++row)
        for (int column = 0; column < kStandardSize; ++column)
            Answer += (row || column ? "," : "") + std::to_string(StandardNumbering[row][column]);
    return (Answer += "]}").c_str();
}

} // extern "C"
