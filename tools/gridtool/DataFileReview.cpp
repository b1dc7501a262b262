// Reviewing a data file as gridtool check reports it.
#include "tools/gridtool/DataFileReview.h"

#include <algorithm>
#include <cstdio>

#include "data/GridLoader.h"
#include "tools/common/TextEncoding.h"

namespace {

const char *kStatusMeaning[] = {"loaded", "a section's quad count differs from its names",
                                "the sections are not followed by QuadDefinitions",
                                "the file exceeds a table or a buffer"};

// The length of the UTF-8 sequence that starts at text[i] (2 to 4), or 0
// when the bytes there are not one: overlong forms, surrogates and code
// points past U+10FFFF included.
size_t Utf8SequenceAt(const std::string &text, size_t i)
{
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 0;
    unsigned char second = static_cast<unsigned char>(text[i + 1]);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

int LineAt(const std::string &text, size_t offset)
{
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(offset), '\n'));
}

// The bytes as hexadecimal pairs: "C3 BC".
std::string HexBytes(const std::string &bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%s%02X", out.empty() ? "" : " ", c);
        out += pair;
    }
    return out;
}

} // namespace

// Every high byte must start or continue a well-formed sequence; one stray
// byte means the text is Windows-1252 after all.
CheckProblem FindUtf8Text(const std::string &plain)
{
    if (plain.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return {1, "the file begins with a UTF-8 byte-order mark (EF BB BF); the program reads Windows-1252 "
                   "text: save the file as Windows-1252 without a byte-order mark"};
    size_t first = std::string::npos, firstLength = 0;
    for (size_t i = 0; i < plain.size();) {
        if (static_cast<unsigned char>(plain[i]) < 0x80) {
            ++i;
            continue;
        }
        size_t length = Utf8SequenceAt(plain, i);
        if (length == 0)
            return {0, ""};
        if (first == std::string::npos)
            first = i, firstLength = length;
        i += length;
    }
    if (first == std::string::npos)
        return {0, ""};
    std::string sequence = plain.substr(first, firstLength);
    return {LineAt(plain, first), "the text looks like UTF-8: the bytes " + HexBytes(sequence) + " are UTF-8 for '" +
                                      sequence + "', which the program reads as Windows-1252 and shows as '" +
                                      Cp1252ToUtf8(sequence) + "'; save the file as Windows-1252"};
}

// Checks the plain text, names a UTF-8 text, and confirms the outcome with
// the loader itself on the scrambled form.
DataFileReview ReviewDataFile(const std::vector<unsigned char> &bytes)
{
    DataFileReview review;
    review.Text = DecodeDataFile(bytes);
    review.Problems = CheckPlainText(review.Text.Plain, &review.Summary);
    CheckProblem utf8 = FindUtf8Text(review.Text.Plain);
    if (utf8.Line > 0)
        review.Problems.insert(std::upper_bound(review.Problems.begin(), review.Problems.end(), utf8,
                                                [](const CheckProblem &a, const CheckProblem &b) {
                                                    return a.Line < b.Line;
                                                }),
                               utf8);
    if (!review.Text.Recognised)
        review.Problems.insert(review.Problems.begin(),
                               {1, "neither the file nor its descrambled form begins with 'About' or 'Chart'"});

    static GridDatabase db;
    ResetGridDatabase(db);
    std::vector<unsigned char> scrambled = review.Text.WasScrambled ? bytes : ScrambledForm(review.Text.Plain);
    review.LoadStatus = LoadGridDataFromMemory(scrambled.data(), scrambled.size(), db);
    int status = review.LoadStatus;
    if (status != kLoadOk && review.Problems.empty()) // the walk should have found it; say so all the same
        review.Problems.push_back({1, "the program's loader ends with status " + std::to_string(status) + ": " +
                                          kStatusMeaning[status >= 0 && status <= 3 ? status : 3]});
    return review;
}
