// The conversion of one code, as the main window's Convert command runs it.
#include "convert/ConvertCode.h"

#include "convert/GridLookup.h"
#include "convert/WrittenCode.h"
#include "data/DecimalText.h"
#include "data/GridDatabase.h"

namespace {

const char kGridNotFound[] = " Grid not in database.";
const char kWrongLength[] = " Use 6 chars, example CD1234 ";
const char kPositionNotFound[] = " Position not in database  ";
const char kOnOtherChart[] = "                                "; // 32 blanks
const char kOk[] = " Ok.";

// The failure's message as the window shows it; empty for Converted.
const char *FailureMessage(ConvertStatus status)
{
    switch (status) {
    case ConvertStatus::GridNotFound:
        return kGridNotFound;
    case ConvertStatus::WrongLength:
        return kWrongLength;
    case ConvertStatus::PositionNotFound:
        return kPositionNotFound;
    case ConvertStatus::Converted:
    case ConvertStatus::Unreadable:
        break;
    }
    return "";
}

// A failed code's result.
ConversionResult Failed(const std::string &code, ConvertStatus status)
{
    return {code, status, -1, 0, {0.0, 0.0}, "", "", {}, ""};
}

// A converted code's result: the position, its texts and the bounds.
ConversionResult Converted(const std::string &code, int16_t quadIndex, GridPosition position, GridBounds bounds,
                           const GridDatabase &db)
{
    char latitude[kPositionTextSize], longitude[kPositionTextSize];
    size_t latitudeLength = FormatLatitude(position.Latitude, latitude);
    size_t longitudeLength = FormatLongitude(position.Longitude, longitude);
    return {code, ConvertStatus::Converted, quadIndex, db.Quads[quadIndex].Chart, position,
            std::string(latitude, latitudeLength), std::string(longitude, longitudeLength), bounds, ""};
}

// The centre of an area, its longitude within +-180 degrees.
GridPosition Centre(const GridBounds &bounds)
{
    return {(bounds.South + bounds.North) / 2, WithinHalfTurn((bounds.West + bounds.East) / 2)};
}

// The part of a matched record that a large square ("AM") or a cell
// ("AM19") names; false when the record's layout has no such cell.
bool CoarsePart(const std::string &code, int16_t quadIndex, const GridDatabase &db, GridBounds &part)
{
    if (code.size() == 2) {
        part = QuadPart(quadIndex, 0, 0, 1, 1, db);
        return true;
    }
    char pair[3] = {code[2], code[3], 0};
    int16_t type = db.Quads[quadIndex].Quadtype, column, row;
    if (FindFormCell(type, static_cast<int16_t>(ParseIntegerText(pair)), column, row, db) != 0)
        return false;
    double formX = db.Forms[type].FormX, formY = db.Forms[type].FormY;
    part = QuadPart(quadIndex, column / formX, row / formY, 1 / formX, 1 / formY, db);
    return true;
}

// A large square or one of its cells means all of it: the area around that
// part of every record of the name that has it (a large square drawn on
// several charts, as AM, is several records), converted to the area's
// centre.  The first such record is the chosen one; the chart is 1 only
// when every part lies on chart 1, else the first other part's chart.
ConversionResult ConvertCoarseCode(const std::string &code, const GridDatabase &db)
{
    char letters[3] = {code[0], code[1], 0};
    MatchCount = FindQuadsByName(letters, db);
    if (MatchCount == 0)
        return Failed(code, ConvertStatus::GridNotFound);
    int16_t first = -1, chart = 0;
    GridBounds area = {};
    for (int i = 0; i < MatchCount; ++i) {
        GridBounds part;
        if (!CoarsePart(code, MatchList[i], db, part))
            continue;
        int16_t partChart = db.Quads[MatchList[i]].Chart;
        if (first < 0) {
            first = MatchList[i];
            area = part;
            chart = partChart;
        } else {
            area = JoinBounds(area, part);
            chart = chart == 1 ? partChart : chart;
        }
    }
    if (first < 0)
        return Failed(code, ConvertStatus::PositionNotFound);
    ConversionResult result = Converted(code, first, Centre(area), area, db);
    result.Chart = chart;
    return result;
}

// Whether a digit pair has a 0 where no cell of the matched records'
// layouts has one, written with two digits (cells 1 to 9 of a layout of
// two columns are written 01 to 09).
bool ZeroOutsideLayouts(const char pair[2], const GridDatabase &db)
{
    bool leading = pair[0] == '0', trailing = pair[1] == '0';
    for (int i = 0; i < MatchCount && (leading || trailing); ++i) {
        int16_t type = db.Quads[MatchList[i]].Quadtype;
        if (type < 0 || type >= kMaxQuadTypes)
            continue;
        const QuadForm &form = db.Forms[type];
        int cells = form.FormX >= 1 && form.FormY >= 1 ? form.FormX * form.FormY : 0;
        for (int c = 0; c < cells && c < kMaxFormCells; ++c) {
            int number = form.Numbers[c];
            leading = leading && !(number >= 0 && number < 10);
            trailing = trailing && !(number >= 0 && number % 10 == 0);
        }
    }
    return leading || trailing;
}

// What the digits of a code that names no square tell: the first pair has
// a 0 that the layouts do not have, or (when a record has the first pair's
// cell) the second pair has a 0, which no small square's number has.
// Empty when they tell nothing.  Reads the MatchList of the conversion.
std::string ZeroDigitFault(const std::string &code, const GridDatabase &db)
{
    if (code.size() < 4)
        return "";
    GridBounds cell;
    bool cellFound = false;
    for (int i = 0; i < MatchCount && !cellFound; ++i)
        cellFound = CoarsePart(code.substr(0, 4), MatchList[i], db, cell);
    std::string which;
    if (!cellFound && ZeroOutsideLayouts(code.c_str() + 2, db))
        which = "first pair " + code.substr(2, 2);
    else if (cellFound && code.size() == 6 && code.find('0', 4) != std::string::npos)
        which = "second pair " + code.substr(4, 2);
    return which.empty() ? "" : "the digits of a pair run 1-9 (" + which + ")";
}

} // namespace

