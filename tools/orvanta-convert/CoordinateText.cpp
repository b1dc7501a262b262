// The coordinate and position texts that the reverse lookup reads.
#include "tools/orvanta-convert/CoordinateText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/common/TextEncoding.h"

namespace {

const double kMinutesPerDegree = 60;

// Skips blanks.
void SkipBlanks(const char *&p)
{
    while (*p == ' ' || *p == '\t')
        ++p;
}

// Takes the text at p when it starts with one of the marks.
bool TakeMark(const char *&p, std::initializer_list<const char *> marks)
{
    for (const char *mark : marks) {
        size_t length = std::strlen(mark);
        if (std::strncmp(p, mark, length) == 0) { // stops at the text's terminator
            p += length;
            return true;
        }
    }
    return false;
}

// The degree sign (UTF-8 or Windows-1252) or the ordinal sign typed for it.
bool TakeDegreeMark(const char *&p)
{
    return TakeMark(p, {"\xC2\xB0", "\xC2\xBA", "\xB0"});
}

// An apostrophe, a prime or a right single quote; not two apostrophes,
// which mark seconds.
bool TakeMinuteMark(const char *&p)
{
    if (p[0] == '\'' && p[1] == '\'')
        return false;
    return TakeMark(p, {"'", "\xE2\x80\xB2", "\xE2\x80\x99", "\xB4"});
}

// A quote, two apostrophes, a double prime or a right double quote.
bool TakeSecondMark(const char *&p)
{
    return TakeMark(p, {"\"", "''", "\xE2\x80\xB3", "\xE2\x80\x9D"});
}

// Reads an unsigned decimal number (digits with an optional fraction, no
// exponent or hexadecimal form); false when there is none.
bool ReadNumber(const char *&p, double &value)
{
    const char *start = p;
    int digits = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        ++digits;
    if (*p == '.')
        for (++p; *p >= '0' && *p <= '9'; ++p)
            ++digits;
    if (digits == 0 || digits > 30) {
        p = start;
        return false;
    }
    value = std::strtod(std::string(start, p).c_str(), nullptr);
    return true;
}

bool IsHemisphereLetter(char c)
{
    return c != '\0' && std::strchr("NSEWnsew", c) != nullptr;
}

// A number for a message, without trailing zeros.
std::string NumberText(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    std::string s = text;
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.')
        s.pop_back();
    return s;
}

// The text without blanks, commas, semicolons and TABs at either end.
std::string TrimSeparators(const std::string &text)
{
    const char *separators = " \t,;";
    size_t first = text.find_first_not_of(separators);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(separators) - first + 1);
}

// A text as a message quotes it: its control bytes (a line break from a
// quoted CSV cell among them) and bytes that are not UTF-8 shown as
// U+FFFD, so that the message stays one line of plain UTF-8.
std::string Shown(const std::string &text)
{
    std::string shown;
    for (char c : ValidUtf8(text)) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            shown += "\xEF\xBF\xBD";
        else
            shown += c;
    }
    return shown;
}

// Whether a position text may be split before index i: at a blank or
// separator, or next to a hemisphere letter.
bool MaySplitAt(const std::string &text, size_t i)
{
    const char *separators = " \t,;";
    char before = text[i - 1], after = text[i];
    return std::strchr(separators, before) || std::strchr(separators, after) || IsHemisphereLetter(before) ||
           IsHemisphereLetter(after);
}

// A failed reading, with the shape flag set when the text was otherwise a
// coordinate.
CoordinateReading Failure(const std::string &error, bool readable)
{
    CoordinateReading reading;
    reading.Error = error;
    reading.Readable = readable;
    return reading;
}

// The parts of a coordinate text, before their values are checked.
struct CoordinateParts {
    char Hemisphere = '\0';
    bool Signed = false, Negative = false;
    double Values[3] = {0, 0, 0}; // degrees, minutes, seconds
    int Count = 0;
};

// Splits the text into hemisphere, sign and up to three numbers, each with
// its optional mark; false when anything else is there.
bool ScanCoordinate(const char *p, CoordinateParts &parts)
{
    SkipBlanks(p);
    if (IsHemisphereLetter(*p)) {
        parts.Hemisphere = *p++;
        SkipBlanks(p);
    }
    if (*p == '-' || *p == '+') {
        parts.Signed = true;
        parts.Negative = *p++ == '-';
    }
    bool (*marks[3])(const char *&) = {TakeDegreeMark, TakeMinuteMark, TakeSecondMark};
    bool separated = true; // a mark or a blank ends each number
    while (separated && parts.Count < 3 && ReadNumber(p, parts.Values[parts.Count])) {
        const char *afterNumber = p;
        marks[parts.Count++](p);
        SkipBlanks(p);
        separated = p != afterNumber;
    }
    if (parts.Count == 0)
        return false;
    if (!parts.Hemisphere && IsHemisphereLetter(*p)) {
        parts.Hemisphere = *p++;
        SkipBlanks(p);
    }
    return *p == '\0';
}

} // namespace

