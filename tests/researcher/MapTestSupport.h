// Helpers of the map output tests: what a writer left in a temporary file,
// and a small grid that crosses the 180th meridian.
#ifndef ORVANTA_TESTS_RESEARCHER_MAPTESTSUPPORT_H
#define ORVANTA_TESTS_RESEARCHER_MAPTESTSUPPORT_H

#include <cstdio>
#include <string>

#include "ScrambledText.h"

// Reads a temporary file from its start and closes it.
inline std::string TakeFileText(std::FILE *file)
{
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(file);
    return text;
}

// Two Chart 2 quads of one cell each: XA from 179 E across the 180th
// meridian to 179 W, XB from there to 177 W; 20 to 21 N.
inline std::string AntimeridianGrid()
{
    return CrLfLines({"Chart 2", "Quadtype 0", "NrOfQuadsX 2", "NrOfQuadsY 1", "DownLeftPos 20'00 -179'00",
                      "UpRightPos 21'00 -183'00", "QuadName XA,XB", "QuadDefinitions", "Type 0", "FormX 1",
                      "FormY 1", "Numbers:", "11"});
}

#endif
