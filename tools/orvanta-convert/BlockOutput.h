// Result lines gathered in one buffer and written to the stream a block at
// a time, instead of one write per line; the memory stays at about a block
// whatever the input.
#ifndef ORVANTA_TOOLS_BLOCKOUTPUT_H
#define ORVANTA_TOOLS_BLOCKOUTPUT_H

#include <cstddef>
#include <cstdio>
#include <string>

class BlockOutput {
public:
    explicit BlockOutput(std::FILE *out);

    // The text of the line being written: add to its end.
    std::string &Text() { return Buffer; }

    // Ends the line; writes the buffer once it holds a block.
    void EndLine()
    {
        Buffer += '\n';
        if (Buffer.size() >= kBlockBytes)
            Write();
    }

    // Writes what is gathered and flushes the stream, so that a reader at
    // the other end sees every line ended so far.
    void Flush();

private:
    static const size_t kBlockBytes = size_t{1} << 16;

    void Write();

    std::FILE *Out;
    std::string Buffer;
};

#endif
