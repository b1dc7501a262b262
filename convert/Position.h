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

// The centre of the small square that the last successful LocateSubsquare
// found in this quad record.
GridPosition ComputePosition(int16_t quadIndex);

// Half the sides of the small squares of a quad record, in minutes, never
// negative; 0, 0 for a record that cannot be located.
GridPosition SmallSquareHalfSize(int16_t quadIndex);

// "55°7.50 N" / "0°30.00 S" in Windows-1252 (the degree sign is 0xB0).
void FormatLatitude(double latitudeMinutes, char text[kPositionTextSize]);

// "21°7.25 W" / "2°0.00 E".
void FormatLongitude(double longitudeMinutes, char text[kPositionTextSize]);

#endif
