// gridtool dump: load a data file with the program's loader and print what
// the program would hold, as text or as one JSON object.
#include <cstdio>
#include <string>

#include "data/GridLoader.h"
#include "tools/common/TextEncoding.h"
#include "tools/gridtool/GridtoolCommands.h"

namespace {

// Floats are printed so that they read back as the same single value.
std::string FloatText(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

bool FormDefined(const QuadForm &form)
{
    return form.FormX != 0 || form.FormY != 0;
}

int FormCells(const QuadForm &form)
{
    int cells = form.FormX * form.FormY;
    return cells > 0 ? cells : 0; // the loader keeps this within the table
}

void PrintJson(const GridDatabase &db)
{
    std::printf("{\"status\": %d, \"about\": %s, \"quads\": [", db.LoadStatus,
                JsonQuote(Cp1252ToUtf8(db.AboutText)).c_str());
    for (int i = 0; i < db.QuadCount; ++i) {
        const QuadRecord &q = db.Quads[i];
        std::printf("%s\n  {\"name\": %s, \"chart\": %d, \"downLeftLat\": %s, \"downLeftLon\": %s, "
                    "\"sizeLon\": %s, \"sizeLat\": %s, \"quadtype\": %d}",
                    i ? "," : "", JsonQuote(Cp1252ToUtf8(q.QuadName)).c_str(), q.Chart,
                    FloatText(q.DownLeftLat).c_str(), FloatText(q.DownLeftLon).c_str(),
                    FloatText(q.SizeLon).c_str(), FloatText(q.SizeLat).c_str(), q.Quadtype);
    }
    std::printf("], \"forms\": {");
    bool first = true;
    for (int t = 0; t < kMaxQuadTypes; ++t) {
        const QuadForm &form = db.Forms[t];
        if (!FormDefined(form))
            continue;
        std::printf("%s\n  \"%d\": {\"formX\": %d, \"formY\": %d, \"numbers\": [", first ? "" : ",", t,
                    form.FormX, form.FormY);
        for (int n = 0; n < FormCells(form); ++n)
            std::printf("%s%d", n ? ", " : "", form.Numbers[n]);
        std::printf("]}");
        first = false;
    }
    std::printf("}}\n");
}

void PrintText(const GridDatabase &db)
{
    std::printf("status %d\nabout %s\nquads %d\n", db.LoadStatus, Cp1252ToUtf8(db.AboutText).c_str(),
                db.QuadCount);
    for (int i = 0; i < db.QuadCount; ++i) {
        const QuadRecord &q = db.Quads[i];
        std::printf("%4d %-2s chart %d type %d lat %s lon %s sizeLat %s sizeLon %s\n", i,
                    Cp1252ToUtf8(q.QuadName).c_str(), q.Chart, q.Quadtype, FloatText(q.DownLeftLat).c_str(),
                    FloatText(q.DownLeftLon).c_str(), FloatText(q.SizeLat).c_str(), FloatText(q.SizeLon).c_str());
    }
    for (int t = 0; t < kMaxQuadTypes; ++t) {
        const QuadForm &form = db.Forms[t];
        if (!FormDefined(form))
            continue;
        std::printf("form %d: %d x %d\n", t, form.FormX, form.FormY);
        for (int n = 0; n < FormCells(form); ++n)
            std::printf("%4d%s", form.Numbers[n], (form.FormX > 0 && (n + 1) % form.FormX == 0) ? "\n" : "");
        if (form.FormX > 0 && FormCells(form) % form.FormX != 0)
            std::printf("\n");
    }
}

} // namespace

// Loads FILE into a database of its own and prints it; the exit status is
// 0 for a file that loads with status 0, 1 for a faulty one, 2 for misuse or
// a missing file.
int RunDumpCommand(const Arguments &args)
{
    bool json = !args.empty() && args[0] == "--json";
    if (args.size() != (json ? 2u : 1u)) {
        std::fputs("gridtool: dump takes [--json] FILE; try 'gridtool --help'\n", stderr);
        return 2;
    }
    const std::string &path = args.back();
    static GridDatabase db;
    ResetGridDatabase(db);
    db.LoadStatus = LoadGridData(path.c_str(), db);
    if (db.LoadStatus == kLoadNotFound) {
        std::fprintf(stderr, "gridtool: %s: cannot open the file\n", path.c_str());
        return 2;
    }
    if (json)
        PrintJson(db);
    else
        PrintText(db);
    return db.LoadStatus == kLoadOk ? 0 : 1;
}
