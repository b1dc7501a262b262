// What the checker gathered from a data file's text: the chart sections
// and quad forms as the loader would hold them, with their lines.
#ifndef ORVANTA_TOOLS_GRIDTOOL_CHECKEDGRID_H
#define ORVANTA_TOOLS_GRIDTOOL_CHECKEDGRID_H

#include <string>
#include <vector>

#include "data/GridDatabase.h"
#include "tools/gridtool/DataFileChecker.h"

// One chart section, with the values it carried over from the one before.
struct CheckedSection {
    int ChartLine = 0;
    int QuadtypeLine = 0;
    int Chart = 0;
    int Quadtype = 0;
    int NrOfQuadsX = 0;
    int NrOfQuadsY = 0;
    double DownLeftLat = 0, DownLeftLon = 0;
    double UpRightLat = 0, UpRightLon = 0;
    bool CornersRead = false;  // some section so far gave both corners
    std::vector<std::string> Names;
};

// One quad form as the definitions leave it.
struct CheckedForm {
    int Line = 0;  // of its latest "Type"; 0 when never defined
    int FormX = 0;
    int FormY = 0;
    std::vector<int> Numbers;
};

struct CheckedGrid {
    std::vector<CheckedSection> Sections;
    CheckedForm Forms[kMaxQuadTypes];
};

// Faults that only the whole grid shows: quads of two sections that cover
// the same ground, quad types used but never defined, names carried by more
// records than a lookup lists, more quads than the table holds.  Types are
// checked only when the definitions were read.
void CheckGridLayout(const CheckedGrid &grid, bool definitionsRead, std::vector<CheckProblem> &problems);

#endif
