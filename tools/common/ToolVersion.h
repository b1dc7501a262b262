// The --version line that every command-line tool prints.
#ifndef ORVANTA_TOOLS_TOOLVERSION_H
#define ORVANTA_TOOLS_TOOLVERSION_H

#include <string>

// "TOOL (Orvanta) VERSION", with the project's version from the build.
std::string VersionLine(const char *tool);

#endif
