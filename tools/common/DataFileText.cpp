// Telling a scrambled data file from its plain text.
#include "tools/common/DataFileText.h"

#include <cstdio>

#include "data/ScrambledReader.h"

namespace {

// Whether the text's first word (after line ends and TABs) is About or
// Chart, followed by a blank or a line end.
bool BeginsWithKeyword(const std::string &text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == '\r' || text[i] == '\n' || text[i] == '\t'))
        ++i;
    for (const char *keyword : {"About", "Chart"}) {
        std::string k(keyword);
        if (text.compare(i, k.size(), k) == 0) {
            size_t after = i + k.size();
            if (after == text.size() || text[after] == ' ' || text[after] == '\r' || text[after] == '\n')
                return true;
        }
    }
    return false;
}

// How many bytes are printable ASCII, TAB or line ends.
size_t PrintableBytes(const std::string &text)
{
    size_t count = 0;
    for (char c : text)
        if ((c >= 0x20 && c < 0x7F) || c == '\r' || c == '\n' || c == '\t')
            ++count;
    return count;
}

} // namespace

// Tries the bytes as they are and descrambled.
DataFileText DecodeDataFile(const std::vector<unsigned char> &bytes)
{
    std::string asIs(bytes.begin(), bytes.end());
    std::vector<unsigned char> plain = bytes;
    ScrambleBytes(plain.data(), plain.size(), 0);
    std::string descrambled(plain.begin(), plain.end());
    if (BeginsWithKeyword(asIs))
        return {asIs, false, true};
    if (BeginsWithKeyword(descrambled))
        return {descrambled, true, true};
    if (PrintableBytes(asIs) >= PrintableBytes(descrambled))
        return {asIs, false, false};
    return {descrambled, true, false};
}

// Scrambles the text from key byte 0.
std::vector<unsigned char> ScrambledForm(const std::string &plain)
{
    std::vector<unsigned char> bytes(plain.begin(), plain.end());
    ScrambleBytes(bytes.data(), bytes.size(), 0);
    return bytes;
}

// Decides on the first bytes only, which hold the first keyword.
bool IsPlainDataFile(const std::string &path)
{
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::vector<unsigned char> head(64);
    head.resize(std::fread(head.data(), 1, head.size(), file));
    std::fclose(file);
    DataFileText text = DecodeDataFile(head);
    return text.Recognised && !text.WasScrambled;
}
