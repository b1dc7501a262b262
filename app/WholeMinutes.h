// Whole minutes of arc for the chart view's 16-bit centre.
#ifndef ORVANTA_APP_WHOLEMINUTES_H
#define ORVANTA_APP_WHOLEMINUTES_H

#include <cmath>
#include <cstdint>

// Truncates minutes toward zero; values beyond the 16-bit range (absurd
// data) saturate at its ends and a NaN gives 0, so no input is undefined.
inline int16_t WholeMinutes(double minutes)
{
    if (std::isnan(minutes))
        return 0;
    if (minutes >= 32767.0)
        return INT16_MAX;
    if (minutes <= -32768.0)
        return INT16_MIN;
    return static_cast<int16_t>(minutes);
}

#endif
