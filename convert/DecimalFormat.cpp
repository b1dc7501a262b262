// Fixed-point and whole-number texts from exact decimal expansions.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "convert/DecimalFormat.h"

namespace {

// A bounded text being written; anything past size - 1 characters is cut.
struct TextSink {
    char *Text;
    size_t Size;
    size_t Length;
};

void Put(TextSink &sink, char c)
{
    if (sink.Size == 0)
        return;
    if (sink.Length + 1 < sink.Size)
        sink.Text[sink.Length++] = c;
    sink.Text[sink.Length] = '\0';
}

void PutText(TextSink &sink, const char *text)
{
    for (; *text; ++text)
        Put(sink, *text);
}

// Puts count characters at once, cut like Put.
void PutSpan(TextSink &sink, const char *chars, size_t count)
{
    if (sink.Size == 0)
        return;
    size_t room = sink.Size - 1 - sink.Length;
    if (count > room)
        count = room;
    std::memcpy(sink.Text + sink.Length, chars, count);
    sink.Length += count;
    sink.Text[sink.Length] = '\0';
}

// Writes "inf", "-inf" or "nan" for a value that has no expansion.
void PutNonFinite(TextSink &sink, double value)
{
    PutText(sink, value != value ? "nan" : value < 0 ? "-inf" : "inf");
}

// Starts a text: empties it and expands value; for a value with no
// expansion writes "inf", "-inf" or "nan" and returns false.
bool StartExpandedText(double value, TextSink &sink, ExactDecimal &d)
{
    if (sink.Size > 0)
        sink.Text[0] = '\0';
    if (ExpandExactly(value, d))
        return true;
    PutNonFinite(sink, value);
    return false;
}

// Adds one to the last of count digits, carrying leftwards; returns true
// when the carry runs out of the first digit (all were nines).
bool IncrementDigits(char *digits, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

// Rounds the expansion half up to at most kRoundingDigits significant digits.
void RoundToSignificant(ExactDecimal &d)
{
    if (d.Count <= kRoundingDigits)
        return;
    bool up = d.Digits[kRoundingDigits] >= '5';
    d.Count = kRoundingDigits;
    if (up && IncrementDigits(d.Digits, d.Count)) {
        d.Digits[0] = '1';
        d.Count = 1;
        ++d.Point;
    }
    while (d.Count > 0 && d.Digits[d.Count - 1] == '0')
        --d.Count;
}

// The digit at place i of the expansion (0 = first significant digit),
// with the zeros past its end.
char DigitAt(const ExactDecimal &d, int i)
{
    return i >= 0 && i < d.Count ? d.Digits[i] : '0';
}

// Values whose scaled fraction lies this far from a half cannot round
// differently through the 17-digit expansion, so plain double arithmetic
// gives the same digits as the exact path.
const double kTieMargin = 1e-3;
const double kFastLimit = 1e6;

// Writes the whole number n with its last decimals digits after a point.
void PutScaled(TextSink &sink, uint64_t n, int decimals, bool negative)
{
    char digits[32];
    char *first = digits;
    if (negative)
        *first++ = '-';
    char *end = WriteScaled(n, decimals, first);
    PutSpan(sink, digits, static_cast<size_t>(end - digits));
}

// The common case of FormatFixed without the exact expansion.
bool FormatFixedFast(double value, int decimals, TextSink &sink)
{
    uint64_t scaled;
    if (!RoundFixedFast(value, decimals, scaled))
        return false;
    PutScaled(sink, scaled, decimals, value < 0);
    return true;
}

// Whole numbers below this print from a 64-bit integer: every double
// under 2^53 truncates to one exactly.
const double kWholeFastLimit = 9007199254740992.0;

// The common case of FormatWhole: a magnitude below kWholeFastLimit.
bool FormatWholeFast(double value, TextSink &sink)
{
    double magnitude = value < 0 ? -value : value;
    if (!(magnitude < kWholeFastLimit))
        return false;
    uint64_t whole = static_cast<uint64_t>(magnitude);
    PutScaled(sink, whole, 0, value < 0 && whole > 0);
    return true;
}

// Writes the expansion rounded to a whole number of 10^-decimals, with the
// decimal point before its last decimals digits.  A half goes up, or with
// halfEven to the even digit.
void PutFixed(TextSink &sink, const ExactDecimal &d, int decimals, bool halfEven)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > kMaxFixedDecimals)
        decimals = kMaxFixedDecimals;

