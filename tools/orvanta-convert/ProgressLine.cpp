// The progress line: codes done and codes per second, rewritten in place.
#include "tools/orvanta-convert/ProgressLine.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define ORVANTA_ISATTY _isatty
#else
#include <unistd.h>
#define ORVANTA_ISATTY isatty
#endif

ProgressLine::ProgressLine()
    : Enabled(ORVANTA_ISATTY(2) != 0), Start(std::chrono::steady_clock::now()), Last(Start)
{
}

// Writes the line at most twice a second, from the third second on.
void ProgressLine::Update()
{
    auto now = std::chrono::steady_clock::now();
    double total = std::chrono::duration<double>(now - Start).count();
    if (total < 2 || std::chrono::duration<double>(now - Last).count() < 0.5)
        return;
    Last = now;
    Shown = true;
    std::fprintf(stderr, "\rorvanta-convert: %lld codes, %.0f codes/s ", Count, Count / total);
    std::fflush(stderr);
}

void ProgressLine::Finish()
{
    if (!Shown)
        return;
    double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    std::fprintf(stderr, "\rorvanta-convert: %lld codes, %.0f codes/s, done\n", Count,
                 total > 0 ? Count / total : 0.0);
}
