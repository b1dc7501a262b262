// Checking the writes to standard output.
#include "tools/common/OutputCheck.h"

#include <cerrno>
#include <cstring>

namespace {

// The system's reason for the first failed write that OutputFailed saw.
int firstCause = 0;

} // namespace

// Called right after a write, errno still holds that write's reason.
bool OutputFailed()
{
    if (!std::ferror(stdout))
        return false;
    if (firstCause == 0)
        firstCause = errno;
    return true;
}

// The flush's own errno names the cause; a stream that failed earlier and
// has nothing left to write is named by the cause seen then, or else by
// the errno of the last write before this call.
bool OutputComplete(const char *tool)
{
    int before = errno;
    errno = 0;
    bool flushed = std::fflush(stdout) == 0;
    int cause = !flushed ? errno : firstCause ? firstCause : before;
    if (flushed && !std::ferror(stdout))
        return true;
    if (cause == EPIPE)
        return false;
    std::fprintf(stderr, "%s: cannot write the results%s%s\n", tool, cause ? ": " : "",
                 cause ? std::strerror(cause) : "");
    return false;
}
