// Test helpers: plain keyword text in, scrambled bytes and readers out.
#ifndef ORVANTA_TESTS_SCRAMBLEDTEXT_H
#define ORVANTA_TESTS_SCRAMBLEDTEXT_H

#include <string>
#include <vector>

#include "data/GridLoader.h"
#include "data/ScrambledReader.h"

// The scrambled form of a plain text, as a data file would hold it.
inline std::vector<unsigned char> Scrambled(const std::string &plain)
{
    std::vector<unsigned char> bytes(plain.begin(), plain.end());
    ScrambleBytes(bytes.data(), bytes.size(), 0);
    return bytes;
}

// A reader together with the scrambled bytes it reads.
struct ScrambledSource {
    explicit ScrambledSource(const std::string &plain)
        : Bytes(Scrambled(plain)), Reader(MakeMemoryReader(Bytes.data(), Bytes.size()))
    {
    }
    std::vector<unsigned char> Bytes;
    ScrambledReader Reader;
};

// Loads a plain text into a fresh database and stores the status in it.
inline int16_t LoadPlainText(const std::string &plain, GridDatabase &db)
{
    ResetGridDatabase(db);
    std::vector<unsigned char> bytes = Scrambled(plain);
    db.LoadStatus = LoadGridDataFromMemory(bytes.data(), bytes.size(), db);
    return db.LoadStatus;
}

// Joins lines with CR LF line ends, as the data files are written.
inline std::string CrLfLines(std::initializer_list<const char *> lines)
{
    std::string text;
    for (const char *line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

#endif
