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
        for (size_t i = 0; header && column == 0 && i < header->size(); ++i)
            if ((*header)[i] == given)
                column = i + 1;
        if (column == 0) {
            error = header ? "no column named '" + given + "' in the header row"
                           : "--csv needs a column number from 1 (a column name needs --header)";
            return false;
        }
        columns.push_back(column);
    }
    return true;
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

// Writes the record's bytes untouched, then the cells and the record's own
// line end.
void WriteRecord(std::FILE *out, const CsvRecord &record, const std::vector<std::string> &cells, char delimiter)
{
    static std::string line; // one buffer for every record
    line.assign(record.Raw);
    if (record.Unterminated)
        line += '"';
    for (const std::string &cell : cells) {
        line += delimiter;
        AppendCsvField(line, cell, delimiter);
    }
    line += record.LineEnd;
    std::fwrite(line.data(), 1, line.size(), out);
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
            feature.Add(columns[k], cells[k]);
    feature.Add("message", cells.back());
    return feature;
}

} // namespace

// The header (when there is one) settles the columns; blank lines pass
// through as they are.
bool ConvertCsvStream(std::FILE *in, CsvTarget &target, const CsvSettings &settings, CsvCounts &counts,
                      ProgressLine &progress, std::string &error)
{
    CsvReader reader(in);
    reader.SetDelimiter(settings.Delimiter);
    CsvRecord record;
    std::vector<size_t> columns;
    bool headerPending = settings.Header;
    std::vector<std::string> names;
    if (!settings.Header && !FindColumns(settings, nullptr, columns, error))
        return false;
    while (!OutputFailed() && reader.Next(record)) {
        char delimiter = reader.FieldDelimiter();
        if (record.Raw.empty() && !record.Unterminated && !record.Overlong) {
            if (target.Csv)
                std::fwrite(record.LineEnd.data(), 1, record.LineEnd.size(), target.Csv);
            continue;
        }
        if (headerPending) {
            headerPending = false;
            names = record.Fields;
            if (!FindColumns(settings, &names, columns, error))
                return false;
            if (target.Csv && settings.Reverse)
                WriteRecord(target.Csv, record, {kReverseColumns[0], kReverseColumns[1]}, delimiter);
            else if (target.Csv)
                WriteRecord(target.Csv, record, AppendedColumns(settings.Squares), delimiter);
            continue;
        }
        progress.Tick();
        if (settings.Reverse) {
            std::vector<std::string> cells = ReverseCells(record, columns);
            WriteRecord(target.Csv, record, cells, delimiter);
            ++(cells[0].empty() ? counts.Failed : counts.Converted);
            continue;
        }
        RowOutcome row = ConvertRow(record, columns);
        std::vector<std::string> cells = AppendedCells(row, settings);
        if (target.Csv)
            WriteRecord(target.Csv, record, cells, delimiter);
        else if (target.Map && !target.Map->Add(RowFeature(record, names, row, cells, columns.at(0), settings.Squares)))
            ++counts.LeftOut;
        ++(row.Converted ? counts.Converted : counts.Failed);
    }
    if (std::ferror(in)) {
        error = "read error";
        return false;
    }
    return true;
}
