// gridtool check: every fault a data maker can make in the plain keyword
// text of a data file, each with the line where it stands.
#ifndef ORVANTA_TOOLS_GRIDTOOL_DATAFILECHECKER_H
#define ORVANTA_TOOLS_GRIDTOOL_DATAFILECHECKER_H

#include <string>
#include <vector>

// One fault: the line (from 1) and what was expected there.
struct CheckProblem {
    int Line;
    std::string Message;
};

// What a checked text holds, for the closing line of a clean check.
struct CheckSummary {
    int Sections = 0;
    int Quads = 0;
    int Forms = 0;
};

// Walks the plain text in the loader's order of keyword slots and returns
// its faults ordered by line; an empty list means the loader reads the text
// as its maker meant it.
std::vector<CheckProblem> CheckPlainText(const std::string &plain, CheckSummary *summary = nullptr);

#endif
