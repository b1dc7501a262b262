// Decimal texts of doubles that come out the same in every build: the
// digits are worked out here from the double's exact value instead of being
// left to the C library's formatted printing, whose rounding of halves
// differs between platforms.
#ifndef ORVANTA_CONVERT_DECIMALFORMAT_H
#define ORVANTA_CONVERT_DECIMALFORMAT_H

#include <cstddef>
#include <cstdint>

// Digits of the longest exact expansion (a subnormal double has 767) and
// a little room.
enum : int { kMaxExactDigits = 800, kRoundingDigits = 17, kMaxFixedDecimals = 20 };

// The exact decimal value of a finite double: 0.Digits x 10^Point.
struct ExactDecimal {
    char Digits[kMaxExactDigits]; // '0'..'9', no leading or trailing zeros
    int Count;                    // 0 for zero
    int Point;                    // digits before the decimal point
    bool Negative;                // the value is below zero
};

// Expands a finite double exactly; false for infinities and NaN.
bool ExpandExactly(double value, ExactDecimal &out);

// Writes value as printf's "%.<decimals>f" does, except for the rounding:
// the value is first taken to 17 significant digits, and that expansion is
// rounded half up (12.125 gives 12.13).  A negative value keeps its '-',
// also when it rounds to zero.  The text is cut to fit size.
void FormatFixed(double value, int decimals, char *text, size_t size);

// The same text, always worked out from the exact expansion.  FormatFixed
// takes a shortcut for values that are clearly not halves; this is the
// reference it must agree with.
void FormatFixedExact(double value, int decimals, char *text, size_t size);

// The shortcut of FormatFixed for ordinary values: the magnitude times
// 10^decimals rounded as FormatFixed rounds it.  False where only the
// exact expansion can tell (large values, more than 6 decimals, a
// fraction near a half, infinities and NaN).
bool RoundFixedFast(double value, int decimals, uint64_t &scaled);

// Writes the whole number n with a point before its last decimals digits
// and at least one digit before the point ("0.05" for 5 with 2 decimals,
// decimals from 0 to 6, others taken to the nearer end); returns the end
// of the text, which is not terminated.  At most 21 characters.
char *WriteScaled(uint64_t n, int decimals, char *out);

// Writes value as the C library's printf "%.<decimals>f" does: rounded to
// nearest on the exact binary value, a half to the even digit (-52.1640625
// gives -52.164062 at six decimals).
void FormatFixedHalfEven(double value, int decimals, char *text, size_t size);

// Writes the whole part of value in plain decimal, every digit exact (no
// rounding): 12345678901234567890 for a double holding that integer.
void FormatWhole(double value, char *text, size_t size);

// The same text, always worked out from the exact expansion; FormatWhole
// takes a shortcut below 2^53 that must agree with it.
void FormatWholeExact(double value, char *text, size_t size);

#endif
