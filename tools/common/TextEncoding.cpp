// Windows-1252 to UTF-8, JSON string quoting and quad names.
#include "tools/common/TextEncoding.h"

#include <algorithm>
#include <cstdio>

namespace {

// Unicode code points of the bytes 0x80 to 0x9F in Windows-1252; 0 marks
// the five bytes that the code page leaves unassigned.
const unsigned short kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The Unicode code point of one Windows-1252 byte (U+FFFD for the five
// unassigned ones).
unsigned CodePointOf(unsigned char byte)
{
    if (byte < 0x80 || byte >= 0xA0)
        return byte;
    return kHighControls[byte - 0x80] ? kHighControls[byte - 0x80] : 0xFFFD;
}

size_t Utf8Length(unsigned code)
{
    return code < 0x80 ? 1 : code < 0x800 ? 2 : 3;
}

// Writes the UTF-8 form of a code point below U+10000; returns the end.
char *PutUtf8(char *out, unsigned code)
{
    if (code < 0x80) {
        *out++ = static_cast<char>(code);
    } else if (code < 0x800) {
        *out++ = static_cast<char>(0xC0 | (code >> 6));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *out++ = static_cast<char>(0xE0 | (code >> 12));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

} // namespace

// Measures the UTF-8 text first, then writes it into a string of that size.
std::string Cp1252ToUtf8(const std::string &text)
{
    size_t length = 0;
    for (unsigned char byte : text)
        length += byte < 0x80 ? 1 : Utf8Length(CodePointOf(byte));
    std::string out(length, '\0');
    char *end = &out[0];
    for (unsigned char byte : text)
        end = byte < 0x80 ? (*end = static_cast<char>(byte), end + 1) : PutUtf8(end, CodePointOf(byte));
    return out;
}

// Walks the sequences: a lead byte, then its continuation bytes within the
// ranges that exclude overlong forms, surrogates and code points past
// U+10FFFF.
std::string ValidUtf8(const std::string &bytes)
{
    std::string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        size_t length = b < 0x80 ? 1 : b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
        unsigned char low = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
        unsigned char high = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
        size_t valid = 1; // the lead byte, then each continuation byte in range
        for (; valid < length && i + valid < bytes.size(); ++valid) {
            unsigned char c = static_cast<unsigned char>(bytes[i + valid]);
            if (c < (valid == 1 ? low : 0x80) || c > (valid == 1 ? high : 0xBF))
                break;
        }
        if (length > 0 && valid == length)
            out.append(bytes, i, length);
        else
            out += "\xEF\xBF\xBD";
        i += valid;
    }
    return out;
}

// Escapes quotes, backslashes and control characters.
std::string JsonQuote(const std::string &utf8)
{
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

// Copies the slot into a terminated buffer first: a name that fills its
// slot has no terminator of its own.
std::string QuadNameText(const QuadRecord &quad)
{
    char name[kNameSlotSize + 1] = {};
    std::copy(quad.QuadName, quad.QuadName + kNameSlotSize, name);
    return Cp1252ToUtf8(name);
}