// Scans the parts, then checks each value and the hemisphere against the
// axis.
CoordinateReading ReadCoordinate(const std::string &text, bool isLatitude)
{
    const char *axis = isLatitude ? "latitude" : "longitude";
    std::string shown = Shown(TrimSeparators(text).substr(0, kMaxPositionText));
    CoordinateParts parts; // the scan stops at a NUL byte, which no coordinate holds
    if (text.size() > kMaxPositionText || text.find('\0') != std::string::npos || !ScanCoordinate(text.c_str(), parts))
        return Failure("cannot read '" + shown + "' as a " + axis, false);

    const char *positive = isLatitude ? "Nn" : "Ee", *negative = isLatitude ? "Ss" : "Ww";
    char letter = parts.Hemisphere;
    if (letter && parts.Signed)
        return Failure("'" + shown + "' has both a sign and a hemisphere letter", true);
    if (letter && !std::strchr(positive, letter) && !std::strchr(negative, letter))
        return Failure(std::string("'") + letter + "' names a " + (isLatitude ? "longitude" : "latitude") +
                           " where the " + axis + " belongs",
                       true);
    if (parts.Count > 1 && !letter && !parts.Signed)
        return Failure("degrees and minutes need a hemisphere letter (" +
                           std::string(isLatitude ? "N or S" : "E or W") + ") or a sign",
                       true);
    const char *names[3] = {"degrees", "minutes", "seconds"};
    for (int i = 0; i + 1 < parts.Count; ++i)
        if (parts.Values[i] != std::floor(parts.Values[i]))
            return Failure(std::string(names[i]) + " " + NumberText(parts.Values[i]) + " followed by " +
                               names[i + 1] + " must be whole",
                           true);
    for (int i = 1; i < parts.Count; ++i)
        if (parts.Values[i] >= 60)
            return Failure(std::string(names[i]) + " " + NumberText(parts.Values[i]) + " are not below 60", true);

    double value = parts.Values[0] * kMinutesPerDegree + parts.Values[1] + parts.Values[2] / 60;
    double limit = (isLatitude ? 90 : 180) * kMinutesPerDegree;
    if (value > limit)
        return Failure(std::string(axis) + " " + shown + " is beyond " + (isLatitude ? "90" : "180"), true);
    bool south = parts.Negative || (letter && std::strchr(negative, letter));
    double northEast = south ? -value : value;
    CoordinateReading reading;
    reading.Ok = true;
    reading.Readable = true;
    reading.Hemisphere = letter != '\0';
    reading.Minutes = isLatitude ? northEast : -northEast;
    return reading;
}

bool ParseCoordinate(const std::string &text, bool isLatitude, double &minutes)
{
    CoordinateReading reading = ReadCoordinate(text, isLatitude);
    if (reading.Ok)
        minutes = reading.Minutes;
    return reading.Ok;
}

// Tries every place where the latitude may end.  A split that reads is
// taken when every such split gives the same position; otherwise the most
// telling failure is reported: a faulty value in a coordinate's shape
// (the longitude's after a good latitude first) before text that is none.
bool ReadPosition(const std::string &text, double &latitude, double &longitude, std::string &error)
{
    std::string line = TrimSeparators(text);
    if (line.empty()) {
        error = "no position";
        return false;
    }
    if (line.size() > kMaxPositionText) {
        error = "position text longer than " + std::to_string(kMaxPositionText) + " characters";
        return false;
    }
    bool found = false;
    int bestRank = -1;
    for (size_t i = 1; i < line.size(); ++i) {
        if (!MaySplitAt(line, i))
            continue;
        std::string first = TrimSeparators(line.substr(0, i)), second = TrimSeparators(line.substr(i));
        if (first.empty() || second.empty())
            continue;
        CoordinateReading lat = ReadCoordinate(first, true), lon = ReadCoordinate(second, false);
        if (!(lat.Ok && lon.Ok)) { // the longitude first, when both name their hemispheres
            CoordinateReading swappedLat = ReadCoordinate(second, true), swappedLon = ReadCoordinate(first, false);
            if (swappedLat.Ok && swappedLon.Ok && swappedLat.Hemisphere && swappedLon.Hemisphere) {
                lat = swappedLat;
                lon = swappedLon;
            }
        }
        if (lat.Ok && lon.Ok) {
            if (found && (lat.Minutes != latitude || lon.Minutes != longitude)) {
                error = "'" + Shown(line) + "' reads as more than one position; put a comma between latitude and longitude";
                return false;
            }
            found = true;
            latitude = lat.Minutes;
            longitude = lon.Minutes;
            continue;
        }
        int rank = lat.Ok ? (lon.Readable ? 3 : 1) : (lat.Readable ? 2 : 0);
        if (rank >= bestRank) { // on a tie the longer latitude tells more
            bestRank = rank;
            error = lat.Ok ? lon.Error : lat.Error;
        }
    }
    if (found) {
        error.clear();
        return true;
    }
    CoordinateReading alone = ReadCoordinate(line, true); // a latitude alone, or one word
    if (alone.Ok)
        error = "'" + Shown(line) + "' has no longitude";
    else if (bestRank < 0)
        error = alone.Error;
    return false;
}
