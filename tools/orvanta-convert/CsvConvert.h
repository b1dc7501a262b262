// orvanta-convert --csv: the code column of each record converted, and the
// record written back with its position appended, or written as a map
// feature that carries all of the record's cells.
#ifndef ORVANTA_TOOLS_CSVCONVERT_H
#define ORVANTA_TOOLS_CSVCONVERT_H

#include <cstdio>
#include <string>
#include <vector>

#include "tools/orvanta-convert/MapFeature.h"
#include "tools/orvanta-convert/ProgressLine.h"
#include "tools/orvanta-convert/ResultFormat.h"

struct CsvSettings {
    std::string Column;   // a 1-based number, or a header name; LATCOL,LONCOL with Reverse
    bool Header = false;  // the first record names the columns
    OutputFormat Format = OutputFormat::DegreesMinutes; // of the two text columns
    int Decimals = -1;    // of the decimal columns; below 0: six
    char Delimiter = 0;   // 0: found from the first line
    bool Reverse = false; // the columns hold a position: append its codes
    bool Squares = false; // append the square's bounds (CSV), draw the square (maps)
};

// Where the records go: CSV to a stream, or features to a map writer.
struct CsvTarget {
    std::FILE *Csv = nullptr;
    FeatureSink *Map = nullptr;
};

struct CsvCounts {
    long long Converted = 0;
    long long Failed = 0;
    long long LeftOut = 0; // failed rows a map format cannot hold
};

// The names of the cells appended to each CSV record, in order: latitude,
// longitude, latitude_text, longitude_text, chart, confidence,
// precision_nm, with squares south, west, north, east, then message.
std::vector<std::string> AppendedColumns(bool squares);

// The same with Reverse: the codes of the position, separated by blanks.
extern const char *const kReverseColumns[2];

class CsvReader;
struct CsvRecord;

// One output made of one or more CSV streams.  With Header the first
// stream's header row names the columns of every stream and is written
// once; each later stream's header must have the same cells.  The output
// takes the first stream's separator: the rows of a stream separated by
// another are written anew with it.  Each stream's last row ends where the
// stream ends, with a line end when another row follows.  The output is
// UTF-8: a row that is not valid UTF-8 is read as Windows-1252 and
// written recoded, and a byte-order mark at the start of the stream the
// output starts with is kept.
class CsvConversion {
public:
    CsvConversion(CsvTarget &target, const CsvSettings &settings, CsvCounts &counts, ProgressLine &progress)
        : Target(target), Settings(settings), Counts(counts), Progress(progress)
    {
    }

    // Reads a stream's header row (with Header; nothing without): the first
    // one settles the columns, a later one must match it.  false with a
    // reason when the column is not there or the header differs; writes
    // nothing, so that every stream's header can be checked first.
    bool TakeHeader(CsvReader &reader, std::string &error);

    // Converts the stream's rows after its header (which TakeHeader read).
    bool Convert(CsvReader &reader, std::string &error);

    // Without Header, settles the columns from the settings alone before
    // any input is read; false with a reason when they name no column.
    bool TakeColumnsGiven(std::string &error) { return Settings.Header || TakeColumns(error); }

private:
    bool TakeColumns(std::string &error);
    void Emit(const std::string &bytes, const std::string &lineEnd);
    void WriteRecord(const CsvRecord &record, char delimiter, const std::vector<std::string> &cells);

    CsvTarget &Target;
    const CsvSettings &Settings;
    CsvCounts &Counts;
    ProgressLine &Progress;
    bool HaveHeader = false;          // the first header row has been read
    std::vector<std::string> Names;   // its cells
    std::string HeaderRaw, HeaderLineEnd, HeaderBlanks; // its bytes, and the blank lines before it
    bool HeaderMark = false;          // its stream started with a byte-order mark
    bool HeaderWritten = false;
    std::vector<size_t> Columns;
    char Delimiter = 0;               // of the output; 0 until the first row settles it
    bool Written = false;             // anything written to the CSV output
    bool OpenLine = false;            // the last row written had no line end
    std::string LastLineEnd = "\n";
};

// Converts one stream record by record; false with a reason when the
// column cannot be found in the header or is not a column number.  Stops
// at the first failed write to standard output.
bool ConvertCsvStream(std::FILE *in, CsvTarget &target, const CsvSettings &settings, CsvCounts &counts,
                      ProgressLine &progress, std::string &error);

#endif
