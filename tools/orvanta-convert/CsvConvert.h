// orvanta-convert --csv: the code column of each record converted and the
// record written back with latitude, longitude and message cells appended.
#ifndef ORVANTA_TOOLS_CSVCONVERT_H
#define ORVANTA_TOOLS_CSVCONVERT_H

#include <cstdio>
#include <string>

#include "tools/orvanta-convert/ProgressLine.h"
#include "tools/orvanta-convert/ResultFormat.h"

struct CsvSettings {
    std::string Column;   // a 1-based number, or a header name
    bool Header = false;  // the first record names the columns
    OutputFormat Format = OutputFormat::DegreesMinutes;
    int Decimals = -1;    // below 0: the format's default
};

struct CsvCounts {
    long long Converted = 0;
    long long Failed = 0;
};

// Converts one stream record by record; false with a reason when the
// column cannot be found in the header or is not a column number.
bool ConvertCsvStream(std::FILE *in, std::FILE *out, const CsvSettings &settings, CsvCounts &counts,
                      ProgressLine &progress, std::string &error);

#endif
