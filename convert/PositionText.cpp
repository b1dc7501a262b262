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

// The digits "00" to "99".
const char kDigitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                           "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                           "8081828384858687888990919293949596979899";

// Writes a number below 100 with two digits.
char *PutPair(char *out, unsigned pair)
{
    out[0] = kDigitPairs[2 * pair];
    out[1] = kDigitPairs[2 * pair + 1];
    return out + 2;
}

// WriteScaled for the numbers of nearly every text: whole degrees below
// 1000, or hundredths of minutes below 100000 with 2 decimals.  The whole
// part's three places are always written, its digits first, and the end
// moved past the digits (the buffer has room for the places past them).
char *WriteSmall(uint64_t n, int decimals, char *out)
{
    unsigned whole = decimals == 2 ? static_cast<unsigned>(n / 100) : static_cast<unsigned>(n);
    if (n >= 100000 || whole >= 1000 || (decimals != 0 && decimals != 2))
        return WriteScaled(n, decimals, out);
    char hundreds = static_cast<char>('0' + whole / 100), tens = static_cast<char>('0' + whole / 10 % 10),
         ones = static_cast<char>('0' + whole % 10);
    int length = 1 + (whole >= 10) + (whole >= 100);
    out[0] = length == 3 ? hundreds : length == 2 ? tens : ones;
    out[1] = length == 3 ? tens : ones;
    out[2] = ones;
    out += length;
    if (decimals == 2) {
        *out++ = '.';
        out = PutPair(out, static_cast<unsigned>(n % 100));
    }
    return out;
}

// The text of ordinary values: fewer than a million degrees and minutes
// whose hundredths FormatFixed's shortcut settles, written straight into
// the text, as the general path would write it; false when FormatMinutes
// must take its general path.  Returns the length, 0 for the general path.
size_t FormatMinutesFast(double degrees, double minutes, char letter, char text[kPositionTextSize])
{
    uint64_t hundredths;
    if (!(degrees < kFastDegrees) || std::signbit(minutes) || !RoundFixedFast(minutes, 2, hundredths))
        return 0;
    if (hundredths == kWholeDegree) {
        degrees += 1.0;
        hundredths = 0;
    }
    char *end = WriteSmall(static_cast<uint64_t>(degrees), 0, text);
    *end++ = kDegreeSign;
    end = WriteSmall(hundredths, 2, end);
    *end++ = ' ';
    *end++ = letter;
    *end = '\0';
    return static_cast<size_t>(end - text);
}

// Degrees truncated toward zero (kept in a double, so that no float of a
// data file overflows them), the rest as minutes; a negative value prints
// both without sign and with the second letter.  Minutes that round to
// 60.00 are a whole degree more: 13 deg 59.996 prints as 14 deg 0.00.
// Returns the length of the text.
size_t FormatMinutes(double value, char positive, char negative, char text[kPositionTextSize])
{
    // No branch on the sign: the hemispheres of a list of codes come in no
    // order the processor could foretell.  The degrees of a value not below
    // zero are not below zero either, so their magnitude is taken always;
    // the minutes lose their sign bit only for a negative value.
    double degrees = std::fabs(std::trunc(value * kDegreesPerMinute));
    double minutes = value - std::copysign(degrees, value) * 60.0;
    uint64_t south = value < 0, bits;
    std::memcpy(&bits, &minutes, sizeof bits);
    bits &= ~(south << 63);
    std::memcpy(&minutes, &bits, sizeof bits);
    char letter = static_cast<char>(positive ^ ((positive ^ negative) & -static_cast<int>(south)));
    if (size_t length = FormatMinutesFast(degrees, minutes, letter, text))
        return length;
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
    return length;
}

} // namespace

// "55°7.50 N" for a latitude at or north of the equator, "0°30.00 S" south.
size_t FormatLatitude(double latitudeMinutes, char text[kPositionTextSize])
{
    return FormatMinutes(latitudeMinutes, 'N', 'S', text);
}

// "21°7.25 W" for a longitude at or west of Greenwich, "2°0.00 E" east.
size_t FormatLongitude(double longitudeMinutes, char text[kPositionTextSize])
{
    return FormatMinutes(longitudeMinutes, 'W', 'E', text);
}
