// Bounded line reading.
#include "tools/orvanta-convert/LineReader.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "tools/common/TextEncoding.h"

const char kMaxLineText[] = "1 MiB";

namespace {

// As many characters as the program's code field holds.
const size_t kEchoedBytes = 99;

} // namespace

LineReader::LineReader(std::FILE *in)
#ifdef _WIN32
    : Fd(_fileno(in))
#else
    : Fd(fileno(in))
#endif
{
}

// One read of whatever is there, up to a block; a read error ends the
// input as the end of the file does, and is kept for Failure.
bool LineReader::Fill()
{
    if (AtEnd)
        return false;
    if (Hook)
        Hook();
    long got;
    do {
#ifdef _WIN32
        got = _read(Fd, Buffer, static_cast<unsigned>(sizeof Buffer));
#else
        got = read(Fd, Buffer, sizeof Buffer);
#endif
    } while (got < 0 && errno == EINTR);
    Pos = 0;
    Size = got > 0 ? static_cast<size_t>(got) : 0;
    AtEnd = got <= 0;
    if (got < 0)
        Error = errno;
    return !AtEnd;
}

std::string LineReader::Failure() const
{
    if (Error == 0)
        return "";
    if (Error == EBADF)
        return "standard input is closed";
    return std::string("cannot read standard input: ") + std::strerror(Error);
}

// Takes the bytes up to the LF in spans of the block; past the bound they
// are counted out, not kept.
bool LineReader::Next(std::string &line, bool &overlong)
{
    line.clear();
    overlong = false;
    while (Pos < Size || Fill()) {
        const char *start = Buffer + Pos;
        const char *end = static_cast<const char *>(std::memchr(start, '\n', Size - Pos));
        size_t count = static_cast<size_t>((end ? end : Buffer + Size) - start);
        size_t room = kMaxLineBytes - line.size();
        overlong = overlong || count > room;
        line.append(start, count < room ? count : room);
        Pos += count;
        if (end) {
            ++Pos;
            return true;
        }
    }
    return !line.empty();
}

std::string OverlongLineResult(const std::string &line)
{
    return ValidUtf8(line.substr(0, kEchoedBytes)) + "\tERROR: line longer than " + kMaxLineText +
           "; a code has 6 characters";
}