// Letters first, then each matched record in table order; the last lookup
// result decides the message when none holds the code.  The field's cut
// to kCodeFieldLength characters needs no copy: the letters come first,
// and the lookup reads the text up to its first NUL, which is not six
// characters long whether cut or not when the text is longer.
ConversionResult ConvertCode(const std::string &code, const GridDatabase &db)
{
    const char *field = code.c_str();
    char letters[3] = {0, 0, 0};
    for (size_t i = 0; i < 2 && i < code.size(); ++i)
        letters[i] = field[i];
    MatchCount = FindQuadsByName(letters, db);
    if (MatchCount == 0)
        return Failed(code, ConvertStatus::GridNotFound);

    int16_t last = kLocateNotFound, quadIndex = -1;
    for (int i = 0; i < MatchCount; ++i) {
        last = LocateSubsquare(field, MatchList[i], db);
        if (last == kLocateFound) {
            quadIndex = MatchList[i];
            break;
        }
    }
    if (last != kLocateFound)
        return Failed(code, last == kLocateWrongLength ? ConvertStatus::WrongLength : ConvertStatus::PositionNotFound);

    const QuadForm &form = db.Forms[db.Quads[quadIndex].Quadtype];
    GridBounds square = QuadPart(quadIndex, SubsquareOffset.fracX, SubsquareOffset.fracY, 1.0 / (9 * form.FormX),
                                 1.0 / (9 * form.FormY), db);
    return Converted(code, quadIndex, ComputePosition(quadIndex, db), square, db);
}

// Reads the text, then converts what it names; a text that names no code
// keeps its bytes, without surrounding blanks, as Code and says why in Fault.
ConversionResult ConvertWrittenCode(const std::string &text, const GridDatabase &db)
{
    WrittenCode written = ReadWrittenCode(text);
    if (!written.Valid) {
        MatchCount = 0;
        const char blanks[] = " \t\r\n";
        size_t first = text.find_first_not_of(blanks);
        std::string trimmed = first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(blanks) - first + 1);
        return {trimmed, ConvertStatus::Unreadable, -1, 0, {0.0, 0.0}, "", "", {}, written.Fault};
    }
    ConversionResult result =
        written.Code.size() == 6 ? ConvertCode(written.Code, db) : ConvertCoarseCode(written.Code, db);
    if (result.Status == ConvertStatus::PositionNotFound)
        result.Fault = ZeroDigitFault(written.Code, db);
    return result;
}

// Only chart 1 earns the "Ok."; a code on another chart clears the field.
const char *ShownMessage(const ConversionResult &result)
{
    if (result.Status != ConvertStatus::Converted)
        return FailureMessage(result.Status);
    return result.Chart == 1 ? kOk : kOnOtherChart;
}

// The shown message without its leading and trailing blanks; an
// unreadable text's fault as it is.
std::string ConvertMessage(const ConversionResult &result)
{
    if (result.Status == ConvertStatus::Unreadable)
        return result.Fault;
    std::string text = FailureMessage(result.Status);
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    return result.Fault.empty() ? text : text + ": " + result.Fault;
}
