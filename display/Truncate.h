// Guarded conversion of real numbers to integers: truncation toward zero,
// with values outside the target range (and NaN) pinned to that range
// instead of being undefined.
#ifndef ORVANTA_DISPLAY_TRUNCATE_H
#define ORVANTA_DISPLAY_TRUNCATE_H

#include <cstdint>

// Truncates value toward zero and clamps it to [low, high]; NaN gives the
// value of that range nearest to zero.
int32_t TruncateClamped(double value, int32_t low, int32_t high);

// The same into the range of a 16-bit signed integer.
int16_t TruncateToInt16(double value);

#endif
