// The CSV batch conversion, one record at a time.
#include "tools/orvanta-convert/CsvConvert.h"

#include <vector>

#include "tools/common/TextEncoding.h"
#include "convert/ConvertCode.h"
#include "tools/orvanta-convert/CsvStream.h"
#include "tools/orvanta-convert/MapFeature.h"

const char *const kAppendedColumns[6] = {"latitude", "longitude", "latitude_text", "longitude_text", "chart",
                                         "message"};

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

// Converts the record's code cell, or says why the record has none.
RowOutcome ConvertRow(const CsvRecord &record, size_t column)
{
    RowOutcome row;
    if (record.Unterminated) {
        row.Message = "quoted field not closed before the end of the input";
        return row;
    }
    if (column > record.Fields.size()) {
        row.Message = "no column " + std::to_string(column) + " in this row";
        return row;
    }
    row.Result = ConvertCode(NormalizeCode(record.Fields[column - 1]));
    row.Converted = row.Result.Status == ConvertStatus::Converted;
    row.Message = row.Converted ? "" : ConvertMessage(row.Result.Status);
    return row;
}

// The appended cells of a record, in the order of kAppendedColumns.
std::vector<std::string> AppendedCells(const RowOutcome &row, const CsvSettings &settings)
{
    if (!row.Converted)
        return {"", "", "", "", "", row.Message};
    int decimals = settings.Decimals >= 0 ? settings.Decimals : DefaultDecimals(OutputFormat::Decimal);
    OutputFormat texts = settings.Format == OutputFormat::Dms ? OutputFormat::Dms : OutputFormat::DegreesMinutes;
    return {LatitudeText(row.Result, OutputFormat::Decimal, decimals),
            LongitudeText(row.Result, OutputFormat::Decimal, decimals),
            LatitudeText(row.Result, texts, settings.Decimals),
            LongitudeText(row.Result, texts, settings.Decimals),
            std::to_string(ChartOf(row.Result)),
            ""};
}

// Writes the record's bytes untouched, then the cells and the record's own
// line end.
void WriteRecord(std::FILE *out, const CsvRecord &record, const std::vector<std::string> &cells, char delimiter)
{
    std::string line = record.Raw;
    if (record.Unterminated)
        line += '"';
    for (const std::string &cell : cells)
        line += delimiter + CsvField(cell, delimiter);
    line += record.LineEnd;
    std::fwrite(line.data(), 1, line.size(), out);
}

// The record as a feature: every cell under its column's name, then the
// code, the decimal position, the chart and the message.
MapFeature RowFeature(const CsvRecord &record, const std::vector<std::string> &names, const RowOutcome &row,
                      const std::vector<std::string> &cells)
{
    MapFeature feature;
    if (row.Converted)
        feature = CodeFeature(row.Result);
    for (size_t i = 0; i < record.Fields.size(); ++i)
        feature.Add(i < names.size() ? names[i] : "col" + std::to_string(i + 1), record.Fields[i]);
    feature.Add("code", row.Converted ? feature.Name : "");
    const size_t kept[] = {0, 1, 4, 5}; // latitude, longitude, chart, message
    for (size_t k : kept)
        feature.Add(kAppendedColumns[k], cells[k]);
    return feature;
}

} // namespace

// The header (when there is one) settles the column; blank lines pass
// through as they are.
bool ConvertCsvStream(std::FILE *in, CsvTarget &target, const CsvSettings &settings, CsvCounts &counts,
                      ProgressLine &progress, std::string &error)
{
    CsvReader reader(in);
    reader.SetDelimiter(settings.Delimiter);
    CsvRecord record;
    size_t column = ColumnNumber(settings.Column);
    bool headerPending = settings.Header;
    std::vector<std::string> names;
    if (column == 0 && !settings.Header) {
        error = "--csv needs a column number from 1 (a column name needs --header)";
        return false;
    }
    while (reader.Next(record)) {
        char delimiter = reader.FieldDelimiter();
        if (record.Raw.empty() && !record.Unterminated) {
            if (target.Csv)
                std::fwrite(record.LineEnd.data(), 1, record.LineEnd.size(), target.Csv);
            continue;
        }
        if (headerPending) {
            headerPending = false;
            names = record.Fields;
            for (size_t i = 0; column == 0 && i < names.size(); ++i)
                if (names[i] == settings.Column)
                    column = i + 1;
            if (column == 0) {
                error = "no column named '" + settings.Column + "' in the header row";
                return false;
            }
            if (target.Csv)
                WriteRecord(target.Csv, record, std::vector<std::string>(kAppendedColumns, kAppendedColumns + 6),
                            delimiter);
            continue;
        }
        RowOutcome row = ConvertRow(record, column);
        std::vector<std::string> cells = AppendedCells(row, settings);
        if (target.Csv)
            WriteRecord(target.Csv, record, cells, delimiter);
        else if (target.Map && !target.Map->Add(RowFeature(record, names, row, cells)))
            ++counts.LeftOut;
        ++(row.Converted ? counts.Converted : counts.Failed);
        progress.Tick();
    }
    return true;
}
