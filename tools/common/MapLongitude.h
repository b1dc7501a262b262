// Longitudes of the program (minutes, positive west) brought into the one
// turn of the globe that map formats accept.
#ifndef ORVANTA_TOOLS_MAPLONGITUDE_H
#define ORVANTA_TOOLS_MAPLONGITUDE_H

// Minutes in one turn of the globe.
const double kMinutesPerTurn = 21600;

// Sets wrapped to the same meridian within -10800 (excluded) to 10800
// (included) minutes west, that is -180 to 180 degrees east with 180 W
// written -180; exact for every value.  False for a value that is not
// finite or a hundred turns or more away, where a double no longer
// resolves a small square and the data cannot be meant.
bool WrapLongitudeMinutes(double westMinutes, double &wrapped);

// The same meridian in degrees east within -180 (included) to 180
// (excluded), from one wrap and one division; false as above.
bool LongitudeDegreesEast(double westMinutes, double &degreesEast);

#endif
