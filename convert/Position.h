// Position of a coded small square's centre, and its texts.
#ifndef ORVANTA_CONVERT_POSITION_H
#define ORVANTA_CONVERT_POSITION_H

#include <cstdint>

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
// west positive (West >= East, South <= North).
struct GridBounds {
    double South, West, North, East;
};

// The part of a quad record that starts fracX, fracY into its extent
// (fractions from its corner, as SubsquareOffset) and is width x height
// fractions large; all zero for a record that cannot be read.
GridBounds QuadPart(int16_t quadIndex, double fracX, double fracY, double width, double height);

// The centre of the small square that the last successful LocateSubsquare
// found in this quad record.
GridPosition ComputePosition(int16_t quadIndex);

// "55°7.50 N" / "0°30.00 S" in Windows-1252 (the degree sign is 0xB0).
void FormatLatitude(double latitudeMinutes, char text[kPositionTextSize]);

// "21°7.25 W" / "2°0.00 E".
void FormatLongitude(double longitudeMinutes, char text[kPositionTextSize]);

#endif
