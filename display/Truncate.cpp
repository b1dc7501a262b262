// Guarded real-to-integer conversions shared by the two views.
#include "display/Truncate.h"

#include <cmath>

// Clamps first in double precision, so the cast itself is always defined.
int32_t TruncateClamped(double value, int32_t low, int32_t high) {
    if (std::isnan(value)) {
        if (low > 0) return low;
        if (high < 0) return high;
        return 0;
    }
    if (value <= static_cast<double>(low)) return low;
    if (value >= static_cast<double>(high)) return high;
    return static_cast<int32_t>(value);
}

// Pins to -32768..32767.
int16_t TruncateToInt16(double value) {
    return static_cast<int16_t>(TruncateClamped(value, INT16_MIN, INT16_MAX));
}
