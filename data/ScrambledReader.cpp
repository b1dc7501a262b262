// The descrambling byte reader and the byte-exact field readers.
#include "data/ScrambledReader.h"

#include <cmath>

#include "data/DecimalText.h"
#include "data/GridDatabase.h"

const unsigned char ScrambleKey[kScrambleKeyLength] = {
    'K', 'a', 'p', 't', 'e', 'n', ' ', 'B', 'l', 0xE5, ' ', 's', 'e', 'g',
    'l', 'a', 'r', ' ', 'h', 'e', 'm', ' ', 'm', 'o', 't', ' ', 'G', 'o',
    't', 'l', 'a', 'n', 'd', ' ', 'i', ' ', 'n', 'a', 't', 't', ':', ')',
};

namespace {

const int kLF = '\n';
const int kCR = '\r';
const int kTab = '\t';

// Starts a field where the reader stands: nothing kept yet.
void BeginField(ScrambledReader &reader)
{
    reader.FieldLine = reader.Line;
    reader.FieldLength = 0;
    reader.FieldRoom = 1;
}

// Whether index i still lies inside a buffer of the given size.  When it
// does not, the reader is marked as overflowed and the text is ended at
// the buffer's last byte.
bool HasRoom(ScrambledReader &reader, char *buffer, int i, int size)
{
    reader.FieldRoom = i + 1;
    if (i < size)
        return true;
    reader.Overflow = true;
    buffer[size - 1] = '\0';
    reader.FieldLength = size - 1;
    return false;
}

// Ends a field of length bytes.
void EndField(ScrambledReader &reader, char *field, int length)
{
    field[length] = '\0';
    reader.FieldLength = length;
}

// Gathers bytes up to (and consuming) one of two terminators or end of
// file, and terminates the text in place of the terminator.
void ReadUntil(ScrambledReader &reader, char *field, int capacity, int end1, int end2)
{
    BeginField(reader);
    for (int i = 0;; ++i) {
        int c = ReadScrambledByte(reader);
        if (c == end1 || c == end2 || c == kEndOfFile) {
            EndField(reader, field, i);
            return;
        }
        if (!HasRoom(reader, field, i + 1, capacity)) // none left for the NUL
            return;
        field[i] = static_cast<char>(c);
    }
}

} // namespace

// Opens a reader on a file at key byte 0.
ScrambledReader MakeFileReader(std::FILE *file)
{
    ScrambledReader reader = {};
    reader.File = file;
    reader.Line = 1;
    return reader;
}

// Opens a reader on a block of memory at key byte 0.
ScrambledReader MakeMemoryReader(const unsigned char *data, size_t size)
{
    ScrambledReader reader = {};
    reader.Line = 1;
    reader.Memory = data;
    reader.MemorySize = size;
    return reader;
}

// XORs each byte with the key byte of its file offset.
void ScrambleBytes(unsigned char *data, size_t size, size_t keyOffset)
{
    for (size_t i = 0; i < size; ++i)
        data[i] ^= ScrambleKey[(keyOffset + i) % kScrambleKeyLength];
}

// Reads one byte and descrambles it with the next key byte; a line feed
// moves the reader to the next line.
int ReadScrambledByte(ScrambledReader &reader)
{
    int b;
    if (reader.File) {
        b = std::fgetc(reader.File);
        if (b == EOF) {
            reader.AtEnd = true;
            return kEndOfFile;
        }
    } else {
        if (reader.MemoryPos >= reader.MemorySize) {
            reader.AtEnd = true;
            return kEndOfFile;
        }
        b = reader.Memory[reader.MemoryPos++];
    }
    int k = ScrambleKey[reader.KeyIndex % kScrambleKeyLength];
    reader.KeyIndex = static_cast<int16_t>(reader.KeyIndex % kScrambleKeyLength + 1);
    int c = b ^ k;
    if (c == kLF)
        ++reader.Line;
    return c;
}

// Reads a word: the first byte is never a terminator, control and
// non-ASCII bytes step back so that the next byte overwrites them.
void ReadWord(ScrambledReader &reader, char *buffer, int size)
{
    BeginField(reader);
    int c = ReadScrambledByte(reader);
    if (c == kEndOfFile) {
        EndField(reader, buffer, 0);
        return;
    }
    buffer[0] = static_cast<char>(c);
    int i = 0;
    for (;;) {
        if (static_cast<signed char>(buffer[i]) < 0x20)
            --i;
        else if (i == 0)
            reader.FieldLine = reader.Line; // the first kept byte, never a line end
        if (!HasRoom(reader, buffer, ++i, size))
            return;
        c = ReadScrambledByte(reader);
        if (c == kEndOfFile || c == ' ' || c == 0xFF || (c == kLF && i > 0))
            break;
        buffer[i] = static_cast<char>(c);
    }
    EndField(reader, buffer, i);
}

