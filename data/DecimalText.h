// Decimal text to numbers, the way the C library's atoi and atof read text,
// but with the same result on every platform the program is built for.
#ifndef ORVANTA_DATA_DECIMALTEXT_H
#define ORVANTA_DATA_DECIMALTEXT_H

#include <cstdint>

// Skips leading white space, takes one optional sign and the decimal digits
// up to the first non-digit; text without digits reads as 0.  The value is
// exact for the short fields of the data file (the caller keeps the low bits
// it needs), so it does not depend on the width of the platform's long.
int64_t ParseIntegerText(const char *text);

// Reads text as the classic C library's atof did: white space, sign, digits
// and a decimal fraction, an optional exponent; nothing else.  The words
// inf and nan and text without digits read as 0, hexadecimal as its leading
// 0.  Plain decimal fields of up to 15 digits convert with one correctly
// rounded operation, so the result is the same in every build; longer
// fields and exponents go to the C library.
double ParseRealText(const char *text);

#endif
