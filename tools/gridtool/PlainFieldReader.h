// The field readers of the data file, over its plain text and with line
// numbers, for the checker.
//
// They end, drop and join bytes exactly as the program's own readers do,
// so a field here is what the loader would see; but they keep every byte of
// a field however long it is, and record where it began and whether it
// would overflow the loader's buffer, so that the checker can say so.
#ifndef ORVANTA_TOOLS_GRIDTOOL_PLAINFIELDREADER_H
#define ORVANTA_TOOLS_GRIDTOOL_PLAINFIELDREADER_H

#include <cstddef>
#include <string>

// A plain keyword text read byte by byte, counting lines from 1.
struct PlainCursor {
    const std::string *Text;
    size_t Pos;
    int Line;
};

// One field as a reader gathered it, without its terminator.
struct PlainField {
    std::string Text;
    int Line = 0;          // the line of the field's first kept byte
    bool AtEnd = false;    // the file ended before the terminator
    bool TooLong = false;  // the loader's buffer for this field overflows
};

PlainCursor MakePlainCursor(const std::string &text);

// The next byte (0 to 255), or -1 at the end of the text.
int NextPlainByte(PlainCursor &cursor);

// A keyword-position word (the loader's 100-byte word buffer).
PlainField ReadPlainWord(PlainCursor &cursor);

// A 16-bit value, up to a comma or a line end.
PlainField ReadPlainValue(PlainCursor &cursor);

// One entry of a Numbers list, dropping TABs, CRs and a leading line end.
PlainField ReadPlainNumberEntry(PlainCursor &cursor);

// The degrees of a position, up to the apostrophe.
PlainField ReadPlainDegrees(PlainCursor &cursor);

// The minutes of a position, up to a space or a line end.
PlainField ReadPlainMinutes(PlainCursor &cursor);

// One quad name; more is set when a comma ended it.
PlainField ReadPlainQuadName(PlainCursor &cursor, bool &more);

// The rest of a line (the About text), without its CR LF.
PlainField ReadPlainTextLine(PlainCursor &cursor);

#endif
