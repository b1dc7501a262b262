// Field readers over the plain text that mirror the program's readers byte
// for byte and count lines.
#include "tools/gridtool/PlainFieldReader.h"

#include "data/GridDatabase.h"

namespace {

const int kEnd = -1;

// Gathers bytes up to one of two terminators or the end of the text; a
// field of more than limit bytes overflows the loader's buffer.
PlainField ReadUntil(PlainCursor &cursor, int end1, int end2, size_t limit)
{
    PlainField field;
    field.Line = cursor.Line;
    for (;;) {
        int c = NextPlainByte(cursor);
        if (c == kEnd) {
            field.AtEnd = true;
            break;
        }
        if (c == end1 || c == end2)
            break;
        field.Text.push_back(static_cast<char>(c));
    }
    field.TooLong = field.Text.size() > limit;
    return field;
}

} // namespace

// A cursor at the first byte of the text, on line 1.
PlainCursor MakePlainCursor(const std::string &text)
{
    return PlainCursor{&text, 0, 1};
}

// Reads one byte; a line feed moves the cursor to the next line.
int NextPlainByte(PlainCursor &cursor)
{
    if (cursor.Pos >= cursor.Text->size())
        return kEnd;
    int c = static_cast<unsigned char>((*cursor.Text)[cursor.Pos++]);
    if (c == '\n')
        ++cursor.Line;
    return c;
}

// The first byte is never a terminator; control and non-ASCII bytes are
// dropped when the next byte arrives, a line end ends only a started word.
PlainField ReadPlainWord(PlainCursor &cursor)
{
    PlainField field;
    field.Line = cursor.Line;
    int line = cursor.Line;
    int c = NextPlainByte(cursor);
    if (c == kEnd) {
        field.AtEnd = true;
        return field;
    }
    field.Text.push_back(static_cast<char>(c));
    for (;;) {
        if (!field.Text.empty() && static_cast<signed char>(field.Text.back()) < 0x20)
            field.Text.pop_back();
        else if (field.Text.size() == 1)
            field.Line = line;
        if (field.Text.size() >= kWordBufferSize)
            field.TooLong = true;
        line = cursor.Line;
        c = NextPlainByte(cursor);
        if (c == kEnd) {
            field.AtEnd = true;
            break;
        }
        if (c == ' ' || c == 0xFF || (c == '\n' && !field.Text.empty()))
            break;
        field.Text.push_back(static_cast<char>(c));
    }
    return field;
}

// Up to a comma or a line end; an immediate terminator gives the empty
// field.
PlainField ReadPlainValue(PlainCursor &cursor)
{
    return ReadUntil(cursor, ',', '\n', kFieldBufferSize - 1);
}

// Steps back over a leading LF, a leading CR with the byte after it, and
// any TAB or CR, as the loader's list reader does.
PlainField ReadPlainNumberEntry(PlainCursor &cursor)
{
    PlainField field;
    field.Line = cursor.Line;
    int line = cursor.Line;
    int c = NextPlainByte(cursor);
    if (c == kEnd) {
        field.AtEnd = true;
        return field;
    }
    field.Text.push_back(static_cast<char>(c));
    for (;;) {
        char last = field.Text.back();
        if (field.Text.size() == 1 && last == '\n') {
            field.Text.pop_back();
        } else if (last == '\r') {
            if (field.Text.size() == 1)
                NextPlainByte(cursor);
            field.Text.pop_back();
        } else if (last == '\t') {
            field.Text.pop_back();
        } else if (field.Text.size() == 1) {
            field.Line = line;
        }
        if (field.Text.size() >= kFieldBufferSize)
            field.TooLong = true;
        line = cursor.Line;
        c = NextPlainByte(cursor);
        if (c == kEnd) {
            field.AtEnd = true;
            break;
        }
        if (c == ',' || c == '\n')
            break;
        field.Text.push_back(static_cast<char>(c));
    }
    return field;
}

// Degrees end at the apostrophe only.
PlainField ReadPlainDegrees(PlainCursor &cursor)
{
    return ReadUntil(cursor, '\'', '\'', kFieldBufferSize - 1);
}

// Minutes end at a space or a line end.
PlainField ReadPlainMinutes(PlainCursor &cursor)
{
    return ReadUntil(cursor, ' ', '\n', kFieldBufferSize - 1);
}

// A CR is replaced by the byte after it; a comma or a line end ends the
// name.
PlainField ReadPlainQuadName(PlainCursor &cursor, bool &more)
{
    PlainField field;
    field.Line = cursor.Line;
    more = false;
    for (;;) {
        int c = NextPlainByte(cursor);
        if (c == '\r')
            c = NextPlainByte(cursor);
        if (c == kEnd) {
            field.AtEnd = true;
            break;
        }
        if (c == ',' || c == '\n') {
            more = c == ',';
            break;
        }
        field.Text.push_back(static_cast<char>(c));
    }
    field.TooLong = field.Text.size() > kNameSlotSize - 1;
    return field;
}

// The bytes up to the line feed; a CR before it is dropped.
PlainField ReadPlainTextLine(PlainCursor &cursor)
{
    PlainField field = ReadUntil(cursor, '\n', '\n', kAboutTextSize - 1);
    if (!field.Text.empty() && field.Text.back() == '\r')
        field.Text.pop_back();
    return field;
}
