// Load statuses in words, for standard error.
#include "tools/orvanta-convert/LoadMessage.h"

#include <cerrno>
#include <cstring>

#include "data/GridDatabase.h"
#include "tools/common/AtomicFile.h"
#include "tools/common/DataFileText.h"

// Names the file and the cause the loader reported; a folder, a file that
// is there but cannot be opened (no permission, a loop of links) and a
// plain text that was never scrambled are named as such.
std::string DescribeLoadFailure(const std::string &fileName, int16_t status)
{
    std::string file = "data file '" + fileName + "'";
    if (status == kLoadNotFound && IsFolder(fileName))
        return file + " is a folder, not a data file";
    if (status != kLoadNotFound && IsPlainDataFile(fileName))
        return file + " is a plain data text; scramble it with gridtool scramble";
    switch (status) {
    case kLoadNotFound: {
        std::string reason = UnreadableReason(fileName);
        if (reason.empty() || reason == std::strerror(ENOENT))
            return file + " not found (it cannot be opened)";
        return file + " cannot be opened: " + reason;
    }
    case kLoadCountMismatch:
        return file + " is faulty: count mismatch, a chart section's number of quad names differs "
                      "from NrOfQuadsX x NrOfQuadsY";
    case kLoadNoDefinitions:
        return file + " is faulty: no QuadDefinitions after the chart sections";
    case kLoadBeyondLimits:
        return file + " is faulty: beyond the format's limits (too many quads, names, forms, "
                      "cells or characters)";
    default:
        return file + " is faulty: load status " + std::to_string(status);
    }
}
