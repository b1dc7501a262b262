// Whether a tool's results reached standard output.  A write that fails
// (a full disk, a closed pipe with SIGPIPE ignored) sets the stream's error
// flag; the tool stops at the first such failure and says so once.
#ifndef ORVANTA_TOOLS_OUTPUTCHECK_H
#define ORVANTA_TOOLS_OUTPUTCHECK_H

#include <cstdio>

// Whether a write to standard output has failed so far (no flush): the
// test a loop makes right after its writes, before it takes more input.
bool OutputFailed();

// Flushes standard output and tells whether everything reached it (called
// right after the tool's last write, whose errno may name the cause); when
// not, writes "TOOL: cannot write the results: REASON" to standard error,
// unless the reader has gone (a closed pipe), which needs no message.
bool OutputComplete(const char *tool);

#endif
