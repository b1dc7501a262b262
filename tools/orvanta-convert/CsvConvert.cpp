// The CSV batch conversion, one record at a time.
#include "tools/orvanta-convert/CsvConvert.h"

#include <iterator>
#include <vector>

#include "tools/common/MapLongitude.h"
#include "tools/common/OutputCheck.h"
#include "tools/common/TextEncoding.h"
#include "convert/ConvertCode.h"
#include "tools/orvanta-convert/CoordinateText.h"
#include "tools/orvanta-convert/CsvStream.h"
#include "tools/orvanta-convert/GridFiles.h"
#include "tools/orvanta-convert/LineReader.h"
#include "tools/orvanta-convert/MapFeature.h"

namespace {

// The appended columns before the message: every row's, then a square's.
const char *const kPointColumns[] = {"latitude", "longitude", "latitude_text", "longitude_text",
                                     "chart", "confidence", "precision_nm"};
const char *const kSquareColumns[] = {"south", "west", "north", "east"};

// How many cells come before the message.
size_t CellsBeforeMessage(bool squares)
{
    return std::size(kPointColumns) + (squares ? std::size(kSquareColumns) : 0);
}

} // namespace

std::vector<std::string> AppendedColumns(bool squares)
{
    std::vector<std::string> names(std::begin(kPointColumns), std::end(kPointColumns));
    if (squares)
        names.insert(names.end(), std::begin(kSquareColumns), std::end(kSquareColumns));
    names.push_back("message");
    return names;
}
const char *const kReverseColumns[2] = {"code", "message"};

namespace {

// A column number from 1; 0 when the text is not one.
size_t ColumnNumber(const std::string &text)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return static_cast<size_t>(std::stoul(text));
}

// What one record gives: the conversion, or the reason there is none.
struct RowOutcome {
    ConversionResult Result{};
    std::string Message;
    bool Converted = false;
};

// The record's cells of the columns, or why the record cannot give them.
bool TakeCells(const CsvRecord &record, const std::vector<size_t> &columns, std::vector<std::string> &cells,
               std::string &message)
{
    if (record.Overlong || record.Unterminated) {
        std::string line = std::to_string(record.Overlong ? record.Line : record.QuoteLine);
        message = record.Overlong ? "row on line " + line + " is longer than " + kMaxLineText + "; skipped"
                                  : "quote opened on line " + line + " is never closed; the row ends with that line";
        return false;
    }
    for (size_t column : columns) {
        if (column > record.Fields.size()) {
            message = "no column " + std::to_string(column) + " in this row";
            return false;
        }
        cells.push_back(record.Fields[column - 1]);
    }
    return true;
}

// Converts the record's code cell, or says why the record has none.
RowOutcome ConvertRow(const CsvRecord &record, const std::vector<size_t> &columns)
{
    RowOutcome row;
    std::vector<std::string> cells;
    if (!TakeCells(record, columns, cells, row.Message))
        return row;
    row.Result = ConvertInGrids(cells[0]);
    row.Converted = row.Result.Status == ConvertStatus::Converted;
    row.Message = row.Converted ? "" : ConvertMessage(row.Result);
    return row;
}

// The codes whose small squares hold the record's position, or why there
// are none; one blank between codes.
std::vector<std::string> ReverseCells(const CsvRecord &record, const std::vector<size_t> &columns)
{
    std::vector<std::string> cells;
    std::string message, codes;
    if (!TakeCells(record, columns, cells, message))
        return {"", message};
    CoordinateReading lat = ReadCoordinate(cells[0], true), lon = ReadCoordinate(cells[1], false);
    if (!lat.Ok || !lon.Ok)
        return {"", lat.Ok ? lon.Error : lat.Error};
    codes = CodesInGrids(lat.Minutes, lon.Minutes);
    return {codes, codes.empty() ? OutsideTheGrids() : ""};
}

