// Block-wise writing of result lines.
#include "tools/orvanta-convert/BlockOutput.h"

BlockOutput::BlockOutput(std::FILE *out) : Out(out)
{
    Buffer.reserve(2 * kBlockBytes);
}

// A failed write shows in the stream's error flag, which the caller checks
// after each line.
void BlockOutput::Write()
{
    if (!Buffer.empty())
        std::fwrite(Buffer.data(), 1, Buffer.size(), Out);
    Buffer.clear();
}

void BlockOutput::Flush()
{
    Write();
    std::fflush(Out);
}
