// Latitude and longitude as whole degrees, decimal minutes and a letter.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "convert/DecimalFormat.h"
#include "convert/Position.h"

namespace {

// The double nearest to 1/60; the degrees are the value times it.
const double kDegreesPerMinute = 0.016666666666666666;
const char kDegreeSign = '\xB0'; // Windows-1252

// The parts of a text take at most this many characters, leaving room for
// the letter and the terminator.
const size_t kPartsLength = kPositionTextSize - 2;

// Degrees below this take the short path; 60.00 minutes in hundredths.
const double kFastDegrees = 1e6;
const uint64_t kWholeDegree = 6000;

// Appends one character if it fits and returns the new length.
size_t AppendChar(char *text, size_t length, char c)
{
    if (length < kPartsLength)
        text[length++] = c;
    return length;
}

// The text of ordinary values: fewer than a million degrees and minutes
// whose hundredths FormatFixed's shortcut settles, written straight into
// the text, as the general path would write it; false when FormatMinutes
// must take its general path.
bool FormatMinutesFast(double degrees, double minutes, char letter, char text[kPositionTextSize])
{
    uint64_t hundredths;
    if (!(degrees < kFastDegrees) || std::signbit(minutes) || !RoundFixedFast(minutes, 2, hundredths))
        return false;
    if (hundredths == kWholeDegree) {
        degrees += 1.0;
        hundredths = 0;
    }
    char *end = WriteScaled(static_cast<uint64_t>(degrees), 0, text);
    *end++ = kDegreeSign;
    end = WriteScaled(hundredths, 2, end);
    *end++ = ' ';
    *end++ = letter;
    *end = '\0';
    return true;
}

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
    if (FormatMinutesFast(degrees, minutes, letter, text))
        return;
    // Minutes that round to 60.00 are the next degree.
    char minuteText[kPositionTextSize];
    FormatFixed(minutes, 2, minuteText, sizeof minuteText);
    if (std::strcmp(minuteText, "60.00") == 0) {
        degrees += 1.0;
        std::strcpy(minuteText, "0.00");
    }
    // Each number is written in place, cut to the room that is left.
    FormatWhole(degrees, text, kPartsLength + 1);
    size_t length = AppendChar(text, std::strlen(text), kDegreeSign);
    for (const char *c = minuteText; *c != '\0' && length < kPartsLength; ++c)
        text[length++] = *c;
    length = AppendChar(text, length, ' ');
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
