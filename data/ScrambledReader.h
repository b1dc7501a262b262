// The scrambled byte reader over GridData.bin and the field readers that
// cut its plain text into words, values, positions, names and text lines.
//
// Every byte of the file is XORed with one byte of a fixed 42-byte key, the
// key used cyclically from the first byte of the file on.  Each field reader
// takes bytes until its own terminator and converts what it gathered; end of
// file ends any field as its terminator would.  No reader writes past the
// buffer it fills: a field that does not fit sets the reader's Overflow flag
// and ends there, and the loader then fails the load.
#ifndef ORVANTA_DATA_SCRAMBLEDREADER_H
#define ORVANTA_DATA_SCRAMBLEDREADER_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "data/GridDatabase.h"

enum : int { kScrambleKeyLength = 42, kEndOfFile = -1 };

// "Kapten Blå seglar hem mot Gotland i natt:)" in Windows-1252.
extern const unsigned char ScrambleKey[kScrambleKeyLength];

// The byte source (an open file or a block of memory), the key position
// and where reading stands.  After each field reader the Field members
// describe the field it read, so that a checker can say where a fault lies.
struct ScrambledReader {
    std::FILE *File;
    const unsigned char *Memory;
    size_t MemorySize;
    size_t MemoryPos;
    int16_t KeyIndex;
    bool Overflow;
    bool AtEnd;         // a read has met the end of the file
    uint32_t Line;      // the line of the next byte, from 1
    uint32_t FieldLine; // the line of the field's first kept byte (where it began when it kept none)
    int FieldLength;    // the bytes the field kept, without its terminator
    int FieldRoom;      // the smallest buffer that holds the field as read: its bytes, a CR it dropped at its end, the NUL
};

// A reader over an open file, from its current position, key byte 0 and
// line 1.
ScrambledReader MakeFileReader(std::FILE *file);

// A reader over a block of scrambled bytes, from key byte 0 and line 1.
ScrambledReader MakeMemoryReader(const unsigned char *data, size_t size);

// Scrambles or descrambles a block in place; the two are the same
// operation.  keyOffset is the file offset of the block's first byte.
void ScrambleBytes(unsigned char *data, size_t size, size_t keyOffset);

// The next plain byte (0 to 255), or kEndOfFile.
int ReadScrambledByte(ScrambledReader &reader);

// Each field reader fills a buffer of size bytes; the loader passes the
// sizes of its own buffers (the defaults), the checker one as large as the
// whole text, so that no field is cut, and compares FieldRoom with them.

// A keyword-position word, ended by a space, the byte 0xFF, a line end once
// the word holds a byte, or end of file; control and non-ASCII bytes that do
// not end it are dropped.
void ReadWord(ScrambledReader &reader, char *buffer, int size = kWordBufferSize);

// The text of a value, ended by a comma or a line end.
void ReadValueText(ScrambledReader &reader, char *field, int size = kFieldBufferSize);

// A decimal value ended by a comma or a line end; the low 16 bits are kept.
void ReadShortValue(ScrambledReader &reader, int16_t &value);

// The text of one entry of a Numbers list, ended by a comma or a line end;
// TABs, CRs and a line end before the entry are dropped.
void ReadNumberEntryText(ScrambledReader &reader, char *field, int size = kFieldBufferSize);

// One entry of a Numbers list; the low 8 bits are kept.
void ReadNumberEntry(ScrambledReader &reader, int8_t &value);

// The degrees of a position, ended by the apostrophe only.
void ReadDegreesText(ScrambledReader &reader, char *field, int size = kFieldBufferSize);

// The minutes of a position, ended by a space or a line end.
void ReadMinutesText(ScrambledReader &reader, char *field, int size = kFieldBufferSize);

// A position written degrees'minutes, in minutes of arc; the minutes take
// the written sign of the degrees (-0'30 is -30).
void ReadPosition(ScrambledReader &reader, float &minutes);

// One quad name of a comma-separated list into a slot (two characters and
// the NUL); true when a comma ended it (more names follow on the line).
bool ReadQuadName(ScrambledReader &reader, char *slot, int size = kNameSlotSize);

// The rest of the line without its line end; the byte before the LF is
// dropped only when it is a CR.
void ReadTextLine(ScrambledReader &reader, char *buffer, int size = kAboutTextSize);

#endif
