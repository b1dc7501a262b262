// The grid files orvanta-convert reads: found where a user keeps them, loaded
// in order, and searched one after the other for each code.
#ifndef ORVANTA_TOOLS_GRIDFILES_H
#define ORVANTA_TOOLS_GRIDFILES_H

#include <memory>
#include <string>
#include <vector>

#include "convert/ConvertCode.h"
#include "data/GridDatabase.h"

// One loaded grid file, with its bytes as read (a map page carries them).
struct LoadedGrid {
    std::string Path;
    GridDatabase Db;
    std::vector<unsigned char> Bytes;
};

// The files loaded by LoadGridFiles, in order.
const std::vector<std::unique_ptr<LoadedGrid>> &LoadedGrids();

// The shipped files where no --data names any: the files listed in
// ORVANTA_DATA (':' between them, ';' on Windows), else GridData.bin and,
// beside it, GridData-Pacific.bin from the first folder holding it: the
// executable's folder, the installed share/orvanta beside its bin/, the
// working directory.  False with a message that lists the places looked in.
bool FindDefaultGridFiles(const char *argv0, std::vector<std::string> &files, std::string &error);

// The most data files one run loads (each takes some 50 KB of tables); the
// two shipped files are far below it.
const size_t kMaxGridFiles = 32;

// Loads every file once (a file named again, by the same or another path,
// is left out), each read with the tools' bound on a whole file; false with
// the message for the first that fails, or for more than kMaxGridFiles.
bool LoadGridFiles(const std::vector<std::string> &files, std::string &error);

// Adds one more grid, from the scrambled bytes of a file already in memory
// (the atlas page carries its files so), under the given name; false with
// the message when it does not load.
bool AddGridFromMemory(const std::string &name, const unsigned char *data, size_t size, std::string &error);

// Converts a written code in each loaded file in turn and returns the first
// conversion; when none converts, one failure: "Position not in database"
// if some file has the letters, else "Grid not in database.".
ConversionResult ConvertInGrids(const std::string &text);

// The codes of the small squares that hold a position (minutes, latitude
// north, longitude west) in every loaded file, in order, UTF-8, separated
// by blanks; empty outside the grids.
std::string CodesInGrids(double latitude, double longitude);

// The loaded files' paths, joined by ", ".
std::string LoadedGridNames();

// What is said of a position in no loaded file: "outside the grid of "
// and the files' names, as valid UTF-8.
std::string OutsideTheGrids();

#endif
