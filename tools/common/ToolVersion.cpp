// The tools' version line; the build passes the project's version.
#include "tools/common/ToolVersion.h"

#ifndef ORVANTA_VERSION
#error "the build defines ORVANTA_VERSION"
#endif

std::string VersionLine(const char *tool)
{
    return std::string(tool) + " (Orvanta) " ORVANTA_VERSION "\n";
}
