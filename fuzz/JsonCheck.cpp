// A strict JSON syntax check for the targets that write JSON: RFC 8259
// values only (no NaN, no Infinity), nesting bounded.
#include <cstring>

#include "FuzzSupport.h"

namespace {

struct JsonText {
    const char *P;
    const char *End;
};

const int kMaxDepth = 64;

void SkipBlanks(JsonText &t)
{
    while (t.P < t.End && (*t.P == ' ' || *t.P == '\t' || *t.P == '\n' || *t.P == '\r'))
        ++t.P;
}

bool Take(JsonText &t, char c)
{
    SkipBlanks(t);
    if (t.P < t.End && *t.P == c) {
        ++t.P;
        return true;
    }
    return false;
}

bool Digits(JsonText &t)
{
    const char *start = t.P;
    while (t.P < t.End && *t.P >= '0' && *t.P <= '9')
        ++t.P;
    return t.P > start;
}

bool Number(JsonText &t)
{
    if (t.P < t.End && *t.P == '-')
        ++t.P;
    if (!Digits(t))
        return false;
    if (t.P < t.End && *t.P == '.' && (++t.P, !Digits(t)))
        return false;
    if (t.P < t.End && (*t.P == 'e' || *t.P == 'E')) {
        ++t.P;
        if (t.P < t.End && (*t.P == '+' || *t.P == '-'))
            ++t.P;
        return Digits(t);
    }
    return true;
}

// A string after its opening quote; control bytes must be escaped.
bool String(JsonText &t)
{
    while (t.P < t.End) {
        unsigned char c = static_cast<unsigned char>(*t.P++);
        if (c == '"')
            return true;
        if (c < 0x20)
            return false;
        if (c == '\\') {
            if (t.P >= t.End || !std::strchr("\"\\/bfnrtu", *t.P))
                return false;
            ++t.P;
        }
    }
    return false;
}

bool Word(JsonText &t, const char *word)
{
    size_t n = std::strlen(word);
    if (static_cast<size_t>(t.End - t.P) < n || std::memcmp(t.P, word, n) != 0)
        return false;
    t.P += n;
    return true;
}

bool Value(JsonText &t, int depth);

// The members of an object or the items of an array, up to close.
bool Items(JsonText &t, char close, bool members, int depth)
{
    if (Take(t, close))
        return true;
    do {
        if (members && !(Take(t, '"') && String(t) && Take(t, ':')))
            return false;
        if (!Value(t, depth + 1))
            return false;
    } while (Take(t, ','));
    return Take(t, close);
}

bool Value(JsonText &t, int depth)
{
    SkipBlanks(t);
    if (depth > kMaxDepth || t.P >= t.End)
        return false;
    char c = *t.P;
    if (c == '{' || c == '[')
        return ++t.P, Items(t, c == '{' ? '}' : ']', c == '{', depth);
    if (c == '"')
        return ++t.P, String(t);
    if (c == 't' || c == 'f' || c == 'n')
        return Word(t, c == 't' ? "true" : c == 'f' ? "false" : "null");
    return Number(t);
}

} // namespace

// One value and nothing after it but blanks.
bool IsStrictJson(const char *text, size_t size)
{
    JsonText t = {text, text + size};
    if (!Value(t, 0))
        return false;
    SkipBlanks(t);
    return t.P == t.End;
}
