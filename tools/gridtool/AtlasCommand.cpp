// gridtool atlas FILE...: one self-contained page that looks codes up,
// finds the codes of a clicked point and draws the grids of the files, on
// standard output.  The page converts with the tools' own code compiled to
// WebAssembly and carries each file as it is shipped, scrambled.
#include <cstdio>
#include <string>
#include <vector>

#include "data/GridLoader.h"
#include "tools/common/AtomicFile.h"
#include "tools/common/DataFileText.h"
#include "tools/common/OutputCheck.h"
#include "tools/common/TextEncoding.h"
#include "tools/gridtool/GridtoolCommands.h"
#include "tools/orvanta-convert/MapPageAssets.h"

namespace {

// The most files one atlas carries; each is at most 4 MiB.
const size_t kMaxAtlasFiles = 8;

// The file's name without its folders, as the page names it.
std::string BaseName(const std::string &path)
{
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// One file of the atlas: its scrambled bytes (a plain text is scrambled
// as gridtool scramble does), refused unless the program's loader takes
// it cleanly: 0, or the exit status with the reason.
int ReadAtlasFile(const std::string &path, std::vector<unsigned char> &scrambled, std::string &error)
{
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(path, bytes, error))
        return 2;
    DataFileText text = DecodeDataFile(bytes);
    scrambled = text.WasScrambled ? bytes : ScrambledForm(text.Plain);
    static GridDatabase db;
    ResetGridDatabase(db);
    db.LoadStatus = LoadGridDataFromMemory(scrambled.data(), scrambled.size(), db);
    if (db.LoadStatus != kLoadOk) {
        error = path + " does not load cleanly (status " + std::to_string(db.LoadStatus) + "); 'gridtool check " +
                path + "' says why";
        return 1;
    }
    return 0;
}

bool Put(const std::string &text)
{
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

} // namespace

// Reads every file first, so that a fault leaves nothing half written; the
// page's writing stops at the first failed write.
int RunAtlasCommand(const Arguments &args)
{
    if (!*kMapAtlasCore) {
        std::fputs("gridtool: this gridtool was built without the atlas, which needs emscripten\n", stderr);
        return 2;
    }
    if (args.empty() || args.size() > kMaxAtlasFiles) {
        std::fprintf(stderr, "gridtool: atlas takes one to %zu data files; try 'gridtool --help'\n", kMaxAtlasFiles);
        return 2;
    }
    std::string grids;
    for (const std::string &path : args) {
        if (!path.empty() && path[0] == '-') {
            std::fprintf(stderr, "gridtool: atlas: unknown option '%s'; try 'gridtool --help'\n", path.c_str());
            return 2;
        }
        std::vector<unsigned char> scrambled;
        std::string error;
        if (int status = ReadAtlasFile(path, scrambled, error)) {
            std::fprintf(stderr, "gridtool: %s\n", error.c_str());
            return status;
        }
        grids += (grids.empty() ? "\n{name: " : ",\n{name: ") + ScriptString(ValidUtf8(BaseName(path))) +
                 ", data: \"" + Base64(scrambled) + "\"}";
    }
    bool ok = Put("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                  "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                  "<meta name=\"generator\" content=\"gridtool atlas\">\n<title>Orvanta Atlas</title>\n") &&
              Put(std::string("<style>\n") + kLeafletStyle + "\n</style>\n<style>\n" + kPageStyle +
                  "\n</style>\n<style>\n" + kMapAtlasStyle +
                  "\n</style>\n<script>\n" + kLeafletScript + "\n</script>\n<script>\n" + kMapAtlasCore +
                  "\n</script>\n</head>\n<body>\n") &&
              Put(std::string("<script>\nvar orvantaAtlasData = {coast: ") + kCoastline + ",\ngrids: [" + grids +
                  "]};\n</script>\n<script>\n" + kMapPiecesScript + "\n</script>\n<script>\n" + kMapAtlasScript +
                  "\n</script>\n</body>\n</html>\n");
    if (ok && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    OutputComplete("gridtool"); // says why, unless the reader has gone
    return 2;
}
