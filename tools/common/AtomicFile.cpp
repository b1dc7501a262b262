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

// Standard output is written through its own name only as a file here.
std::FILE *StandardStreamNamed(const std::string &)
{
    return nullptr;
}

// Why an existing target is not replaced; empty for a new name or a
// regular file that may be written.
std::string Refusal(const std::string &target)
{
    struct _stat st;
    if (_stat(target.c_str(), &st) != 0)
        return "";
    if ((st.st_mode & _S_IFMT) == _S_IFDIR)
        return "is a folder, not a file";
    if ((st.st_mode & _S_IFMT) != _S_IFREG)
        return "is not a regular file; only a regular file or a new name is written";
    if (_access(target.c_str(), 2) != 0)
        return "is read-only; not replaced";
    return "";
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

// The name of the temporary file: the target's with a unique suffix, the
// target's own name shortened (at a character's start) where the two
// would pass the longest name the folder takes.
std::vector<char> TemporaryPattern(const std::string &target)
{
    const char suffix[] = ".tmp-XXXXXX";
    const size_t suffixLength = sizeof suffix - 1;
    std::string folder = FolderOf(target), name = target.substr(folder.size());
    long longest = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    size_t limit = longest > 0 ? static_cast<size_t>(longest) : 255;
    if (name.size() + suffixLength > limit) {
        size_t keep = limit > suffixLength ? limit - suffixLength : 0;
        while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
            --keep;
        name.resize(keep);
    }
    std::string pattern = folder + name + suffix;
    return std::vector<char>(pattern.c_str(), pattern.c_str() + pattern.size() + 1);
}

// A new file of a unique name beside the target, with the target's
// permission bits, or those a new file gets under the umask.
std::FILE *CreateTemporary(const std::string &target, std::string &temporary)
{
    std::vector<char> name = TemporaryPattern(target);
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

// Standard output or error when the path names it and it is a pipe, a
// socket or a terminal, which is written in place; else null.
std::FILE *StandardStreamNamed(const std::string &path)
{
    struct stat named;
    if (stat(path.c_str(), &named) != 0 || S_ISREG(named.st_mode) || S_ISDIR(named.st_mode))
        return nullptr;
    const int fds[] = {STDOUT_FILENO, STDERR_FILENO};
    for (int fd : fds) {
        struct stat open;
        if (fstat(fd, &open) == 0 && open.st_dev == named.st_dev && open.st_ino == named.st_ino &&
            (S_ISFIFO(open.st_mode) || S_ISSOCK(open.st_mode) || isatty(fd)))
            return fd == STDOUT_FILENO ? stdout : stderr;
    }
    return nullptr;
}

// What a file of this type is, for a refusal.
const char *FileType(mode_t mode)
{
    return S_ISDIR(mode)    ? "is a folder"
           : S_ISFIFO(mode) ? "is a named pipe (FIFO)"
           : S_ISCHR(mode)  ? "is a character device"
           : S_ISBLK(mode)  ? "is a block device"
           : S_ISSOCK(mode) ? "is a socket"
           : S_ISLNK(mode)  ? "is a loop of symbolic links (or too long a chain of them)"
                            : "is of an unknown type";
}

// Why an existing target (its links followed) is not replaced; empty for
// a new name or a regular file that may be written.  A file the user may
// not write is refused although its folder allows the rename, as cp and
// the shell's '>' refuse it; one that nobody may write is refused to root
// too, as its owner marked it to be kept.
std::string Refusal(const std::string &target)
{
    struct stat st;
    if (lstat(target.c_str(), &st) != 0)
        return "";
    if (!S_ISREG(st.st_mode))
        return std::string(FileType(st.st_mode)) + ", not a regular file; only a regular file or a new name is written";
    if ((st.st_mode & 0222) == 0 || (access(target.c_str(), W_OK) != 0 && errno == EACCES))
        return "is read-only; not replaced";
    if (access(target.c_str(), W_OK) != 0 && errno == EROFS)
        return "is on a read-only file system; not replaced";
    return "";
}

#endif

// Writes the bytes to a stream that is no file, as they are; a reader
// that has gone (a closed pipe) leaves the error empty, as it needs no
// message.
bool WriteInPlace(const std::string &path, std::FILE *stream, const std::vector<unsigned char> &bytes,
                  std::string &error)
{
    errno = 0;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    ok = std::fflush(stream) == 0 && ok;
    if (!ok && errno != EPIPE)
        error = path + ": write error: " + std::strerror(errno);
    return ok;
}

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
// it to the disk, then renames it over that file; a pipe or a terminal
// that is the tool's own output takes the bytes as they are.
bool WriteFileAtomically(const std::string &path, const std::vector<unsigned char> &bytes, std::string &error)
{
    if (std::FILE *stream = StandardStreamNamed(path))
        return WriteInPlace(path, stream, bytes, error);
    const std::string target = ResolveLinks(path);
    std::string refusal = Refusal(target);
    if (!refusal.empty()) {
        error = path + ": " + refusal;
        return false;
    }
    std::string temporary;
    std::FILE *file = CreateTemporary(target, temporary);
    if (!file) {
        error = path + ": cannot create a temporary file beside it: " + std::strerror(errno);
        return false;
    }
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(); // an empty file has no data()
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
