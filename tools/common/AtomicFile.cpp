// Bounded whole-file reads and all-or-nothing writes.
#include "tools/common/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// The folder part of a path with its separator ("" for a bare name).
std::string FolderOf(const std::string &path)
{
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

#ifdef _WIN32

// Windows: the target as named; GetTempFileName makes a unique empty file
// in its folder, and MoveFileEx replaces the target once the data is on disk.
std::string ResolveLinks(const std::string &path)
{
    return path;
}

std::FILE *CreateTemporary(const std::string &target, std::string &temporary)
{
    std::string folder = FolderOf(target);
    char name[MAX_PATH];
    if (GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "ovt", 0, name) == 0)
        return nullptr;
    temporary = name;
    std::FILE *file = std::fopen(name, "wb");
    if (!file)
        DeleteFileA(name);
    return file;
}

bool SyncFile(std::FILE *file)
{
    return _commit(_fileno(file)) == 0;
}

bool ReplaceFile(const std::string &source, const std::string &target)
{
    return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

#else

// The file a chain of symbolic links ends at (the path itself when it is
// none); a relative link is taken from the folder of the link.
std::string ResolveLinks(const std::string &path)
{
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::vector<char> target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        ssize_t n = readlink(current.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<size_t>(n) >= target.size())
            return current;
        std::string next(target.data(), static_cast<size_t>(n));
        current = next[0] == '/' ? next : FolderOf(current) + next;
    }
    return current;
}

// A new file of a unique name beside the target, with the target's
// permission bits, or those a new file gets under the umask.
std::FILE *CreateTemporary(const std::string &target, std::string &temporary)
{
    std::vector<char> name(target.begin(), target.end());
    const char pattern[] = ".tmp-XXXXXX";
    name.insert(name.end(), pattern, pattern + sizeof pattern);
    int fd = mkstemp(name.data());
    if (fd < 0)
        return nullptr;
    temporary = name.data();
    struct stat st;
    mode_t mode;
    if (stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = umask(022);
        umask(mask);
        mode = 0666 & ~mask;
    }
    std::FILE *file = fchmod(fd, mode) == 0 ? fdopen(fd, "wb") : nullptr;
    if (!file) {
        close(fd);
        unlink(temporary.c_str());
    }
    return file;
}

bool SyncFile(std::FILE *file)
{
    return fsync(fileno(file)) == 0;
}

bool ReplaceFile(const std::string &source, const std::string &target)
{
    return std::rename(source.c_str(), target.c_str()) == 0;
}

#endif

const char kFolderReason[] = "is a folder, not a file";

} // namespace

bool IsFolder(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFDIR;
}

// A folder first, then whether the file opens.
std::string UnreadableReason(const std::string &path)
{
    if (IsFolder(path))
        return kFolderReason;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return std::strerror(errno);
    std::fclose(file);
    return "";
}

// Reads in chunks up to one byte past the bound; the file is opened once,
// so that a pipe is read as it comes.
bool ReadWholeFile(const std::string &path, std::vector<unsigned char> &bytes, std::string &error)
{
    bool folder = IsFolder(path);
    std::FILE *file = folder ? nullptr : std::fopen(path.c_str(), "rb");
    if (!file) {
        error = path + ": cannot open: " + (folder ? kFolderReason : std::strerror(errno));
        return false;
    }
    bytes.clear();
    unsigned char chunk[65536];
    size_t n;
    while (bytes.size() <= kMaxWholeFileBytes && (n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = path + ": read error";
        return false;
    }
    if (bytes.size() > kMaxWholeFileBytes) {
        bytes.clear();
        error = path + ": more than " + std::to_string(kMaxWholeFileBytes >> 20) +
                " MiB, far larger than any data file; not read";
        return false;
    }
    return true;
}

// Writes a unique temporary file beside the file the path names, flushes
// it to the disk, then renames it over that file.
bool WriteFileAtomically(const std::string &path, const std::vector<unsigned char> &bytes, std::string &error)
{
    const std::string target = ResolveLinks(path);
    std::string temporary;
    std::FILE *file = CreateTemporary(target, temporary);
    if (!file) {
        error = path + ": cannot create a temporary file beside it: " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = (std::fflush(file) == 0) && ok;
    ok = ok && SyncFile(file);
    int savedErrno = errno;
    ok = (std::fclose(file) == 0) && ok;
    if (!ok) {
        std::remove(temporary.c_str());
        error = path + ": write error: " + std::strerror(savedErrno);
        return false;
    }
    if (!ReplaceFile(temporary, target)) {
        savedErrno = errno;
        std::remove(temporary.c_str());
        error = path + ": cannot replace the file: " + std::strerror(savedErrno);
        return false;
    }
    return true;
}
