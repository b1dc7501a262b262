// Lines of outside input read with a bound, so that no line can take the
// tool's memory: a longer line is reported as one fault of its own and the
// reading goes on at the next line.
#ifndef ORVANTA_TOOLS_LINEREADER_H
#define ORVANTA_TOOLS_LINEREADER_H

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

// The longest line (or CSV row) that is read: far above any code or any row
// of a diary, far below what would strain the memory.
const size_t kMaxLineBytes = size_t{1} << 20;

// The bound in words, for messages.
extern const char kMaxLineText[];

// Reads a stream's lines a block at a time, straight from its file
// descriptor: the reader must be the stream's only reader from its start.
// A block is what one read returns, so a line typed at a terminal or
// written into a pipe is taken as soon as it arrives.
class LineReader {
public:
    // The most one read takes.
    static const size_t kBlockBytes = size_t{1} << 16;

    explicit LineReader(std::FILE *in);

    // Called before every read that may have to wait for input: the place
    // to send what has been written so far.
    void BeforeWait(std::function<void()> hook) { Hook = std::move(hook); }

    // Reads the next line without its LF; false at the end of the input (a
    // last line needs no LF) or at a read error, which ends it too.  A line longer than kMaxLineBytes sets
    // overlong and keeps only its first bytes; the rest is skipped.
    bool Next(std::string &line, bool &overlong);

    // After Next returned false: empty at the true end of the input, else
    // why it could not be read ("standard input is closed", "cannot read
    // standard input: Is a directory").
    std::string Failure() const;

private:
    bool Fill();

    int Fd;
    std::function<void()> Hook;
    char Buffer[kBlockBytes];
    size_t Pos = 0, Size = 0;
    bool AtEnd = false;
    int Error = 0; // the errno of a failed read
};

// The result line of an overlong line: its first characters as a code
// would be read, then the error.
std::string OverlongLineResult(const std::string &line);

#endif
