// Texts of the program (Windows-1252) for tools that write UTF-8 and JSON.
#ifndef ORVANTA_TOOLS_TEXTENCODING_H
#define ORVANTA_TOOLS_TEXTENCODING_H

#include <string>
#include <vector>

#include "data/GridDatabase.h"

// Converts a Windows-1252 text to UTF-8; the five unassigned bytes become
// U+FFFD.
std::string Cp1252ToUtf8(const std::string &text);

// The same, added to the end of out.
void AppendCp1252AsUtf8(std::string &out, const std::string &text);

// The same for size bytes of text, written at out, which has room for
// 3 x size bytes; returns the end of what was written (not terminated).
char *PutCp1252AsUtf8(char *out, const char *text, size_t size);

// Input bytes echoed into output: valid UTF-8 is kept as it is, every byte
// that does not belong to a valid sequence becomes U+FFFD.
std::string ValidUtf8(const std::string &bytes);

// Whether the bytes are valid UTF-8 as they are.
bool IsValidUtf8(const std::string &bytes);

// The same, added to the end of out.
void AppendValidUtf8(std::string &out, const std::string &bytes);

// Quotes a UTF-8 text as a JSON string, escaping what JSON requires.
std::string JsonQuote(const std::string &utf8);

// The same, added to the end of out.
void AppendJsonQuote(std::string &out, const std::string &utf8);

// A UTF-8 text as a JavaScript string that cannot end the HTML script
// element it stands in.
std::string ScriptString(const std::string &utf8);

// Bytes as base64 text, for a page that carries a file.
std::string Base64(const std::vector<unsigned char> &bytes);

// A quad record's name as UTF-8, never reading past its slot.
std::string QuadNameText(const QuadRecord &quad);

#endif