// A header name with its letters in lower case: ASCII, and the Latin-1
// capitals in UTF-8 (such as Ä, Ö, Ü).
std::string Folded(const std::string &name)
{
    std::string folded = name;
    for (size_t i = 0; i < folded.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(folded[i]);
        if (c >= 'A' && c <= 'Z')
            folded[i] = static_cast<char>(c + 32);
        else if (c == 0xC3 && i + 1 < folded.size()) {
            unsigned char next = static_cast<unsigned char>(folded[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97)
                folded[i + 1] = static_cast<char>(next + 32);
            ++i;
        }
    }
    return folded;
}

// The column a name gives in the header: the first of that exact name,
// else the one column whose name differs only in case; 0 with the reason
// when there is none or more than one.
size_t HeaderColumn(const std::vector<std::string> &header, const std::string &given, std::string &error)
{
    for (size_t i = 0; i < header.size(); ++i)
        if (header[i] == given)
            return i + 1;
    std::string folded = Folded(given);
    size_t column = 0, count = 0;
    for (size_t i = 0; i < header.size(); ++i)
        if (Folded(header[i]) == folded) {
            column = column ? column : i + 1;
            ++count;
        }
    if (count > 1)
        error = "'" + given + "' names " + std::to_string(count) + " columns when case is ignored; give one as the header writes it";
    else if (count == 0)
        error = "no column named '" + given + "' in the header row";
    return count == 1 ? column : 0;
}

// The column numbers the settings name: one code column, or a latitude and
// a longitude column with Reverse; names are looked up in the header.
bool FindColumns(const CsvSettings &settings, const std::vector<std::string> *header, std::vector<size_t> &columns,
                 std::string &error)
{
    std::vector<std::string> wanted(1);
    for (char c : settings.Column)
        if (c == ',' && settings.Reverse)
            wanted.emplace_back();
        else
            wanted.back() += c;
    if (wanted.size() != (settings.Reverse ? 2u : 1u)) {
        error = "--reverse --csv needs two columns, LATCOL,LONCOL";
        return false;
    }
    columns.clear();
    for (const std::string &given : wanted) {
        size_t column = ColumnNumber(given);
        if (column == 0 && !header) {
            error = "--csv needs a column number from 1 (a column name needs --header)";
            return false;
        }
        if (column == 0 && (column = HeaderColumn(*header, ValidUtf8(given), error)) == 0)
            return false;
        columns.push_back(column);
    }
    return true;
}

// A row that is not valid UTF-8 is taken for Windows-1252, as spreadsheets
// on Western European Windows save it, and recoded; its structure (quotes,
// separators, line ends) is ASCII and stays where it was.
void RecodeRecord(CsvRecord &record)
{
    bool valid = IsValidUtf8(record.Raw);
    for (size_t i = 0; valid && i < record.Fields.size(); ++i)
        valid = IsValidUtf8(record.Fields[i]);
    if (valid)
        return;
    record.Raw = Cp1252ToUtf8(record.Raw);
    for (std::string &field : record.Fields)
        field = Cp1252ToUtf8(field);
}

// Whether a record is a blank line, which passes through as it is.
bool IsBlank(const CsvRecord &record)
{
    return record.Raw.empty() && !record.Unterminated && !record.Overlong;
}

// A square's west or east edge in degrees east within -180..180, so that
// a square across the 180th meridian has its west edge above its east
// one; a value the wrap refuses (only a hostile data file holds one) as
// it is.
std::string EdgeText(double westMinutes, int decimals)
{
    double east = 0;
    if (!LongitudeDegreesEast(westMinutes, east))
        return DecimalDegreesText(westMinutes, true, decimals);
    return DegreesText(east, decimals);
}

// The appended cells of a record, in the order of AppendedColumns.
std::vector<std::string> AppendedCells(const RowOutcome &row, const CsvSettings &settings)
{
    std::vector<std::string> cells;
    cells.reserve(CellsBeforeMessage(settings.Squares) + 1);
    if (!row.Converted)
        cells.resize(CellsBeforeMessage(settings.Squares));
    else {
        const ConversionResult &r = row.Result;
        int decimals = settings.Decimals >= 0 ? settings.Decimals : DefaultDecimals(OutputFormat::Decimal);
        OutputFormat texts = settings.Format == OutputFormat::Dms ? OutputFormat::Dms : OutputFormat::DegreesMinutes;
        cells = {DecimalDegreesText(r.Position.Latitude, false, decimals),
                 DecimalDegreesText(r.Position.Longitude, true, decimals),
                 LatitudeText(r, texts, settings.Decimals),
                 LongitudeText(r, texts, settings.Decimals),
                 std::to_string(ChartOf(r)),
                 ChartMeaning(r),
                 PrecisionNm(r)};
        if (settings.Squares)
            cells.insert(cells.end(), {DecimalDegreesText(r.Bounds.South, false, decimals),
                                       EdgeText(r.Bounds.West, decimals),
                                       DecimalDegreesText(r.Bounds.North, false, decimals),
                                       EdgeText(r.Bounds.East, decimals)});
    }
    cells.push_back(row.Message);
    return cells;
}

// The record as a feature: every cell under its column's name, then the
// code and the appended cells but for the two texts.  A row that failed is
// named by its code cell (codeColumn counts from 1).
MapFeature RowFeature(const CsvRecord &record, const std::vector<std::string> &names, const RowOutcome &row,
                      const std::vector<std::string> &cells, size_t codeColumn, bool squares)
{
    MapFeature feature;
    if (row.Converted)
        feature = CodePlace(row.Result, squares);
    else if (codeColumn >= 1 && codeColumn <= record.Fields.size())
        feature.Name = ValidUtf8(record.Fields[codeColumn - 1]);
    for (size_t i = 0; i < record.Fields.size(); ++i)
        feature.Add(i < names.size() ? ValidUtf8(names[i]) : "col" + std::to_string(i + 1), ValidUtf8(record.Fields[i]));
    feature.Add("code", row.Converted ? feature.Name : "");
    std::vector<std::string> columns = AppendedColumns(false);
    for (size_t k = 0; k < columns.size() - 1; ++k)
        if (columns[k].find("_text") == std::string::npos)
            feature.Add(columns[k], cells[k], columns[k] == "chart"        ? MapFeature::Kind::Integer
                                              : columns[k] == "confidence" ? MapFeature::Kind::Text
                                                                           : MapFeature::Kind::Real);
    feature.Add("message", cells.back());
    return feature;
}

} // namespace

