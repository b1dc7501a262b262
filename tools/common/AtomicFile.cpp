// Whole-file reads and all-or-nothing writes.
#include "tools/common/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Replaces target by source; on Windows rename() refuses an existing target.
bool ReplaceFile(const std::string &source, const std::string &target)
{
#ifdef _WIN32
    return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(source.c_str(), target.c_str()) == 0;
#endif
}

} // namespace

// Reads the file in binary mode into bytes.
bool ReadWholeFile(const std::string &path, std::vector<unsigned char> &bytes, std::string &error)
{
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    bytes.clear();
    unsigned char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = path + ": read error";
        return false;
    }
    return true;
}

// Writes to "<path>.tmp", flushes and closes it, then renames it over path.
bool WriteFileAtomically(const std::string &path, const std::vector<unsigned char> &bytes, std::string &error)
{
    const std::string temporary = path + ".tmp";
    std::FILE *file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        error = path + ": cannot create " + temporary + ": " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = (std::fflush(file) == 0) && ok;
    int savedErrno = errno;
    ok = (std::fclose(file) == 0) && ok;
    if (!ok) {
        std::remove(temporary.c_str());
        error = path + ": write error: " + std::strerror(savedErrno);
        return false;
    }
    if (!ReplaceFile(temporary, path)) {
        std::remove(temporary.c_str());
        error = path + ": cannot replace the file";
        return false;
    }
    return true;
}
