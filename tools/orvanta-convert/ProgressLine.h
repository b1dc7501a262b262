// A progress line on standard error for long runs, shown only when
// standard error is a terminal.
#ifndef ORVANTA_TOOLS_PROGRESSLINE_H
#define ORVANTA_TOOLS_PROGRESSLINE_H

#include <chrono>

class ProgressLine {
public:
    ProgressLine();

    // Counts one code; now and then rewrites the line once the run has
    // taken more than two seconds.
    void Tick()
    {
        if (Enabled && (++Count & 4095) == 0)
            Update();
    }

    // Ends the line with the final count, when one was shown.
    void Finish();

private:
    void Update();

    bool Enabled;
    bool Shown = false;
    long long Count = 0;
    std::chrono::steady_clock::time_point Start, Last;
};

#endif
