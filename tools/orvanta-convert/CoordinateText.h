// Latitudes, longitudes and positions as diaries, books and charts write
// them: signed decimal degrees ("-14.0833"), a hemisphere letter before or
// after ("56.7333N", "N56°44'"), degrees and minutes with or without marks
// ("56°44.5'N", "56 44 N"), seconds ("56°44'30\"N"), and the program's own
// texts ("55°7.50 N", the degree sign in UTF-8 or Windows-1252).  Every
// reader of a coordinate text uses these functions.
#ifndef ORVANTA_TOOLS_COORDINATETEXT_H
#define ORVANTA_TOOLS_COORDINATETEXT_H

#include <string>

// The longest position text that is read (a line of a diary's position
// column is far shorter); longer texts are refused, which bounds the time
// taken to find where the latitude ends.
const size_t kMaxPositionText = 200;

// One coordinate read from a text.
struct CoordinateReading {
    bool Ok = false;
    double Minutes = 0;       // latitude north, longitude west positive, as the program keeps them
    bool Hemisphere = false;  // the text named its hemisphere with a letter
    bool Readable = false;    // on a failure: the text has a coordinate's shape, but a wrong value
    std::string Error;        // on a failure: what is wrong, in words
};

// Reads a latitude or a longitude.  Degrees with minutes need a hemisphere
// letter or a sign; minutes and seconds stay below 60; a latitude goes up
// to 90 degrees and a longitude to 180; a NUL byte makes the text none.
CoordinateReading ReadCoordinate(const std::string &text, bool isLatitude);

// The same, for callers that need no reason: false when the text is not a
// coordinate of that axis.
bool ParseCoordinate(const std::string &text, bool isLatitude, double &minutes);

// Reads a whole position: a latitude and a longitude separated by blanks, a
// comma, a semicolon or a TAB, or only by the latitude's hemisphere letter
// ("56°44'N14°05'W").  With hemisphere letters on both, the longitude may
// come first.  minutes as in CoordinateReading; false with the reason.
bool ReadPosition(const std::string &text, double &latitude, double &longitude, std::string &error);

#endif