// Reads a value's text up to a comma or LF.
void ReadValueText(ScrambledReader &reader, char *field, int size)
{
    ReadUntil(reader, field, size, ',', kLF);
}

// Reads a value and keeps its low 16 bits.
void ReadShortValue(ScrambledReader &reader, int16_t &value)
{
    char field[kFieldBufferSize];
    ReadValueText(reader, field);
    value = static_cast<int16_t>(static_cast<uint16_t>(ParseIntegerText(field)));
}

// Reads a list entry: a leading LF, a leading CR with its LF, and every
// TAB or CR are dropped; the entry ends at a comma or LF after its first
// byte.
void ReadNumberEntryText(ScrambledReader &reader, char *field, int size)
{
    BeginField(reader);
    field[0] = '\0';
    int c = ReadScrambledByte(reader);
    if (c == kEndOfFile)
        return;
    field[0] = static_cast<char>(c);
    int i = 0;
    for (;;) {
        if (i == 0 && field[0] == kLF) {
            i = -1;
        } else if (field[i] == kCR) {
            if (i == 0)
                ReadScrambledByte(reader); // the LF after a leading CR
            --i;
        } else if (field[i] == kTab) {
            --i;
        } else if (i == 0) {
            reader.FieldLine = reader.Line; // the first kept byte, never a line end
        }
        if (!HasRoom(reader, field, ++i, size))
            return;
        c = ReadScrambledByte(reader);
        if (c == ',' || c == kLF || c == kEndOfFile) {
            EndField(reader, field, i);
            return;
        }
        field[i] = static_cast<char>(c);
    }
}

// Reads a list entry and keeps the low 8 bits of its value.
void ReadNumberEntry(ScrambledReader &reader, int8_t &value)
{
    char field[kFieldBufferSize];
    ReadNumberEntryText(reader, field);
    value = static_cast<int8_t>(static_cast<uint8_t>(ParseIntegerText(field)));
}

// Reads degrees up to the apostrophe.
void ReadDegreesText(ScrambledReader &reader, char *field, int size)
{
    ReadUntil(reader, field, size, '\'', '\'');
}

// Reads minutes up to a space or LF.
void ReadMinutesText(ScrambledReader &reader, char *field, int size)
{
    ReadUntil(reader, field, size, ' ', kLF);
}

// Reads degrees and minutes; the minutes are subtracted when the degrees
// are written negative.
void ReadPosition(ScrambledReader &reader, float &minutes)
{
    char field[kFieldBufferSize];
    ReadDegreesText(reader, field);
    float degrees = static_cast<float>(ParseRealText(field) * 60.0);
    ReadMinutesText(reader, field);
    double m = ParseRealText(field);
    // The sign bit also catches a written "-0", so that -0'30 is 30 minutes
    // south or east rather than north or west.
    minutes = static_cast<float>(std::signbit(degrees) ? degrees - m : degrees + m);
}

// Reads one name of a comma-separated list; a CR is replaced by the byte
// after it, so the CR of a CR LF line end vanishes.
bool ReadQuadName(ScrambledReader &reader, char *slot, int size)
{
    BeginField(reader);
    for (int i = 0;; ++i) {
        int c = ReadScrambledByte(reader);
        if (c == kCR)
            c = ReadScrambledByte(reader);
        if (c == ',' || c == kLF || c == kEndOfFile) {
            EndField(reader, slot, i);
            return c == ',';
        }
        if (!HasRoom(reader, slot, i + 1, size))
            return false;
        slot[i] = static_cast<char>(c);
    }
}

// Reads a line up to its LF; a CR before the LF is dropped, any other last
// byte is kept.
void ReadTextLine(ScrambledReader &reader, char *buffer, int size)
{
    BeginField(reader);
    int i = 0;
    for (;; ++i) {
        int c = ReadScrambledByte(reader);
        if (c == kLF || c == kEndOfFile)
            break;
        if (!HasRoom(reader, buffer, i + 1, size))
            return;
        buffer[i] = static_cast<char>(c);
    }
    if (i > 0 && buffer[i - 1] == kCR)
        --i;
    EndField(reader, buffer, i);
}
