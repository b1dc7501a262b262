// The checker's plain readers cut every field exactly as the program's own
// readers do: each case is read by both and the results compared.
#include <gtest/gtest.h>

#include <string>

#include "ScrambledText.h"
#include "tools/gridtool/PlainFieldReader.h"

namespace {

enum class Reader { Word, Value, Entry, Name, Line };

struct FieldCase {
    Reader reader;
    const char *plain;
    int reads;  // how many fields of that kind to read in a row
};

// Reads the same fields with the program's reader, as texts.
std::vector<std::string> ProgramFields(const FieldCase &c)
{
    ScrambledSource source(c.plain);
    std::vector<std::string> fields;
    for (int i = 0; i < c.reads; ++i) {
        char buffer[kAboutTextSize] = {};
        int16_t value = 0;
        int8_t entry = 0;
        switch (c.reader) {
        case Reader::Word: ReadWord(source.Reader, buffer); fields.push_back(buffer); break;
        case Reader::Value: ReadShortValue(source.Reader, value); fields.push_back(std::to_string(value)); break;
        case Reader::Entry: ReadNumberEntry(source.Reader, entry); fields.push_back(std::to_string(entry)); break;
        case Reader::Name: {
            bool more = ReadQuadName(source.Reader, buffer);
            fields.push_back(std::string(buffer) + (more ? "+" : "."));
            break;
        }
        case Reader::Line: ReadTextLine(source.Reader, buffer); fields.push_back(buffer); break;
        }
    }
    return fields;
}

// Reads them with the checker's readers, converted the way the loader does.
std::vector<std::string> PlainFields(const FieldCase &c, std::vector<int> &lines)
{
    std::string text = c.plain;
    PlainCursor cursor = MakePlainCursor(text);
    std::vector<std::string> fields;
    for (int i = 0; i < c.reads; ++i) {
        PlainField f;
        bool more = false;
        switch (c.reader) {
        case Reader::Word: f = ReadPlainWord(cursor); fields.push_back(f.Text); break;
        case Reader::Value:
            f = ReadPlainValue(cursor);
            fields.push_back(std::to_string(static_cast<int16_t>(std::atoi(f.Text.c_str()))));
            break;
        case Reader::Entry:
            f = ReadPlainNumberEntry(cursor);
            fields.push_back(std::to_string(static_cast<int8_t>(std::atoi(f.Text.c_str()))));
            break;
        case Reader::Name: f = ReadPlainQuadName(cursor, more); fields.push_back(f.Text + (more ? "+" : ".")); break;
        case Reader::Line: f = ReadPlainTextLine(cursor); fields.push_back(f.Text); break;
        }
        lines.push_back(f.Line);
    }
    return fields;
}

TEST(PlainFieldReader, CutsFieldsAsTheProgramsReaders)
{
    const FieldCase cases[] = {
        {Reader::Word, "Chart 7\r\n", 2},
        {Reader::Word, "Chart\r\n7\r\n", 2},
        {Reader::Word, " Chart 7\r\n", 2},
        {Reader::Word, "\r\n\r\n\tType 3\r\n", 2},
        {Reader::Word, "\r\n Type 3", 3},
        {Reader::Word, "Ty\tpe 3", 2},
        {Reader::Word, "Ch\xE4rt\xFFx", 2},
        {Reader::Word, "", 2},
        {Reader::Value, "7\r\n-12,40000\r\n,", 4},
        {Reader::Value, "  +15x\r\n", 1},
        {Reader::Entry, "11,12,\r\n13\r\n", 3},
        {Reader::Entry, "\t-1,\r\n\t 200,\n7,", 3},
        {Reader::Entry, "\r\n\r\n5,", 2},
        {Reader::Name, "AB,CD\r\n", 2},
        {Reader::Name, "AB,\r\n", 2},
        {Reader::Name, "A\rB,C", 2},
        {Reader::Line, "Grid data\r\nnext", 2},
        {Reader::Line, "\r\nx\n", 2},
    };
    for (const FieldCase &c : cases) {
        std::vector<int> lines;
        EXPECT_EQ(PlainFields(c, lines), ProgramFields(c)) << "text: " << c.plain;
    }
}

TEST(PlainFieldReader, FieldsCarryTheLineOfTheirFirstKeptByte)
{
    const struct {
        FieldCase field;
        std::vector<int> lines;
    } cases[] = {
        {{Reader::Word, "Chart 7\r\n\r\n\r\nType", 3}, {1, 1, 4}},
        {{Reader::Entry, "11,\r\n12,\r\n\r\n13", 3}, {1, 2, 4}},  // blank lines between entries vanish
        {{Reader::Name, "AB,CD\r\nEF", 3}, {1, 1, 2}},
    };
    for (const auto &c : cases) {
        std::vector<int> lines;
        PlainFields(c.field, lines);
        EXPECT_EQ(lines, c.lines) << c.field.plain;
    }
}

TEST(PlainFieldReader, MarksFieldsThatOverflowTheLoadersBuffers)
{
    const struct {
        Reader reader;
        std::string plain;
        bool tooLong;
    } cases[] = {
        {Reader::Word, std::string(99, 'w') + " ", false},
        {Reader::Word, std::string(100, 'w') + " ", true},
        {Reader::Value, "12345678901\n", false},
        {Reader::Value, "123456789012\n", true},
        {Reader::Entry, "\t\t\t12345678901,", false},  // dropped TABs do not count
        {Reader::Entry, "123456789012,", true},
        {Reader::Name, "AB\r\n", false},
        {Reader::Name, "ABC\r\n", true},
        {Reader::Line, std::string(397, 'a') + "\r\n", false},
        {Reader::Line, std::string(399, 'a') + "\r\n", true},
    };
    for (const auto &c : cases) {
        PlainCursor cursor = MakePlainCursor(c.plain);
        bool more = false;
        PlainField f = c.reader == Reader::Word    ? ReadPlainWord(cursor)
                       : c.reader == Reader::Value ? ReadPlainValue(cursor)
                       : c.reader == Reader::Entry ? ReadPlainNumberEntry(cursor)
                       : c.reader == Reader::Name  ? ReadPlainQuadName(cursor, more)
                                                   : ReadPlainTextLine(cursor);
        EXPECT_EQ(f.TooLong, c.tooLong) << c.plain.size() << " bytes: " << c.plain.substr(0, 20);
    }
}

} // namespace
