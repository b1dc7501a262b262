// Whole-file reads and writes for the tools.  A read stops at a bound far
// above any data file, so that no input can take the tool's memory; a write
// goes to a temporary file of a unique name beside the target, flushed to
// the disk, that is renamed into place only when complete, so that a failed
// or killed run never leaves a half-written file behind.
#ifndef ORVANTA_TOOLS_ATOMICFILE_H
#define ORVANTA_TOOLS_ATOMICFILE_H

#include <cstddef>
#include <string>
#include <vector>

// The largest file the tools read whole.  The format's tables hold less
// than 100 KB of text, and no data file made by hand comes near 4 MiB.
const size_t kMaxWholeFileBytes = size_t{4} << 20;

// Whether path names a folder (which opens as a file on some systems and
// then reads as a read error).
bool IsFolder(const std::string &path);

// Why path cannot be read as a file, for a message after a failure: "is a
// folder, not a file", or the system's reason for not opening it; empty
// when it opens after all.
std::string UnreadableReason(const std::string &path);

// Reads a whole file of at most kMaxWholeFileBytes; on failure (also for a
// larger file or a folder) returns false and sets error to a one-line cause
// that names the file.
bool ReadWholeFile(const std::string &path, std::vector<unsigned char> &bytes, std::string &error);

// Writes a whole file through a temporary file and a rename; on failure
// returns false, sets error to the cause and leaves the target untouched.
// Only a regular file or a new name is replaced: a folder, a named pipe, a
// device, a socket or a loop of symbolic links is refused, and so is a
// file its owner made read-only, as cp refuses it.  A symbolic link is
// written through (the file it names is replaced, its link kept), and an
// existing target keeps its permission bits.  The tool's own standard
// output or error, when it is a pipe, a socket or a terminal (named as
// /dev/stdout, say), is written in place, as no file can be renamed over it;
// when its reader has gone, the error stays empty.
bool WriteFileAtomically(const std::string &path, const std::vector<unsigned char> &bytes, std::string &error);

#endif
