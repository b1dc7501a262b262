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

enum : int { kScrambleKeyLength = 42, kEndOfFile = -1 };

// "Kapten Blå seglar hem mot Gotland i natt:)" in Windows-1252.
extern const unsigned char ScrambleKey[kScrambleKeyLength];

// The byte source (an open file or a block of memory) and the key position.
struct ScrambledReader {
    std::FILE *File;
    const unsigned char *Memory;
    size_t MemorySize;
    size_t MemoryPos;
    int16_t KeyIndex;
    bool Overflow;
};

// A reader over an open file, from its current position and key byte 0.
ScrambledReader MakeFileReader(std::FILE *file);

// A reader over a block of scrambled bytes, from key byte 0.
ScrambledReader MakeMemoryReader(const unsigned char *data, size_t size);

// Scrambles or descrambles a block in place; the two are the same
// operation.  keyOffset is the file offset of the block's first byte.
void ScrambleBytes(unsigned char *data, size_t size, size_t keyOffset);

// The next plain byte (0 to 255), or kEndOfFile.
int ReadScrambledByte(ScrambledReader &reader);

// A keyword-position word, ended by a space, the byte 0xFF, a line end once
// the word holds a byte, or end of file; control and non-ASCII bytes that do
// not end it are dropped.  buffer holds at least kWordBufferSize bytes.
void ReadWord(ScrambledReader &reader, char *buffer);

// A decimal value ended by a comma or a line end; the low 16 bits are kept.
void ReadShortValue(ScrambledReader &reader, int16_t &value);

// One entry of a Numbers list; TABs and line ends between entries are
// skipped; the low 8 bits are kept.
void ReadNumberEntry(ScrambledReader &reader, int8_t &value);

// A position written degrees'minutes, in minutes of arc; the minutes take
// the written sign of the degrees (-0'30 is -30).
void ReadPosition(ScrambledReader &reader, float &minutes);

// One quad name of a comma-separated list into a 3-byte slot; true when a
// comma ended it (more names follow on the line).
bool ReadQuadName(ScrambledReader &reader, char *slot);

// The rest of the line without its line end; the byte before the LF is
// dropped only when it is a CR.  buffer holds at least kAboutTextSize bytes.
void ReadTextLine(ScrambledReader &reader, char *buffer);

#endif
