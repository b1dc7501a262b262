// The command line of orvanta-convert.
#ifndef ORVANTA_TOOLS_CONVERTOPTIONS_H
#define ORVANTA_TOOLS_CONVERTOPTIONS_H

#include <string>
#include <vector>

#include "tools/orvanta-convert/ResultFormat.h"

struct ConvertOptions {
    std::vector<std::string> DataFiles; // none: the shipped files, wherever found
    OutputFormat Format = OutputFormat::DegreesMinutes;
    int Precision = -1;             // decimals; below 0: the format's default
    std::vector<std::string> Codes; // none: read codes from standard input
    bool Help = false;
    bool Version = false;
};

// The text of --help.
extern const char kConvertUsage[];

// Reads the arguments after the program name; false with a reason on a
// misuse (unknown option, missing or unknown value).
bool ParseConvertOptions(const std::vector<std::string> &args, ConvertOptions &options, std::string &error);

#endif