// Writes bytes of the CSV output: first a byte-order mark when the output
// starts with a stream that had one, or the line end that the last row
// lacked.
void CsvConversion::Emit(const std::string &bytes, const std::string &lineEnd)
{
    if (bytes.empty() && lineEnd.empty())
        return;
    static std::string text; // one buffer for every record
    text.assign(!Written && HeaderMark ? "\xEF\xBB\xBF" : "");
    if (OpenLine)
        text += LastLineEnd;
    text += bytes;
    text += lineEnd;
    std::fwrite(text.data(), 1, text.size(), Target.Csv);
    Written = true;
    OpenLine = lineEnd.empty();
    if (!lineEnd.empty())
        LastLineEnd = lineEnd.size() > 1 && lineEnd[lineEnd.size() - 2] == '\r' ? "\r\n" : "\n";
}

// Writes the record's bytes untouched, or its cells anew when its stream
// has another separator than the output, then the added cells and the
// record's own line end.
void CsvConversion::WriteRecord(const CsvRecord &record, char delimiter, const std::vector<std::string> &cells)
{
    static std::string line; // one buffer for every record
    line.clear();
    if (delimiter == Delimiter) {
        line.assign(record.Raw);
        if (record.Unterminated)
            line += '"';
    } else {
        for (size_t i = 0; i < record.Fields.size(); ++i) {
            std::string field = record.Fields[i];
            if (record.Unterminated && i + 1 == record.Fields.size()) // the rest of it is read again
                field = field.substr(0, field.find_first_of("\r\n"));
            if (i)
                line += Delimiter;
            AppendCsvField(line, field, Delimiter);
        }
    }
    for (const std::string &cell : cells) {
        line += Delimiter;
        AppendCsvField(line, cell, Delimiter);
    }
    Emit(line, record.LineEnd);
}

