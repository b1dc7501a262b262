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

// Whether index i still lies inside a buffer of the given size.  When it
// does not, the reader is marked as overflowed and the text is ended at
// the buffer's last byte.
bool HasRoom(ScrambledReader &reader, char *buffer, int i, int size)
{
    if (i < size)
        return true;
    reader.Overflow = true;
    buffer[size - 1] = '\0';
    return false;
}

// Gathers bytes up to (and consuming) one of two terminators or end of
// file, and terminates the text in place of the terminator.
void ReadUntil(ScrambledReader &reader, char *field, int capacity, int end1, int end2)
{
    for (int i = 0;; ++i) {
        int c = ReadScrambledByte(reader);
        if (c == end1 || c == end2 || c == kEndOfFile) {
            field[i] = '\0';
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
    return reader;
}

// Opens a reader on a block of memory at key byte 0.
ScrambledReader MakeMemoryReader(const unsigned char *data, size_t size)
{
    ScrambledReader reader = {};
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

// Reads one byte and descrambles it with the next key byte.
int ReadScrambledByte(ScrambledReader &reader)
{
    int b;
    if (reader.File) {
        b = std::fgetc(reader.File);
        if (b == EOF)
            return kEndOfFile;
    } else {
        if (reader.MemoryPos >= reader.MemorySize)
            return kEndOfFile;
        b = reader.Memory[reader.MemoryPos++];
    }
    int k = ScrambleKey[reader.KeyIndex % kScrambleKeyLength];
    reader.KeyIndex = static_cast<int16_t>(reader.KeyIndex % kScrambleKeyLength + 1);
    return b ^ k;
}

// Reads a word: the first byte is never a terminator, control and
// non-ASCII bytes step back so that the next byte overwrites them.
void ReadWord(ScrambledReader &reader, char *buffer)
{
    int c = ReadScrambledByte(reader);
    if (c == kEndOfFile) {
        buffer[0] = '\0';
        return;
    }
    buffer[0] = static_cast<char>(c);
    int i = 0;
    for (;;) {
        if (static_cast<signed char>(buffer[i]) < 0x20)
            --i;
        if (!HasRoom(reader, buffer, ++i, kWordBufferSize))
            return;
        c = ReadScrambledByte(reader);
        if (c == kEndOfFile || c == ' ' || c == 0xFF || (c == kLF && i > 0))
            break;
        buffer[i] = static_cast<char>(c);
    }
    buffer[i] = '\0';
}

// Reads a value up to a comma or LF and keeps its low 16 bits.
void ReadShortValue(ScrambledReader &reader, int16_t &value)
{
    char field[kFieldBufferSize];
    ReadUntil(reader, field, kFieldBufferSize, ',', kLF);
    value = static_cast<int16_t>(static_cast<uint16_t>(ParseIntegerText(field)));
}

// Reads a list entry: a leading LF, a leading CR with its LF, and every
// TAB or CR are dropped; the entry ends at a comma or LF after its first
// byte.  The low 8 bits of the value are kept.
void ReadNumberEntry(ScrambledReader &reader, int8_t &value)
{
    char field[kFieldBufferSize];
    field[0] = '\0';
    int c = ReadScrambledByte(reader);
    if (c != kEndOfFile) {
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
            }
            if (!HasRoom(reader, field, ++i, kFieldBufferSize))
                break;
            c = ReadScrambledByte(reader);
            if (c == ',' || c == kLF || c == kEndOfFile) {
                field[i] = '\0';
                break;
            }
            field[i] = static_cast<char>(c);
        }
    }
    value = static_cast<int8_t>(static_cast<uint8_t>(ParseIntegerText(field)));
}

// Reads degrees up to the apostrophe and minutes up to a space or LF; the
// minutes are subtracted when the degrees are written negative.
void ReadPosition(ScrambledReader &reader, float &minutes)
{
    char field[kFieldBufferSize];
    ReadUntil(reader, field, kFieldBufferSize, '\'', '\'');
    float degrees = static_cast<float>(ParseRealText(field) * 60.0);
    ReadUntil(reader, field, kFieldBufferSize, ' ', kLF);
    double m = ParseRealText(field);
    // The sign bit also catches a written "-0", so that -0'30 is 30 minutes
    // south or east rather than north or west.
    minutes = static_cast<float>(std::signbit(degrees) ? degrees - m : degrees + m);
}

// Reads one name of a comma-separated list; a CR is replaced by the byte
// after it, so the CR of a CR LF line end vanishes.
bool ReadQuadName(ScrambledReader &reader, char *slot)
{
    for (int i = 0;; ++i) {
        int c = ReadScrambledByte(reader);
        if (c == kCR)
            c = ReadScrambledByte(reader);
        if (c == ',' || c == kLF || c == kEndOfFile) {
            slot[i] = '\0';
            return c == ',';
        }
        if (!HasRoom(reader, slot, i + 1, kNameSlotSize))
            return false;
        slot[i] = static_cast<char>(c);
    }
}

// Reads a line up to its LF; a CR before the LF is dropped, any other last
// byte is kept.
void ReadTextLine(ScrambledReader &reader, char *buffer)
{
    int i = 0;
    for (;; ++i) {
        int c = ReadScrambledByte(reader);
        if (c == kLF || c == kEndOfFile)
            break;
        if (!HasRoom(reader, buffer, i + 1, kAboutTextSize))
            return;
        buffer[i] = static_cast<char>(c);
    }
    if (i > 0 && buffer[i - 1] == kCR)
        --i;
    buffer[i] = '\0';
}
