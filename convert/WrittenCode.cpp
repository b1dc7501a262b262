// Reading a grid code the way diaries, books and lists write it.
#include "convert/WrittenCode.h"

#include <cstdio>
#include <vector>

namespace {

const char kUmlautA = '\xC4'; // Ä in Windows-1252, as the grid names hold it
const char kExample[] = "e.g. AM1969";

// One character of the text: the code character it stands for (0 for none)
// and how a message names it.
struct Unit {
    char Code;
    std::string Shown;
    int Number; // 1-based, counted in characters
};

bool IsContinuation(unsigned char b)
{
    return b >= 0x80 && b <= 0xBF;
}

// The length of the UTF-8 sequence at i, 0 when the bytes there are none.
size_t Utf8Length(const std::string &text, size_t i)
{
    unsigned char b = static_cast<unsigned char>(text[i]);
    size_t length = b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k)
        if (!IsContinuation(static_cast<unsigned char>(text[i + k])))
            return 0;
    return length;
}

// Splits the text into characters: ASCII, Ä and ä in UTF-8 (C3 84, C3 A4),
// the Windows-1252 bytes C4 and E4 where no UTF-8 sequence starts, other
// UTF-8 characters, and single bytes that are none of these.
std::vector<Unit> SplitCharacters(const std::string &text)
{
    std::vector<Unit> units;
    for (size_t i = 0; i < text.size();) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        Unit unit = {0, "", static_cast<int>(units.size()) + 1};
        size_t length = b < 0x80 ? 1 : Utf8Length(text, i);
        if (b < 0x80) {
            unit.Code = b >= 'a' && b <= 'z' ? static_cast<char>(b - 'a' + 'A') : static_cast<char>(b);
            unit.Shown = b == ' ' ? "a blank" : b > ' ' && b < 0x7F ? "'" + text.substr(i, 1) + "'" : "";
        } else if (length == 2 && b == 0xC3 && (text[i + 1] == '\x84' || text[i + 1] == '\xA4')) {
            unit.Code = kUmlautA;
        } else if (length == 0 && (b == 0xC4 || b == 0xE4)) {
            unit.Code = kUmlautA;
            length = 1;
            unit.Shown = b == 0xC4 ? "'\xC3\x84'" : "'\xC3\xA4'";
        }
        if (length == 0)
            length = 1;
        if (unit.Shown.empty() && length > 1)
            unit.Shown = "'" + text.substr(i, length) + "'";
        if (unit.Shown.empty()) {
            char byte[16];
            std::snprintf(byte, sizeof byte, "byte 0x%02X", static_cast<unsigned>(b));
            unit.Shown = byte;
        }
        units.push_back(unit);
        i += length;
    }
    return units;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '-' || c == '.';
}

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || c == kUmlautA;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether the units from at on spell word.
bool Spells(const std::vector<Unit> &units, size_t at, const char *word)
{
    for (; *word; ++word, ++at)
        if (at >= units.size() || units[at].Code != *word)
            return false;
    return true;
}

size_t SkipSeparators(const std::vector<Unit> &units, size_t at, size_t end)
{
    while (at < end && IsSeparator(units[at].Code))
        ++at;
    return at;
}

// Skips "Quadrat" or "Qu" with any dot and separators after it, when
// letters follow: "QU 1234" is the square QU, "Qu. AM 1969" is AM.
size_t SkipPrefix(const std::vector<Unit> &units, size_t at, size_t end)
{
    for (const char *word : {"QUADRAT", "QU"}) {
        if (!Spells(units, at, word))
            continue;
        size_t next = SkipSeparators(units, at + std::string(word).size(), end);
        if (next < end && IsLetter(units[next].Code))
            return next;
    }
    return at;
}

// One letter of a plain code at i: an ASCII letter, Ä or ä in UTF-8, or
// the Windows-1252 byte of either where no other byte follows or an ASCII
// one does (so that no UTF-8 sequence starts there).  Sets the letter and
// returns its length in bytes, 0 when there is none.
size_t PlainLetter(const std::string &text, size_t i, char &letter)
{
    unsigned char b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
        letter = static_cast<char>(b & ~0x20); // a-z to A-Z
        return letter >= 'A' && letter <= 'Z' ? 1 : 0;
    }
    letter = kUmlautA;
    if (b == 0xC3 && i + 1 < text.size() && (text[i + 1] == '\x84' || text[i + 1] == '\xA4'))
        return 2;
    if ((b == 0xC4 || b == 0xE4) && (i + 1 == text.size() || static_cast<unsigned char>(text[i + 1]) < 0x80))
        return 1;
    return 0;
}

// The common case of a text that is a code as it is, in either case: two
// letters and 0, 2 or 4 digits, nothing else.  The full reading gives each
// such text the same code; writes the code to plain and returns its
// length, 0 for every other text.
size_t ReadPlainCode(const std::string &text, char plain[6])
{
    size_t at = 0;
    for (int k = 0; k < 2; ++k) {
        size_t length = at < text.size() ? PlainLetter(text, at, plain[k]) : 0;
        if (length == 0)
            return 0;
        at += length;
    }
    size_t digits = text.size() - at;
    if (digits != 0 && digits != 2 && digits != 4)
        return 0;
    for (size_t i = 0; i < digits; ++i)
        if (!IsDigit(plain[2 + i] = text[at + i]))
            return 0;
    return 2 + digits;
}

WrittenCode Fault(const std::string &text)
{
    return {false, "", text};
}

std::string Where(const Unit &unit)
{
    return unit.Shown + " at character " + std::to_string(unit.Number);
}

} // namespace

// Trims the blanks, drops a prefix, then reads two letters, separators and
// up to two digit pairs, naming the first character that fits none.
WrittenCode ReadWrittenCode(const std::string &text)
{
    char plain[6];
    if (size_t length = ReadPlainCode(text, plain)) {
        // A code in capitals is the text itself, copied from where it lies.
        bool asWritten = length == text.size() && plain[0] == text[0] && plain[1] == text[1];
        return {true, asWritten ? text : std::string(plain, length), ""};
    }
    std::vector<Unit> units = SplitCharacters(text);
    size_t at = 0, end = units.size();
    while (at < end && IsBlank(units[at].Code))
        ++at;
    while (end > at && IsBlank(units[end - 1].Code))
        --end;
    if (at == end)
        return Fault("no code: give two letters and four digits, " + std::string(kExample));
    at = SkipPrefix(units, at, end);

    std::string code;
    for (int k = 0; k < 2; ++k, ++at) {
        if (at == end)
            return Fault("only one letter: a code starts with two letters, " + std::string(kExample));
        if (!IsLetter(units[at].Code))
            return Fault(Where(units[at]) + " where a letter belongs: a code starts with two letters, " + kExample);
        code += units[at].Code;
    }
    at = SkipSeparators(units, at, end);

    int digits = 0;
    for (; at < end; ++at) {
        char c = units[at].Code;
        if (IsDigit(c)) {
            code += c;
            ++digits;
        } else if (IsSeparator(c) && digits % 2 == 0) {
            at = SkipSeparators(units, at, end) - 1;
        } else if (IsSeparator(c)) {
            return Fault(Where(units[at]) + " splits a digit pair: the digits go in pairs, " + kExample);
        } else {
            return Fault(Where(units[at]) + " is not part of a code: two letters and four digits, " + kExample);
        }
    }
    if (digits != 0 && digits != 2 && digits != 4)
        return Fault(std::to_string(digits) + (digits == 1 ? " digit" : " digits") +
                     ": a code has four (a small square), two (a cell) or none (a large square), " + kExample);
    return {true, code, ""};
}
