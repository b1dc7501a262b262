// The plain keyword text of a data file that may be stored scrambled or
// plain, as data makers keep both.
#ifndef ORVANTA_TOOLS_DATAFILETEXT_H
#define ORVANTA_TOOLS_DATAFILETEXT_H

#include <string>
#include <vector>

struct DataFileText {
    std::string Plain;       // the keyword text
    bool WasScrambled;       // the file held it scrambled
    bool Recognised;         // one of the two forms begins with a keyword
};

// Decides whether the bytes are scrambled: the form whose first word is
// "About" or "Chart" wins; when neither begins so, the form with more
// printable text.
DataFileText DecodeDataFile(const std::vector<unsigned char> &bytes);

// The scrambled bytes the program's loader reads for that text.
std::vector<unsigned char> ScrambledForm(const std::string &plain);

// Whether the file's first bytes are those of a plain keyword text, which
// the program cannot load before it is scrambled.
bool IsPlainDataFile(const std::string &path);

#endif
