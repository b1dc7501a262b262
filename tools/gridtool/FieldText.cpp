// Strict number syntax and message quoting for the checker.
#include "tools/gridtool/FieldText.h"

#include <cstdio>
#include <cstdlib>

#include "tools/common/TextEncoding.h"

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The field without the white space around it.
std::string Trimmed(const std::string &field)
{
    size_t first = 0, last = field.size();
    while (first < last && IsSpace(field[first]))
        ++first;
    while (last > first && IsSpace(field[last - 1]))
        --last;
    return field.substr(first, last - first);
}

} // namespace

// Sign and digits only; the value saturates at 18 digits.
bool IntegerField(const std::string &field, long long &value)
{
    std::string text = Trimmed(field);
    size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i == text.size())
        return false;
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i]))
            return false;
        if (magnitude < 100000000000000000LL)
            magnitude = magnitude * 10 + (text[i] - '0');
    }
    value = text[0] == '-' ? -magnitude : magnitude;
    return true;
}

// Sign, digits, an optional point and more digits; at least one digit.
bool DecimalField(const std::string &field, double &value)
{
    std::string text = Trimmed(field);
    size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    int digits = 0, points = 0;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i]))
            ++digits;
        else if (text[i] == '.' && points == 0)
            ++points;
        else
            return false;
    }
    if (digits == 0)
        return false;
    value = std::strtod(text.c_str(), nullptr);
    return true;
}

// Quotes the field, escaping what a terminal would not show.
std::string Shown(const std::string &field)
{
    std::string raw;
    size_t n = 0;
    for (char c : field) {
        if (++n > 40) {
            raw += "...";
            break;
        }
        unsigned char b = static_cast<unsigned char>(c);
        if (b == '\r')
            raw += "\\r";
        else if (b == '\n')
            raw += "\\n";
        else if (b == '\t')
            raw += "\\t";
        else if (b < 0x20 || b == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            raw += hex;
        } else
            raw += c;
    }
    return "'" + Cp1252ToUtf8(raw) + "'";
}
