// The CSV batch conversion, one record at a time.
#include "tools/orvanta-convert/CsvConvert.h"

#include "tools/common/TextEncoding.h"
#include "convert/ConvertCode.h"
#include "tools/orvanta-convert/GridFiles.h"
#include "tools/orvanta-convert/CsvStream.h"
#include "tools/orvanta-convert/LineReader.h"

namespace {

// A column number from 1; 0 when the text is not one.
size_t ColumnNumber(const std::string &text)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return static_cast<size_t>(std::stoul(text));
}

// Writes the record's bytes untouched, then the three new cells and the
// record's own line end.
void WriteRecord(std::FILE *out, const CsvRecord &record, const std::string &lat, const std::string &lon,
                 const std::string &message)
{
    std::string line = record.Raw;
    if (record.Unterminated)
        line += '"';
    line += "," + CsvField(lat) + "," + CsvField(lon) + "," + CsvField(message) + record.LineEnd;
    std::fwrite(line.data(), 1, line.size(), out);
}

// The cells of one data record.
void ConvertRecord(std::FILE *out, const CsvRecord &record, size_t column, OutputFormat format, CsvCounts &counts)
{
    if (record.Overlong || record.Unterminated) {
        std::string line = std::to_string(record.Overlong ? record.Line : record.QuoteLine);
        WriteRecord(out, record, "", "",
                    record.Overlong ? "row on line " + line + " is longer than " + kMaxLineText + "; skipped"
                                    : "quote opened on line " + line + " is never closed; the row ends with that line");
        ++counts.Failed;
        return;
    }
    if (column > record.Fields.size()) {
        WriteRecord(out, record, "", "", "no column " + std::to_string(column) + " in this row");
        ++counts.Failed;
        return;
    }
    ConversionResult result = ConvertInGrids(record.Fields[column - 1]);
    if (result.Status != ConvertStatus::Converted) {
        WriteRecord(out, record, "", "", ConvertMessage(result));
        ++counts.Failed;
        return;
    }
    if (format == OutputFormat::Decimal)
        WriteRecord(out, record, DecimalDegreesText(result.Position.Latitude, false),
                    DecimalDegreesText(result.Position.Longitude, true), "");
    else
        WriteRecord(out, record, Cp1252ToUtf8(result.LatitudeText), Cp1252ToUtf8(result.LongitudeText), "");
    ++counts.Converted;
}

} // namespace

// The header (when there is one) settles the column; blank lines pass
// through as they are.
bool ConvertCsvStream(std::FILE *in, std::FILE *out, const CsvSettings &settings, CsvCounts &counts,
                      ProgressLine &progress, std::string &error)
{
    CsvReader reader(in);
    CsvRecord record;
    size_t column = ColumnNumber(settings.Column);
    bool headerPending = settings.Header;
    if (column == 0 && !settings.Header) {
        error = "--csv needs a column number from 1 (a column name needs --header)";
        return false;
    }
    while (reader.Next(record)) {
        if (record.Raw.empty() && !record.Unterminated && !record.Overlong) {
            std::fwrite(record.LineEnd.data(), 1, record.LineEnd.size(), out);
            continue;
        }
        if (headerPending) {
            headerPending = false;
            for (size_t i = 0; column == 0 && i < record.Fields.size(); ++i)
                if (record.Fields[i] == settings.Column)
                    column = i + 1;
            if (column == 0) {
                error = "no column named '" + settings.Column + "' in the header row";
                return false;
            }
            WriteRecord(out, record, "latitude", "longitude", "message");
            continue;
        }
        ConvertRecord(out, record, column, settings.Format, counts);
        progress.Tick();
    }
    if (std::ferror(in)) {
        error = "read error";
        return false;
    }
    return true;
}
