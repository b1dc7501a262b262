// Platform-independent atoi and atof for the data file's numeric fields.
#include "data/DecimalText.h"

#include <cstdlib>

namespace {

// White space as the C library's isspace sees it in the "C" locale.
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Powers of ten that a double holds exactly.
const double kExactPowersOfTen[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};
const int kLargestExactPower = 22;
const int kMaxExactDigits = 15;

} // namespace

// Reads an optionally signed decimal integer after leading white space.
int64_t ParseIntegerText(const char *text)
{
    const char *p = text;
    while (IsSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = (*p++ == '-');
    uint64_t value = 0;
    while (IsDigit(*p))
        value = value * 10u + static_cast<uint64_t>(*p++ - '0');
    // Unsigned arithmetic wraps like the platform's own conversion would on
    // overlong input; the fields of the file are far too short to get there.
    return static_cast<int64_t>(negative ? 0u - value : value);
}

// Reads a real number; plain fields are converted exactly as a correctly
// rounded strtod would, longer ones and exponents by the C library, which
// reads those forms the same way.  Text without a digit before any word
// (inf, nan) reads as 0, as the classic library read it.
double ParseRealText(const char *text)
{
    const char *p = text;
    while (IsSpace(*p))
        ++p;
    const char *numberStart = p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = (*p++ == '-');

    uint64_t mantissa = 0;
    int digits = 0;
    int fractionDigits = 0;
    bool anyDigit = false;
    while (IsDigit(*p)) {
        anyDigit = true;
        if (mantissa != 0 || *p != '0')
            ++digits;
        mantissa = mantissa * 10u + static_cast<uint64_t>(*p++ - '0');
        if (digits > kMaxExactDigits)
            return std::strtod(numberStart, nullptr);
    }
    if (*p == '.') {
        ++p;
        while (IsDigit(*p)) {
            anyDigit = true;
            if (mantissa != 0 || *p != '0')
                ++digits;
            mantissa = mantissa * 10u + static_cast<uint64_t>(*p++ - '0');
            ++fractionDigits;
            if (digits > kMaxExactDigits || fractionDigits > kLargestExactPower)
                return std::strtod(numberStart, nullptr);
        }
    }
    if (!anyDigit)
        return 0.0; // inf, nan or nothing; "0x" stopped at the x above
    if (*p == 'e' || *p == 'E')
        return std::strtod(numberStart, nullptr); // exponents are rare enough to defer

    double value = static_cast<double>(mantissa); // exact: at most 15 digits
    if (fractionDigits > 0)
        value /= kExactPowersOfTen[fractionDigits];
    return negative ? -value : value;
}
