// Builds small grid databases directly in the program's Grid for the
// conversion tests.
#ifndef ORVANTA_TESTS_CONVERT_GRIDFIXTURE_H
#define ORVANTA_TESTS_CONVERT_GRIDFIXTURE_H

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "convert/GridLookup.h"
#include "data/GridDatabase.h"

// A 9 x 9 form laid out like the standard numbering.
inline void SetStandardForm(int type)
{
    QuadForm &form = Grid.Forms[type];
    form.FormX = 9;
    form.FormY = 9;
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            form.Numbers[r * 9 + c] = StandardNumbering[r][c];
}

// A form of the given size with its numbers listed top row first.
inline void SetForm(int type, int formX, int formY, std::initializer_list<int> numbers)
{
    QuadForm &form = Grid.Forms[type];
    form.FormX = static_cast<int16_t>(formX);
    form.FormY = static_cast<int16_t>(formY);
    int n = 0;
    for (int number : numbers)
        form.Numbers[n++] = static_cast<int8_t>(number);
}

// Appends a quad record and returns its index.
inline int AddQuad(const char *name, int type, float downLeftLat = 0, float downLeftLon = 0,
                   float sizeLat = 90, float sizeLon = -180, int chart = 1)
{
    QuadRecord &quad = Grid.Quads[Grid.QuadCount];
    std::memset(quad.QuadName, 0, sizeof quad.QuadName);
    std::memcpy(quad.QuadName, name, std::min(std::strlen(name), sizeof quad.QuadName));
    quad.Chart = static_cast<int16_t>(chart);
    quad.Quadtype = static_cast<int16_t>(type);
    quad.DownLeftLat = downLeftLat;
    quad.DownLeftLon = downLeftLon;
    quad.SizeLat = sizeLat;
    quad.SizeLon = sizeLon;
    return Grid.QuadCount++;
}

// The made-up quad of the worked example: CD at 2916, 1800, extent 486
// north and 729 east, with the standard layout as its form.
inline int AddWorkedExampleQuad()
{
    SetStandardForm(0);
    return AddQuad("CD", 0, 2916, 1800, 486, -729);
}

// Clears the database and the lookup state before each test.
inline void ResetConversionState()
{
    ResetGridDatabase(Grid);
    MatchCount = 0;
    std::memset(MatchList, 0, sizeof MatchList);
    SubsquareOffset = {0.0f, 0.0f};
}

#endif
