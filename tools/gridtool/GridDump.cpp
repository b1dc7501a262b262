// The text and JSON forms of a loaded database.
#include "tools/gridtool/GridDump.h"

#include <cmath>
#include <string>

#include "tools/common/TextEncoding.h"

namespace {

// Floats are printed so that they read back as the same single value.
std::string FloatText(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

// A float as a JSON number, or null where JSON has no number for it.
std::string JsonNumber(float value)
{
    return std::isfinite(value) ? FloatText(value) : "null";
}

// A UTF-8 text of the data file as the text form prints it: control
// bytes (an escape sequence among them) shown as U+FFFD, so that a file
// cannot drive the terminal.
std::string Printable(const std::string &utf8)
{
    std::string text;
    for (char c : utf8)
        text += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? std::string("\xEF\xBF\xBD") : std::string(1, c);
    return text;
}

bool FormDefined(const QuadForm &form)
{
    return form.FormX != 0 || form.FormY != 0;
}

// FormX x FormY as far as the form's table holds cells: a load that failed
// on a form's size leaves that size in the table.
int FormCells(const QuadForm &form)
{
    int cells = form.FormX * form.FormY;
    return cells <= 0 ? 0 : cells > kMaxFormCells ? kMaxFormCells : cells;
}

void WriteJson(const GridDatabase &db, std::FILE *out)
{
    std::fprintf(out, "{\"status\": %d, \"about\": %s, \"quads\": [", db.LoadStatus,
                 JsonQuote(Cp1252ToUtf8(db.AboutText)).c_str());
    for (int i = 0; i < db.QuadCount && i < kMaxQuadRecords; ++i) {
        const QuadRecord &q = db.Quads[i];
        std::fprintf(out,
                     "%s\n  {\"name\": %s, \"chart\": %d, \"downLeftLat\": %s, \"downLeftLon\": %s, "
                     "\"sizeLon\": %s, \"sizeLat\": %s, \"quadtype\": %d}",
                     i ? "," : "", JsonQuote(Cp1252ToUtf8(q.QuadName)).c_str(), q.Chart,
                     JsonNumber(q.DownLeftLat).c_str(), JsonNumber(q.DownLeftLon).c_str(),
                     JsonNumber(q.SizeLon).c_str(), JsonNumber(q.SizeLat).c_str(), q.Quadtype);
    }
    std::fprintf(out, "], \"forms\": {");
    bool first = true;
    for (int t = 0; t < kMaxQuadTypes; ++t) {
        const QuadForm &form = db.Forms[t];
        if (!FormDefined(form))
            continue;
        std::fprintf(out, "%s\n  \"%d\": {\"formX\": %d, \"formY\": %d, \"numbers\": [", first ? "" : ",", t,
                     form.FormX, form.FormY);
        for (int n = 0; n < FormCells(form); ++n)
            std::fprintf(out, "%s%d", n ? ", " : "", form.Numbers[n]);
        std::fprintf(out, "]}");
        first = false;
    }
    std::fprintf(out, "}}\n");
}

void WriteText(const GridDatabase &db, std::FILE *out)
{
    std::fprintf(out, "status %d\nabout %s\nquads %d\n", db.LoadStatus, Printable(Cp1252ToUtf8(db.AboutText)).c_str(),
                 db.QuadCount);
    for (int i = 0; i < db.QuadCount && i < kMaxQuadRecords; ++i) {
        const QuadRecord &q = db.Quads[i];
        std::fprintf(out, "%4d %-2s chart %d type %d lat %s lon %s sizeLat %s sizeLon %s\n", i,
                     Printable(QuadNameText(q)).c_str(), q.Chart, q.Quadtype, FloatText(q.DownLeftLat).c_str(),
                     FloatText(q.DownLeftLon).c_str(), FloatText(q.SizeLat).c_str(), FloatText(q.SizeLon).c_str());
    }
    for (int t = 0; t < kMaxQuadTypes; ++t) {
        const QuadForm &form = db.Forms[t];
        if (!FormDefined(form))
            continue;
        std::fprintf(out, "form %d: %d x %d\n", t, form.FormX, form.FormY);
        int cells = FormCells(form);
        for (int n = 0; n < cells; ++n)
            std::fprintf(out, "%4d%s", form.Numbers[n], (form.FormX > 0 && (n + 1) % form.FormX == 0) ? "\n" : "");
        if (form.FormX > 0 && cells % form.FormX != 0)
            std::fprintf(out, "\n");
    }
}

} // namespace

void WriteGridDump(const GridDatabase &db, bool json, std::FILE *out)
{
    if (json)
        WriteJson(db, out);
    else
        WriteText(db, out);
}
