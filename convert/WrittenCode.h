// Grid codes as people write them: "AM 1969", "Qu. AM 19-69", "äj 11 55",
// " CA6897 ", a large square "AM" or one of its cells "AM19".  The tools read
// every code through here; the main window keeps its own field.
#ifndef ORVANTA_CONVERT_WRITTENCODE_H
#define ORVANTA_CONVERT_WRITTENCODE_H

#include <string>

// What a written text names.
struct WrittenCode {
    bool Valid;         // the text names a large square, a cell or a small square
    std::string Code;   // two letters and 0, 2 or 4 digits, Windows-1252 (Ä is 0xC4)
    std::string Fault;  // when not valid: what is wrong, in UTF-8
};

// Reads a text in UTF-8, or in Windows-1252 when it is not valid UTF-8:
// surrounding blanks, a leading "Qu", "Qu." or "Quadrat", blanks, a hyphen
// or a dot between the letters and the digits and between the digit pairs
// are dropped, and the letters are taken to upper case (ä too).
WrittenCode ReadWrittenCode(const std::string &text);

#endif