    // Digits of the rounded whole number, with one leading zero for a carry.
    char whole[kMaxExactDigits + kMaxFixedDecimals + 2];
    int keep = d.Point + decimals;
    int length = 0;
    whole[length++] = '0';
    for (int i = 0; i < keep; ++i)
        whole[length++] = DigitAt(d, i);
    char next = keep >= 0 ? DigitAt(d, keep) : '0';
    bool tie = next == '5' && d.Count <= keep + 1; // nothing after the 5
    if ((tie && halfEven) ? (whole[length - 1] - '0') % 2 == 1 : next >= '5')
        IncrementDigits(whole, length);

    // Leading zeros make room for "0." before small values; zeros before
    // the last whole digit are dropped.
    int total = length > decimals + 1 ? length : decimals + 1;
    int pad = total - length;
    int pos = 0;
    while (pos < total - decimals - 1 && (pos < pad || whole[pos - pad] == '0'))
        ++pos;
    if (d.Negative)
        Put(sink, '-');
    for (; pos < total; ++pos) {
        if (pos == total - decimals)
            Put(sink, '.');
        Put(sink, pos < pad ? '0' : whole[pos - pad]);
    }
}

} // namespace

// A moderate value whose digits after the last decimal are clearly not a
// half.
bool RoundFixedFast(double value, int decimals, uint64_t &scaled)
{
    double magnitude = value < 0 ? -value : value;
    if (!(magnitude < kFastLimit) || decimals < 0 || decimals > 6)
        return false;
    static const double kScales[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    double scale = kScales[decimals];
    // Below 10^12, so the signed conversion (the quicker one) holds it.
    double product = magnitude * scale;
    int64_t truncated = static_cast<int64_t>(product);
    double fraction = product - static_cast<double>(truncated);
    // One test, not two: the first of two would go either way at random.
    if (std::fabs(fraction - 0.5) < kTieMargin)
        return false;
    scaled = static_cast<uint64_t>(truncated) + (fraction > 0.5 ? 1 : 0);
    return true;
}

// Counts the digits first (at least one before the point), then writes
// the decimals from the last, the point and the whole digits.
char *WriteScaled(uint64_t n, int decimals, char *out)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 6)
        decimals = 6;
    int digits = 1;
    for (uint64_t power = 10; digits < 20 && n >= power; power *= 10)
        ++digits;
    int whole = digits > decimals ? digits - decimals : 1;
    char *end = out + whole + (decimals > 0 ? decimals + 1 : 0);
    char *at = end;
    for (int i = 0; i < decimals; ++i, n /= 10)
        *--at = static_cast<char>('0' + n % 10);
    if (decimals > 0)
        *--at = '.';
    do {
        *--at = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (at > out);
    return end;
}

// Takes the fast path when it is sure of the digits, else the exact one.
void FormatFixed(double value, int decimals, char *text, size_t size)
{
    TextSink sink = {text, size, 0};
    if (size > 0)
        text[0] = '\0';
    if (!FormatFixedFast(value, decimals, sink))
        FormatFixedExact(value, decimals, text, size);
}

// Rounds |value| x 10^decimals half up, from the 17-digit expansion.
void FormatFixedExact(double value, int decimals, char *text, size_t size)
{
    TextSink sink = {text, size, 0};
    ExactDecimal d;
    if (!StartExpandedText(value, sink, d))
        return;
    RoundToSignificant(d);
    PutFixed(sink, d, decimals, false);
}

// The fast path where it is sure, else the exact value rounded half to even.
void FormatFixedHalfEven(double value, int decimals, char *text, size_t size)
{
    TextSink sink = {text, size, 0};
    ExactDecimal d;
    if (size > 0)
        text[0] = '\0';
    if (FormatFixedFast(value, decimals, sink) || !StartExpandedText(value, sink, d))
        return;
    PutFixed(sink, d, decimals, true);
}

// Takes the fast path when the value is moderate, else the exact one.
void FormatWhole(double value, char *text, size_t size)
{
    TextSink sink = {text, size, 0};
    if (size > 0)
        text[0] = '\0';
    if (!FormatWholeFast(value, sink))
        FormatWholeExact(value, text, size);
}

// Writes the digits before the expansion's point, or 0.
void FormatWholeExact(double value, char *text, size_t size)
{
    TextSink sink = {text, size, 0};
    ExactDecimal d;
    if (!StartExpandedText(value, sink, d))
        return;
    if (d.Negative && d.Point > 0)
        Put(sink, '-');
    if (d.Point <= 0)
        Put(sink, '0');
    for (int i = 0; i < d.Point; ++i)
        Put(sink, DigitAt(d, i));
}
