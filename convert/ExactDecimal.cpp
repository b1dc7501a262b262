// The exact decimal expansion of a double, with a small fixed-size big
// integer in base 10^9.
#include <cstdint>
#include <cstring>

#include "convert/DecimalFormat.h"

namespace {

const uint32_t kLimbBase = 1000000000u;
const int kLimbDigits = 9;
const int kMaxLimbs = kMaxExactDigits / kLimbDigits + 1;

// An unsigned integer of up to kMaxLimbs base-10^9 limbs, lowest first.
struct BigNumber {
    uint32_t Limbs[kMaxLimbs];
    int Size;
};

// Multiplies in place by a factor below 2^31; the expansions of doubles
// stay far inside the limbs.
void MultiplySmall(BigNumber &n, uint32_t factor)
{
    uint64_t carry = 0;
    for (int i = 0; i < n.Size; ++i) {
        uint64_t product = static_cast<uint64_t>(n.Limbs[i]) * factor + carry;
        n.Limbs[i] = static_cast<uint32_t>(product % kLimbBase);
        carry = product / kLimbBase;
    }
    while (carry != 0 && n.Size < kMaxLimbs) {
        n.Limbs[n.Size++] = static_cast<uint32_t>(carry % kLimbBase);
        carry /= kLimbBase;
    }
}

// Multiplies by base^exponent in steps of base^chunk (each below 2^31).
void MultiplyPower(BigNumber &n, uint32_t base, int chunk, int exponent)
{
    uint32_t step = 1;
    for (int i = 0; i < chunk; ++i)
        step *= base;
    for (; exponent >= chunk; exponent -= chunk)
        MultiplySmall(n, step);
    uint32_t rest = 1;
    for (int i = 0; i < exponent; ++i)
        rest *= base;
    MultiplySmall(n, rest);
}

// Writes the number's decimal digits, most significant first, without
// leading zeros; returns how many.
int WriteDigits(const BigNumber &n, char *digits)
{
    int count = 0;
    for (int i = n.Size - 1; i >= 0; --i) {
        char limb[kLimbDigits];
        uint32_t v = n.Limbs[i];
        for (int k = kLimbDigits - 1; k >= 0; --k, v /= 10)
            limb[k] = static_cast<char>('0' + v % 10);
        for (int k = 0; k < kLimbDigits; ++k)
            if (count > 0 || limb[k] != '0')
                digits[count++] = limb[k];
    }
    return count;
}

} // namespace

// A double is mantissa x 2^exponent; with a negative exponent it equals
// mantissa x 5^-exponent / 10^-exponent, so both cases are whole numbers of
// a big integer with the decimal point placed afterwards.
bool ExpandExactly(double value, ExactDecimal &out)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    int biased = static_cast<int>((bits >> 52) & 0x7FF);
    uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
    out.Negative = value < 0;
    out.Count = 0;
    out.Point = 0;
    if (biased == 0x7FF)
        return false;
    int exponent = biased == 0 ? -1074 : biased - 1075;
    if (biased != 0)
        mantissa |= uint64_t{1} << 52;
    if (mantissa == 0)
        return true;
    for (; (mantissa & 1) == 0; mantissa >>= 1)
        ++exponent;

    BigNumber n = {{static_cast<uint32_t>(mantissa % kLimbBase),
                    static_cast<uint32_t>(mantissa / kLimbBase % kLimbBase),
                    static_cast<uint32_t>(mantissa / kLimbBase / kLimbBase)},
                   3};
    if (exponent >= 0)
        MultiplyPower(n, 2, 30, exponent);
    else
        MultiplyPower(n, 5, 13, -exponent);
    while (n.Size > 1 && n.Limbs[n.Size - 1] == 0)
        --n.Size;
    out.Count = WriteDigits(n, out.Digits);
    out.Point = exponent >= 0 ? out.Count : out.Count + exponent;
    while (out.Count > 0 && out.Digits[out.Count - 1] == '0')
        --out.Count;
    return true;
}
