// Bounded line reading.
#include "tools/orvanta-convert/LineReader.h"

#include "tools/common/TextEncoding.h"

const char kMaxLineText[] = "1 MiB";

namespace {

// As many characters as the program's code field holds.
const size_t kEchoedBytes = 99;

} // namespace

// Takes bytes up to the LF; past the bound they are counted out, not kept.
bool ReadBoundedLine(std::FILE *in, std::string &line, bool &overlong)
{
    line.clear();
    overlong = false;
    int c;
    while ((c = std::getc(in)) != EOF && c != '\n') {
        if (line.size() < kMaxLineBytes)
            line += static_cast<char>(c);
        else
            overlong = true;
    }
    return c == '\n' || !line.empty();
}

std::string OverlongLineResult(const std::string &line)
{
    return ValidUtf8(line.substr(0, kEchoedBytes)) + "\tERROR: line longer than " + kMaxLineText +
           "; a code has 6 characters";
}
