// Reverse lookup: position to codes, and the coordinate texts it accepts.
#include "tools/orvanta-convert/ReverseLookup.h"

#include <cmath>
#include <cstdio>

#include "convert/GridLookup.h"

namespace {

// Where a fraction of an extent falls among n equal parts, or -1 outside
// [0, 1).
int PartOf(double fraction, int parts)
{
    if (!(fraction >= 0 && fraction < 1))
        return -1;
    int part = static_cast<int>(std::floor(fraction * parts));
    return part < parts ? part : parts - 1;
}

// The fraction of the quad's extent at which a value lies, measured from
// its DownLeftPos corner; longitudes are tried a whole turn apart.
double FractionOf(double value, float corner, float size, bool longitude)
{
    if (size == 0)
        return -1;
    double fraction = (value - corner) / size;
    if (longitude && !(fraction >= 0 && fraction < 1))
        for (double turn : {-21600.0, 21600.0}) {
            double other = (value + turn - corner) / size;
            if (other >= 0 && other < 1)
                return other;
        }
    return fraction;
}

// The code of the small square at the given fractions of one quad, or an
// empty text when no existing cell is there.
std::string CodeAt(const GridDatabase &db, int index, double fracX, double fracY)
{
    const QuadRecord &q = db.Quads[index];
    if (q.Quadtype < 0 || q.Quadtype >= kMaxQuadTypes)
        return "";
    const QuadForm &form = db.Forms[q.Quadtype];
    if (form.FormX <= 0 || form.FormY <= 0 || form.FormX * form.FormY > kMaxFormCells)
        return "";
    int column = PartOf(fracX, form.FormX), rowFromBottom = PartOf(fracY, form.FormY);
    if (column < 0 || rowFromBottom < 0)
        return "";
    int number = form.Numbers[(form.FormY - 1 - rowFromBottom) * form.FormX + column];
    if (number == -1 || number < 0 || number > 99)
        return "";
    int subColumn = PartOf(fracX * form.FormX - column, kStandardSize);
    int subRow = PartOf(fracY * form.FormY - rowFromBottom, kStandardSize);
    if (subColumn < 0 || subRow < 0)
        return "";
    int small = StandardNumbering[kStandardSize - 1 - subRow][subColumn];
    // A code's first two characters are its letters, so a quad whose name
    // is not two characters long can be reached by no code.
    if (q.QuadName[0] == '\0' || q.QuadName[1] == '\0')
        return "";
    char code[16];
    std::snprintf(code, sizeof code, "%c%c%02d%02d", q.QuadName[0], q.QuadName[1], number, small);
    return code;
}

} // namespace

// Tests every record in table order.
std::vector<ReverseMatch> ReverseLookup(const GridDatabase &db, double latitude, double longitude)
{
    std::vector<ReverseMatch> matches;
    for (int i = 0; i < db.QuadCount && i < kMaxQuadRecords; ++i) {
        const QuadRecord &q = db.Quads[i];
        double fracY = FractionOf(latitude, q.DownLeftLat, q.SizeLat, false);
        double fracX = FractionOf(longitude, q.DownLeftLon, q.SizeLon, true);
        if (!(fracX >= 0 && fracX < 1 && fracY >= 0 && fracY < 1))
            continue;
        std::string code = CodeAt(db, i, fracX, fracY);
        if (!code.empty())
            matches.push_back({code, static_cast<int16_t>(i)});
    }
    return matches;
}

std::string MatchMismatch(const ReverseMatch &match, const ConversionResult &result)
{
    if (result.QuadIndex == match.QuadIndex)
        return "";
    return "the lookup takes this code to quad record " + std::to_string(result.QuadIndex) + ", not to record " +
           std::to_string(match.QuadIndex) + " that holds the position";
}
