// The byte reader and the field readers, byte by byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ScrambledText.h"
#include "data/GridDatabase.h"

namespace {

TEST(ScrambledReader, KeyRunsCyclicallyFromTheFirstByte)
{
    std::string plain(100, 'x');
    std::vector<unsigned char> bytes = Scrambled(plain);
    EXPECT_EQ(bytes[0], 'x' ^ 'K');
    EXPECT_EQ(bytes[9], 'x' ^ 0xE5); // the a with ring of "Blå"
    EXPECT_EQ(bytes[41], 'x' ^ ')');
    EXPECT_EQ(bytes[42], 'x' ^ 'K');
    ScrambledSource source(plain);
    for (size_t i = 0; i < plain.size(); ++i)
        ASSERT_EQ(ReadScrambledByte(source.Reader), 'x') << "byte " << i;
    EXPECT_EQ(ReadScrambledByte(source.Reader), kEndOfFile);
}

struct WordCase {
    const char *plain;
    const char *word;
    const char *next; // what the next word read gives
};

TEST(ScrambledReader, ReadWordTerminatorsAndDroppedBytes)
{
    const WordCase cases[] = {
        {"Chart 7\r\n", "Chart", "7"},
        {"Chart\r\n7\r\n", "Chart", "7"},
        {" Chart 7\r\n", " Chart", "7"},          // a leading space stays in the word
        {"\r\n\r\n\tType 3\r\n", "Type", "3"},   // blank lines and a TAB are skipped
        {"\r\n Type 3", "", "Type"},              // a space after skipped bytes ends an empty word
        {"Ty\tpe 3", "Type", "3"},                // a TAB inside a word vanishes
        {"Ty\xE5pe x", "Type", "x"},              // so does a non-ASCII byte
        {"Type\xFFrest x", "Type", "rest"},       // the byte 0xFF ends a word
        {"QuadDefinitions", "QuadDefinitions", ""}, // end of file ends it
        {"", "", ""},
    };
    for (const WordCase &c : cases) {
        ScrambledSource source(c.plain);
        char word[kWordBufferSize];
        ReadWord(source.Reader, word);
        EXPECT_STREQ(word, c.word) << "input: " << c.plain;
        ReadWord(source.Reader, word);
        EXPECT_STREQ(word, c.next) << "input: " << c.plain;
        EXPECT_FALSE(source.Reader.Overflow);
    }
}

struct ValueCase {
    const char *plain;
    int first;
    int second;
};

TEST(ScrambledReader, ReadShortValueEndsAtCommaOrLineEnd)
{
    const ValueCase cases[] = {
        {"7\r\n9\r\n", 7, 9},
        {"12,34\n", 12, 34},
        {",5\n", 0, 5},           // an immediate comma gives 0
        {"\n5\n", 0, 5},          // so does an immediate LF
        {" -3\r\n4", -3, 4},
        {"70000,-70000\n", 4464, -4464}, // the low 16 bits
        {"1x2,3", 1, 3},
        {"", 0, 0},
    };
    for (const ValueCase &c : cases) {
        ScrambledSource source(c.plain);
        int16_t a = 99, b = 99;
        ReadShortValue(source.Reader, a);
        ReadShortValue(source.Reader, b);
        EXPECT_EQ(a, c.first) << c.plain;
        EXPECT_EQ(b, c.second) << c.plain;
    }
}

TEST(ScrambledReader, ReadNumberEntrySkipsLineBreaksAndTabs)
{
    struct Case {
        const char *plain;
        std::vector<int> entries;
    };
    const Case cases[] = {
        {"11,12,\r\n13\r\n", {11, 12, 13}},
        {"\t-1,5\n", {-1, 5}},
        {"200,\r\n\t 7 ,1\r\n", {-56, 7, 1}},     // low 8 bits; spaces around digits are harmless
        {"\r\n11,\n12\n", {11, 12}},               // a leading CR LF, a leading LF
        {"1\t2,3", {12, 3}},                       // a TAB inside joins the digits
        {",4,5", {0, 5}},                          // the first byte is never a terminator
        {"", {0}},
    };
    for (const Case &c : cases) {
        ScrambledSource source(c.plain);
        for (size_t i = 0; i < c.entries.size(); ++i) {
            int8_t value = 99;
            ReadNumberEntry(source.Reader, value);
            EXPECT_EQ(value, c.entries[i]) << "input " << c.plain << " entry " << i;
        }
    }
}

struct PositionCase {
    const char *plain;
    float first;
    float second;
};

TEST(ScrambledReader, ReadPositionDegreesAndMinutes)
{
    const PositionCase cases[] = {
        {"54'00 30'00\r\n", 3240.0f, 1800.0f},
        {"-3'30 1'1\n", -210.0f, 61.0f},
        {"-20'15 7.5'0\r\n", -1215.0f, 450.0f},
        {"-0'30 0'30\n", -30.0f, 30.0f},   // the written sign decides, also at zero degrees
        {"2.4'0 -0.5'0\n", 144.0f, -30.0f},
        {"", 0.0f, 0.0f},
    };
    for (const PositionCase &c : cases) {
        ScrambledSource source(c.plain);
        float a = 99, b = 99;
        ReadPosition(source.Reader, a);
        ReadPosition(source.Reader, b);
        EXPECT_EQ(a, c.first) << c.plain;
        EXPECT_EQ(b, c.second) << c.plain;
    }
}

TEST(ScrambledReader, ReadQuadNameListsEndAtTheLineEnd)
{
    struct Case {
        const char *plain;
        std::vector<std::string> names;
        std::vector<bool> more;
    };
    const Case cases[] = {
        {"AB,CD\r\nX", {"AB", "CD"}, {true, false}},
        {"AB,\r\nX", {"AB", ""}, {true, false}},   // a trailing comma adds an empty name
        {"A,\r\r\n", {"A", "\r"}, {true, false}},   // only one CR is replaced
        {"", {""}, {false}},
    };
    for (const Case &c : cases) {
        ScrambledSource source(c.plain);
        for (size_t i = 0; i < c.names.size(); ++i) {
            char slot[kNameSlotSize + 8] = {};
            bool more = ReadQuadName(source.Reader, slot);
            if (source.Reader.Overflow)
                break;
            EXPECT_EQ(std::string(slot), c.names[i]) << c.plain;
            EXPECT_EQ(more, c.more[i]) << c.plain;
        }
    }
}

TEST(ScrambledReader, ReadTextLineDropsOnlyACarriageReturn)
{
    const struct {
        const char *plain;
        const char *text;
    } cases[] = {
        {"Grid data\r\nnext", "Grid data"},
        {"\r\nnext", ""},
        {"Grid data\nnext", "Grid data"}, // a bare LF keeps the last character
        {"\nnext", ""},
        {"Grid data", "Grid data"},       // end of file ends the text
        {"", ""},
    };
    for (const auto &c : cases) {
        ScrambledSource source(c.plain);
        char text[kAboutTextSize];
        ReadTextLine(source.Reader, text);
        EXPECT_STREQ(text, c.text) << c.plain;
    }
}

// Each reader on a field just inside and just outside its buffer.
TEST(ScrambledReader, FieldsAtAndPastTheirBuffers)
{
    struct Case {
        std::string plain;
        void (*read)(ScrambledReader &);
        bool overflow;
    };
    auto word = [](ScrambledReader &r) { char b[kWordBufferSize]; ReadWord(r, b); };
    auto value = [](ScrambledReader &r) { int16_t v; ReadShortValue(r, v); };
    auto entry = [](ScrambledReader &r) { int8_t v; ReadNumberEntry(r, v); };
    auto position = [](ScrambledReader &r) { float v; ReadPosition(r, v); };
    auto name = [](ScrambledReader &r) { char s[kNameSlotSize]; ReadQuadName(r, s); };
    auto line = [](ScrambledReader &r) { char t[kAboutTextSize]; ReadTextLine(r, t); };
    const Case cases[] = {
        {std::string(99, 'w') + "\r\n", word, false},
        {std::string(100, 'w') + "\r\n", word, true},
        {std::string(11, '1') + ",", value, false},
        {std::string(12, '1') + ",", value, true},
        {std::string(11, '1') + "\t\r\n", entry, false},
        {std::string(12, '1') + ",", entry, true},
        {std::string(11, '1') + "'" + std::string(11, '2') + " ", position, false},
        {std::string(12, '1') + "'0 ", position, true},
        {"1'" + std::string(12, '2') + " ", position, true},
        {"AB\r\n", name, false},
        {"ABC,", name, true},
        {std::string(398, 't') + "\r\n", line, false},
        {std::string(399, 't') + "\n", line, false},
        {std::string(399, 't') + "\r\n", line, true},
    };
    for (const Case &c : cases) {
        ScrambledSource source(c.plain);
        c.read(source.Reader);
        EXPECT_EQ(source.Reader.Overflow, c.overflow) << "input of " << c.plain.size() << " bytes: "
                                                     << c.plain.substr(0, 20);
    }
}

// Read into a buffer that holds the whole text, a field is never cut; its
// FieldRoom exceeds the loader's buffer exactly when the loader's read of
// it overflows, and it carries the line of its first kept byte.
TEST(ScrambledReader, FieldsReadWholeTellTheirRoomAndLine)
{
    using Reader = void (*)(ScrambledReader &, char *, int);
    auto name = [](ScrambledReader &r, char *b, int size) { ReadQuadName(r, b, size); };
    struct Case {
        std::string plain;
        Reader read;
        int loaderSize;
        std::vector<int> lines; // of the fields read one after another
        bool overflow;          // of the first field in the loader's buffer
    };
    const Case cases[] = {
        {"Chart 7\r\n\r\n\r\nType", ReadWord, kWordBufferSize, {1, 1, 4}, false},
        {"\r\n\tType 3", ReadWord, kWordBufferSize, {2}, false},
        {std::string(99, 'w') + "\t\x01 x", ReadWord, kWordBufferSize, {1}, false}, // dropped bytes take no room
        {std::string(100, 'w') + " ", ReadWord, kWordBufferSize, {1}, true},
        {"11,\r\n12,\r\n\r\n13", ReadNumberEntryText, kFieldBufferSize, {1, 2, 4}, false},
        {"\t\t\t12345678901,", ReadNumberEntryText, kFieldBufferSize, {1}, false},
        {"123456789012,", ReadNumberEntryText, kFieldBufferSize, {1}, true},
        {"12345678901\n\n7", ReadValueText, kFieldBufferSize, {1, 2, 3}, false},
        {"123456789012\n", ReadValueText, kFieldBufferSize, {1}, true},
        {"AB,CD\r\nEF", name, kNameSlotSize, {1, 1, 2}, false},
        {"ABC\r\n", name, kNameSlotSize, {1}, true},
        {std::string(398, 'a') + "\r\nx", ReadTextLine, kAboutTextSize, {1, 2}, false},
        {std::string(399, 'a') + "\r\n", ReadTextLine, kAboutTextSize, {1}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.plain.substr(0, 20) + " (" + std::to_string(c.plain.size()) + " bytes)");
        ScrambledSource whole(c.plain);
        std::vector<char> buffer(c.plain.size() + 1);
        std::vector<int> lines;
        for (size_t i = 0; i < c.lines.size(); ++i) {
            c.read(whole.Reader, buffer.data(), static_cast<int>(buffer.size()));
            if (i == 0) {
                EXPECT_EQ(whole.Reader.FieldRoom > c.loaderSize, c.overflow);
            }
            lines.push_back(static_cast<int>(whole.Reader.FieldLine));
        }
        EXPECT_FALSE(whole.Reader.Overflow);
        EXPECT_EQ(lines, c.lines);

        ScrambledSource loader(c.plain);
        std::vector<char> loaderBuffer(static_cast<size_t>(c.loaderSize));
        c.read(loader.Reader, loaderBuffer.data(), c.loaderSize);
        EXPECT_EQ(loader.Reader.Overflow, c.overflow);
    }
}

} // namespace
