// One turn of the globe for map output.
#include "tools/common/MapLongitude.h"

#include <cmath>

namespace {

const double kFarMinutes = 100 * kMinutesPerTurn;

} // namespace

// fmod is exact, and so is the one step of a turn after it (the operands
// lie within a factor of two of each other).
bool WrapLongitudeMinutes(double westMinutes, double &wrapped)
{
    if (!std::isfinite(westMinutes) || std::fabs(westMinutes) >= kFarMinutes)
        return false;
    double w = std::fmod(westMinutes, kMinutesPerTurn);
    if (w > kMinutesPerTurn / 2)
        w -= kMinutesPerTurn;
    else if (w <= -kMinutesPerTurn / 2)
        w += kMinutesPerTurn;
    wrapped = w;
    return true;
}

// Wraps in minutes, where the wrap is exact, and divides once.
bool LongitudeDegreesEast(double westMinutes, double &degreesEast)
{
    double wrapped = 0;
    if (!WrapLongitudeMinutes(westMinutes, wrapped))
        return false;
    degreesEast = -wrapped / 60;
    return true;
}
