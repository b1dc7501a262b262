// Converted codes as map points: a GeoJSON FeatureCollection, a KML
// document or a GPX 1.1 file, written one point at a time.
#ifndef ORVANTA_TOOLS_POINTWRITER_H
#define ORVANTA_TOOLS_POINTWRITER_H

#include <cstdio>
#include <string>

#include "convert/ConvertCode.h"
#include "tools/orvanta-convert/ResearchOptions.h"

class PointWriter {
public:
    PointWriter(PointFormat format, std::FILE *out) : Format(format), Out(out) {}

    // Writes the head of the document.
    void Begin();

    // Writes one converted code as a point named by the code, carrying the
    // program's latitude and longitude texts; false, writing nothing, for a
    // position that is not on the globe (which a hostile data file can give).
    bool Add(const ConversionResult &result);

    // Writes the tail of the document.
    void End();

private:
    PointFormat Format;
    std::FILE *Out;
    bool First = true;
};

// Escapes a UTF-8 text for XML character data and attributes; control
// characters that XML 1.0 forbids become U+FFFD.
std::string XmlEscape(const std::string &utf8);

#endif
