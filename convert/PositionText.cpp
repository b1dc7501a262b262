// Latitude and longitude as whole degrees, decimal minutes and a letter.
#include <cmath>
#include <cstring>

#include "convert/DecimalFormat.h"
#include "convert/Position.h"

namespace {

// The double nearest to 1/60; the degrees are the value times it.
const double kDegreesPerMinute = 0.016666666666666666;
const char kDegreeSign[] = "\xB0"; // Windows-1252

// Degrees truncated toward zero (kept in a double, so that no float of a
// data file overflows them), the rest as minutes; a negative value prints
// both without sign and with the second letter.  Minutes that round to
// 60.00 are a whole degree more: 13 deg 59.996 prints as 14 deg 0.00.
void FormatMinutes(double value, char positive, char negative, char text[kPositionTextSize])
{
    double degrees = std::trunc(value * kDegreesPerMinute);
    double minutes = value - degrees * 60.0;
    char letter = positive;
    if (value < 0) {
        degrees = std::fabs(degrees);
        minutes = std::fabs(minutes);
        letter = negative;
    }
    char degreeText[kPositionTextSize];
    char minuteText[kPositionTextSize];
    FormatFixed(minutes, 2, minuteText, sizeof minuteText);
    if (std::strcmp(minuteText, "60.00") == 0) {
        degrees += 1.0;
        std::strcpy(minuteText, "0.00");
    }
    FormatWhole(degrees, degreeText, sizeof degreeText);

    const char *parts[] = {degreeText, kDegreeSign, minuteText, " "};
    int length = 0;
    for (const char *part : parts)
        for (; *part && length < kPositionTextSize - 2; ++part)
            text[length++] = *part;
    text[length++] = letter;
    text[length] = '\0';
}

} // namespace

// "55°7.50 N" for a latitude at or north of the equator, "0°30.00 S" south.
void FormatLatitude(double latitudeMinutes, char text[kPositionTextSize])
{
    FormatMinutes(latitudeMinutes, 'N', 'S', text);
}

// "21°7.25 W" for a longitude at or west of Greenwich, "2°0.00 E" east.
void FormatLongitude(double longitudeMinutes, char text[kPositionTextSize])
{
    FormatMinutes(longitudeMinutes, 'W', 'E', text);
}