// The first header's cells settle the columns.
bool CsvConversion::TakeColumns(std::string &error)
{
    return FindColumns(Settings, Settings.Header ? &Names : nullptr, Columns, error);
}

// Blank lines before the header are kept with it.
bool CsvConversion::TakeHeader(CsvReader &reader, std::string &error)
{
    if (!Settings.Header)
        return true;
    CsvRecord record;
    std::string blanks;
    bool found = false;
    while (!found && reader.Next(record)) {
        RecodeRecord(record);
        found = !IsBlank(record);
        if (!found)
            blanks += record.LineEnd;
    }
    if (!found) { // blank lines alone pass through as they are
        if (!HaveHeader)
            HeaderBlanks = blanks;
        return true;
    }
    if (HaveHeader) {
        if (record.Fields == Names)
            return true;
        error = "its header row differs from the first file's; convert it on its own";
        return false;
    }
    HaveHeader = true;
    Names = record.Fields;
    HeaderRaw = record.Raw;
    HeaderLineEnd = record.LineEnd;
    HeaderBlanks = blanks;
    HeaderMark = reader.ByteOrderMark();
    if (!Delimiter)
        Delimiter = reader.FieldDelimiter();
    return TakeColumns(error);
}

bool CsvConversion::Convert(CsvReader &reader, std::string &error)
{
    if (!Settings.Header && Columns.empty() && !TakeColumns(error))
        return false;
    if (Target.Csv && HaveHeader && !HeaderWritten) {
        HeaderWritten = true;
        CsvRecord header;
        header.Raw = HeaderRaw;
        header.LineEnd = HeaderLineEnd;
        Emit("", HeaderBlanks);
        if (Settings.Reverse)
            WriteRecord(header, Delimiter, {kReverseColumns[0], kReverseColumns[1]});
        else
            WriteRecord(header, Delimiter, AppendedColumns(Settings.Squares));
    }
    if (Target.Csv && Settings.Header && !HaveHeader) {
        Emit("", HeaderBlanks);
        HeaderBlanks.clear();
    }
    CsvRecord record;
    while (!OutputFailed() && reader.Next(record)) {
        RecodeRecord(record);
        if (!Delimiter)
            Delimiter = reader.FieldDelimiter();
        if (!Written && !HaveHeader)
            HeaderMark = reader.ByteOrderMark();
        char delimiter = reader.FieldDelimiter();
        if (IsBlank(record)) {
            if (Target.Csv)
                Emit("", record.LineEnd);
            continue;
        }
        Progress.Tick();
        if (Settings.Reverse) {
            std::vector<std::string> cells = ReverseCells(record, Columns);
            if (Target.Csv)
                WriteRecord(record, delimiter, cells);
            ++(cells[0].empty() ? Counts.Failed : Counts.Converted);
            continue;
        }
        RowOutcome row = ConvertRow(record, Columns);
        std::vector<std::string> cells = AppendedCells(row, Settings);
        if (Target.Csv)
            WriteRecord(record, delimiter, cells);
        else if (Target.Map && !Target.Map->Add(RowFeature(record, Names, row, cells, Columns.at(0), Settings.Squares)))
            ++Counts.LeftOut;
        ++(row.Converted ? Counts.Converted : Counts.Failed);
    }
    if (reader.ReadError()) {
        error = "read error";
        return false;
    }
    return true;
}

bool ConvertCsvStream(std::FILE *in, CsvTarget &target, const CsvSettings &settings, CsvCounts &counts,
                      ProgressLine &progress, std::string &error)
{
    CsvReader reader(in);
    reader.SetDelimiter(settings.Delimiter);
    CsvConversion conversion(target, settings, counts, progress);
    return conversion.TakeHeader(reader, error) && conversion.Convert(reader, error);
}
