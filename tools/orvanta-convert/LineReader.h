// Lines of outside input read with a bound, so that no line can take the
// tool's memory: a longer line is reported as one fault of its own and the
// reading goes on at the next line.
#ifndef ORVANTA_TOOLS_LINEREADER_H
#define ORVANTA_TOOLS_LINEREADER_H

#include <cstddef>
#include <cstdio>
#include <string>

// The longest line (or CSV row) that is read: far above any code or any row
// of a diary, far below what would strain the memory.
const size_t kMaxLineBytes = size_t{1} << 20;

// The bound in words, for messages.
extern const char kMaxLineText[];

// Reads the next line without its LF; false at the end of the input (a
// last line needs no LF).  A line longer than kMaxLineBytes sets overlong
// and keeps only its first bytes; the rest is skipped.
bool ReadBoundedLine(std::FILE *in, std::string &line, bool &overlong);

// The result line of an overlong line: its first characters as a code
// would be read, then the error.
std::string OverlongLineResult(const std::string &line);

#endif
