// Whole-file reads and writes for the tools.  A write goes to a temporary
// file beside the target that is renamed into place only when complete, so
// a failed run never leaves a half-written file behind.
#ifndef ORVANTA_TOOLS_ATOMICFILE_H
#define ORVANTA_TOOLS_ATOMICFILE_H

#include <string>
#include <vector>

// Reads a whole file; on failure returns false and sets error to the cause.
bool ReadWholeFile(const std::string &path, std::vector<unsigned char> &bytes, std::string &error);

// Writes a whole file through a temporary file and a rename; on failure
// returns false, sets error to the cause and leaves the target untouched.
bool WriteFileAtomically(const std::string &path, const std::vector<unsigned char> &bytes, std::string &error);

#endif
