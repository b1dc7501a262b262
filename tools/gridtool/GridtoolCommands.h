// The commands of gridtool, the data maker's companion.  Each takes the
// arguments after its own name and returns the process exit status.
#ifndef ORVANTA_TOOLS_GRIDTOOLCOMMANDS_H
#define ORVANTA_TOOLS_GRIDTOOLCOMMANDS_H

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

// gridtool scramble [--force] IN OUT
int RunScrambleCommand(const Arguments &args);

// gridtool unscramble [--force] IN OUT (the same key; a plain text is
// refused unless forced)
int RunUnscrambleCommand(const Arguments &args);

// gridtool dump [--json] FILE
int RunDumpCommand(const Arguments &args);

// gridtool check FILE...
int RunCheckCommand(const Arguments &args);

// gridtool export --geojson FILE [--cells]
int RunExportCommand(const Arguments &args);

// gridtool atlas FILE...
int RunAtlasCommand(const Arguments &args);

#endif
