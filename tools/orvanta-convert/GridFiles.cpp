// Finding, loading and searching orvanta-convert's grid files.
#include "tools/orvanta-convert/GridFiles.h"

#include <cstdio>
#include <cstdlib>
#include <set>

#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <climits>
#include <unistd.h>
#endif

#include "data/GridLoader.h"
#include "tools/common/AtomicFile.h"
#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/LoadMessage.h"
#include "tools/orvanta-convert/ReverseLookup.h"

namespace {

#ifdef _WIN32
const char kListSeparator = ';';
const char kInstalledData[] = "..\\share\\orvanta\\";
#else
const char kListSeparator = ':';
const char kInstalledData[] = "../share/orvanta/";
#endif

const char *const kShippedFiles[] = {"GridData.bin", "GridData-Pacific.bin"};

std::vector<std::unique_ptr<LoadedGrid>> &Grids()
{
    static std::vector<std::unique_ptr<LoadedGrid>> grids;
    return grids;
}

// The folder of the running executable with its separator, from the
// system where it tells, else from argv[0]; empty when neither does.
std::string ExecutableFolder(const char *argv0)
{
    std::string path;
#ifdef _WIN32
    char buffer[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        path.assign(buffer, length);
#else
    char buffer[PATH_MAX + 1];
    ssize_t length = readlink("/proc/self/exe", buffer, PATH_MAX);
    if (length > 0)
        path.assign(buffer, static_cast<size_t>(length));
#endif
    if (path.empty() && argv0)
        path = argv0;
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

bool CanOpen(const std::string &path)
{
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file)
        std::fclose(file);
    return file != nullptr;
}

// Splits a list on the separator, leaving out empty entries.
std::vector<std::string> SplitList(const std::string &list)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = list.find(kListSeparator, start)) != std::string::npos; start = end + 1)
        if (end > start)
            parts.push_back(list.substr(start, end - start));
    if (start < list.size())
        parts.push_back(list.substr(start));
    return parts;
}

// What tells one file from another: its device and inode, or on Windows
// (where stat has no inode) its path as given; a file that cannot be
// looked at keeps its path, so that its load names the fault.
std::string FileIdentity(const std::string &path)
{
#ifndef _WIN32
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
        return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
#endif
    return "path:" + path;
}

// The files without repeats, in their first order; false with a message
// once there are more than kMaxGridFiles different ones.
bool DistinctFiles(const std::vector<std::string> &files, std::vector<std::string> &distinct, std::string &error)
{
    std::set<std::string> seen;
    for (const std::string &file : files) {
        if (!seen.insert(FileIdentity(file)).second)
            continue;
        if (distinct.size() == kMaxGridFiles) {
            error = "more than " + std::to_string(kMaxGridFiles) + " different data files named (" +
                    std::to_string(files.size()) + " entries in ORVANTA_DATA or --data); give at most " +
                    std::to_string(kMaxGridFiles);
            return false;
        }
        distinct.push_back(file);
    }
    return true;
}

// Reads the file whole, within the tools' bound, and loads it.
bool LoadGridFile(const std::string &file, LoadedGrid &grid, std::string &error)
{
    std::vector<unsigned char> &bytes = grid.Bytes;
    GridDatabase &db = grid.Db;
    std::string readError;
    if (!ReadWholeFile(file, bytes, readError)) {
        error = UnreadableReason(file).empty() ? readError : DescribeLoadFailure(file, kLoadNotFound);
        return false;
    }
    ResetGridDatabase(db);
    db.LoadStatus = LoadGridDataFromMemory(bytes.data(), bytes.size(), db);
    if (db.LoadStatus != kLoadOk) {
        error = DescribeLoadFailure(file, db.LoadStatus);
        return false;
    }
    return true;
}

} // namespace

const std::vector<std::unique_ptr<LoadedGrid>> &LoadedGrids()
{
    return Grids();
}

// ORVANTA_DATA wins; else the first folder that holds GridData.bin.
bool FindDefaultGridFiles(const char *argv0, std::vector<std::string> &files, std::string &error)
{
    const char *list = std::getenv("ORVANTA_DATA");
    if (list && *list) {
        files = SplitList(list);
        if (!files.empty())
            return true;
    }
    std::string exe = ExecutableFolder(argv0);
    std::vector<std::string> folders;
    if (!exe.empty())
        folders = {exe, exe + kInstalledData};
    folders.push_back("");
    std::string looked;
    for (const std::string &folder : folders) {
        looked += (looked.empty() ? "" : ", ") + (folder.empty() ? std::string("the working directory") : folder);
        if (!CanOpen(folder + kShippedFiles[0]))
            continue;
        files.clear();
        for (const char *name : kShippedFiles)
            if (CanOpen(folder + name))
                files.push_back(folder + name);
        return true;
    }
    error = std::string("data file '") + kShippedFiles[0] + "' not found; looked in ORVANTA_DATA (not set), " + looked +
            "; give one with --data";
    return false;
}

bool LoadGridFiles(const std::vector<std::string> &files, std::string &error)
{
    Grids().clear();
    std::vector<std::string> distinct;
    if (!DistinctFiles(files, distinct, error))
        return false;
    for (const std::string &file : distinct) {
        std::unique_ptr<LoadedGrid> grid(new LoadedGrid);
        grid->Path = file;
        if (!LoadGridFile(file, *grid, error))
            return false;
        Grids().push_back(std::move(grid));
    }
    return true;
}

bool AddGridFromMemory(const std::string &name, const unsigned char *data, size_t size, std::string &error)
{
    std::unique_ptr<LoadedGrid> grid(new LoadedGrid);
    grid->Path = name;
    ResetGridDatabase(grid->Db);
    grid->Db.LoadStatus = LoadGridDataFromMemory(data, size, grid->Db);
    if (grid->Db.LoadStatus != kLoadOk) {
        error = DescribeLoadFailure(name, grid->Db.LoadStatus);
        return false;
    }
    Grids().push_back(std::move(grid));
    return true;
}

// The first file that converts the text wins; a text that names no code
// fails the same way in every file.  With no file loaded, the program's
// Grid serves (as in the tests of the batch parts).
ConversionResult ConvertInGrids(const std::string &text)
{
    const auto &grids = Grids();
    ConversionResult best = ConvertWrittenCode(text, grids.empty() ? Grid : grids[0]->Db);
    for (size_t i = 1; i < grids.size() && best.Status != ConvertStatus::Converted &&
                       best.Status != ConvertStatus::Unreadable;
         ++i) {
        ConversionResult next = ConvertWrittenCode(best.Code, grids[i]->Db);
        if (next.Status == ConvertStatus::Converted || best.Status == ConvertStatus::GridNotFound)
            best = next;
    }
    return best;
}

std::string LoadedGridNames()
{
    std::string names;
    for (const auto &grid : Grids())
        names += (names.empty() ? "" : ", ") + grid->Path;
    return names;
}

// As ConvertInGrids, the program's Grid serves when no file is loaded.
std::string CodesInGrids(double latitude, double longitude)
{
    std::string codes;
    std::vector<const GridDatabase *> grids;
    for (const auto &grid : Grids())
        grids.push_back(&grid->Db);
    if (grids.empty())
        grids.push_back(&Grid);
    for (const GridDatabase *grid : grids)
        for (const ReverseMatch &match : ReverseLookup(*grid, latitude, longitude))
            codes += (codes.empty() ? "" : " ") + Cp1252ToUtf8(match.Code);
    return codes;
}

std::string OutsideTheGrids()
{
    std::string names = LoadedGridNames();
    return names.empty() ? "outside the grid" : "outside the grid of " + ValidUtf8(names);
}
