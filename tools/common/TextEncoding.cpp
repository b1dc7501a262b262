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

std::string Cp1252ToUtf8(const std::string &text)
{
    std::string out;
    AppendCp1252AsUtf8(out, text);
    return out;
}

// Converts a piece at a time through a small buffer on the stack.
void AppendCp1252AsUtf8(std::string &out, const std::string &text)
{
    const size_t kPiece = 64;
    char utf8[3 * kPiece];
    for (size_t start = 0; start < text.size(); start += kPiece) {
        size_t count = std::min(kPiece, text.size() - start);
        out.append(utf8, static_cast<size_t>(PutCp1252AsUtf8(utf8, text.data() + start, count) - utf8));
    }
}

char *PutCp1252AsUtf8(char *out, const char *text, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        out = byte < 0x80 ? (*out = static_cast<char>(byte), out + 1) : PutUtf8(out, CodePointOf(byte));
    }
    return out;
}

std::string ValidUtf8(const std::string &bytes)
{
    std::string out;
    out.reserve(bytes.size());
    AppendValidUtf8(out, bytes);
    return out;
}

namespace {

// The length of the valid UTF-8 sequence at i, or 0 when none starts
// there; invalid tells how many bytes the invalid one takes.  A lead byte,
// then its continuation bytes within the ranges that exclude overlong
// forms, surrogates and code points past U+10FFFF.
size_t SequenceAt(const std::string &bytes, size_t i, size_t &invalid)
{
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
    invalid = valid;
    return length > 0 && valid == length ? length : 0;
}

} // namespace

bool IsValidUtf8(const std::string &bytes)
{
    size_t i = 0, invalid = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        size_t length = SequenceAt(bytes, i, invalid);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

void AppendValidUtf8(std::string &out, const std::string &bytes)
{
    size_t i = 0, invalid = 0;
    while (i < bytes.size()) {
        size_t length = SequenceAt(bytes, i, invalid);
        if (length > 0)
            out.append(bytes, i, length);
        else
            out += "\xEF\xBF\xBD";
        i += length > 0 ? length : invalid;
    }
}

// Escapes quotes, backslashes and control characters.
std::string JsonQuote(const std::string &utf8)
{
    std::string out;
    AppendJsonQuote(out, utf8);
    return out;
}

// A '<' becomes \u003c, so that no "</script" can stand in the text.
std::string ScriptString(const std::string &utf8)
{
    std::string quoted = JsonQuote(utf8), out;
    out.reserve(quoted.size());
    for (char c : quoted) {
        if (c == '<')
            out += "\\u003c";
        else
            out += c;
    }
    return out;
}

std::string Base64(const std::vector<unsigned char> &bytes)
{
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        unsigned value = bytes[i] << 16;
        if (i + 1 < bytes.size())
            value |= bytes[i + 1] << 8;
        if (i + 2 < bytes.size())
            value |= bytes[i + 2];
        out += kDigits[value >> 18 & 63];
        out += kDigits[value >> 12 & 63];
        out += i + 1 < bytes.size() ? kDigits[value >> 6 & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[value & 63] : '=';
    }
    return out;
}

// A text with nothing to escape, as most are, goes in whole.
void AppendJsonQuote(std::string &out, const std::string &utf8)
{
    out += '"';
    bool plain = true;
    for (unsigned char c : utf8)
        if (c < 0x20 || c == '"' || c == '\\') {
            plain = false;
            break;
        }
    if (plain) {
        out += utf8;
        out += '"';
        return;
    }
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
    out += '"';
}

// Copies the slot into a terminated buffer first: a name that fills its
// slot has no terminator of its own.
std::string QuadNameText(const QuadRecord &quad)
{
    char name[kNameSlotSize + 1] = {};
    std::copy(quad.QuadName, quad.QuadName + kNameSlotSize, name);
    return Cp1252ToUtf8(name);
}
