// Everything gridtool knows about a data file's bytes: its plain text, the
// faults the checker finds, how it is encoded, and what the program's own
// loader makes of it.  check prints it; scramble refuses a faulty file.
#ifndef ORVANTA_TOOLS_GRIDTOOL_DATAFILEREVIEW_H
#define ORVANTA_TOOLS_GRIDTOOL_DATAFILEREVIEW_H

#include <string>
#include <vector>

#include "tools/gridtool/DataFileChecker.h"
#include "tools/common/DataFileText.h"

struct DataFileReview {
    DataFileText Text;
    std::vector<CheckProblem> Problems;  // ordered by line; empty when clean
    CheckSummary Summary;
    int LoadStatus = 0;                  // the program's loader's result
};

// Reviews the bytes of a plain or scrambled data file.
DataFileReview ReviewDataFile(const std::vector<unsigned char> &bytes);

// Where a plain text shows that it was saved as UTF-8 rather than
// Windows-1252 (a byte-order mark, or high bytes that all pair up as UTF-8
// sequences): the problem at the first such line, or Line 0 when it does
// not look like UTF-8.
CheckProblem FindUtf8Text(const std::string &plain);

#endif
