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

// Converts one stream record by record; false with a reason when the
// column cannot be found in the header or is not a column number.  Stops
// at the first failed write to standard output.
bool ConvertCsvStream(std::FILE *in, CsvTarget &target, const CsvSettings &settings, CsvCounts &counts,
                      ProgressLine &progress, std::string &error);

#endif
