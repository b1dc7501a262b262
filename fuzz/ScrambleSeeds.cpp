// scramble_seeds OUT_DIR IN_DIR...: writes the scrambled form of every
// plain seed of the IN_DIRs into OUT_DIR, as seeds for the target that
// fuzzes scrambled bytes directly.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "data/ScrambledReader.h"

namespace fs = std::filesystem;

namespace {

// Scrambles one plain file into the output folder; false when writing fails.
bool ScrambleSeed(const fs::path &plain, const fs::path &outDir)
{
    std::ifstream in(plain, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ScrambleBytes(bytes.data(), bytes.size(), 0);
    std::ofstream out(outDir / ("scrambled-" + plain.filename().string()), std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

// Scrambles each regular file of the input folders into the output folder.
int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fputs("usage: scramble_seeds OUT_DIR IN_DIR...\n", stderr);
        return 2;
    }
    fs::create_directories(argv[1]);
    for (int dir = 2; dir < argc; ++dir) {
        for (const fs::directory_entry &entry : fs::directory_iterator(argv[dir])) {
            if (entry.is_regular_file() && !ScrambleSeed(entry.path(), argv[1])) {
                std::fprintf(stderr, "scramble_seeds: cannot write into %s\n", argv[1]);
                return 1;
            }
        }
    }
    return 0;
}
