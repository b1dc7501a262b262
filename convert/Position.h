// Position of a coded small square's centre, and its texts.
#ifndef ORVANTA_CONVERT_POSITION_H
#define ORVANTA_CONVERT_POSITION_H

#include <cstddef>
#include <cstdint>

#include "data/GridDatabase.h"

// Room for any text the formatters make, whatever floats the data held
// (about 70 characters at the float limits); a position within +-180
// degrees takes at most 11 characters.  Longer texts are cut to fit.
enum : int { kPositionTextSize = 96 };

// Minutes of arc: latitude positive north, longitude positive west.
struct GridPosition {
    double Latitude;
    double Longitude;
};

// An area of the grid in minutes: latitudes north positive, longitudes
// west positive (West >= East, South <= North).  The longitudes are those
// of the quad record, so an area across the 180th meridian may reach past
// +-180 degrees on one side.
struct GridBounds {
    double South, West, North, East;
};

// The part of a quad record that starts fracX, fracY into its extent
// (fractions from its corner, as SubsquareOffset) and is width x height
// fractions large; all zero for a record that cannot be read.
GridBounds QuadPart(int16_t quadIndex, double fracX, double fracY, double width, double height,
                    const GridDatabase &db = Grid);

// The smallest area that holds both a and b, each edge exact.  b's
// longitudes are first moved by whole turns to lie as near a's as they
// can, so that two parts of one large square written on either side of
// the 180th meridian join across it, not around the globe.
GridBounds JoinBounds(const GridBounds &a, const GridBounds &b);

// A longitude (minutes) up to a whole turn beyond +-180 degrees brought
// back by a turn, as a quad written across the 180th meridian needs; other
// values as they are.
double WithinHalfTurn(double longitude);

// The centre of the small square that the last successful LocateSubsquare
// found in this quad record.
GridPosition ComputePosition(int16_t quadIndex, const GridDatabase &db = Grid);

// "55°7.50 N" / "0°30.00 S" in Windows-1252 (the degree sign is 0xB0);
// returns the text's length.
size_t FormatLatitude(double latitudeMinutes, char text[kPositionTextSize]);

// "21°7.25 W" / "2°0.00 E"; returns the text's length.
size_t FormatLongitude(double longitudeMinutes, char text[kPositionTextSize]);

#endif
