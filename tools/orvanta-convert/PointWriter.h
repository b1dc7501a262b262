// Map features as a GeoJSON FeatureCollection, a KML document or a GPX 1.1
// file, written one feature at a time.
#ifndef ORVANTA_TOOLS_POINTWRITER_H
#define ORVANTA_TOOLS_POINTWRITER_H

#include <cstdio>
#include <string>

#include "convert/ConvertCode.h"
#include "tools/orvanta-convert/MapFeature.h"
#include "tools/orvanta-convert/ResearchOptions.h"

class PointWriter : public FeatureSink {
public:
    // squares: GeoJSON and KML draw each code's square (GPX has points only).
    PointWriter(PointFormat format, std::FILE *out, bool squares = false)
        : Format(format), Out(out), Squares(squares) {}

    // Writes the head of the document.
    void Begin();

    // Writes one converted code as a feature named by the code, carrying
    // the code's properties (see CodeFeature); false, writing nothing, for
    // a failed code or a position that is not on the globe (which a
    // hostile data file can give).
    bool Add(const ConversionResult &result);

    // Writes one feature: GeoJSON writes one without a position with a null
    // geometry; KML and GPX leave it out and return false.  An area is a
    // polygon (two across the 180th meridian) in GeoJSON and KML.
    bool Add(const MapFeature &feature) override;

    // Writes the tail of the document.
    void End();

private:
    PointFormat Format;
    std::FILE *Out;
    bool Squares;
    bool First = true;
};

// Escapes a UTF-8 text for XML character data and attributes; every
// character that XML 1.0 forbids (control characters, U+FFFE, U+FFFF) and
// every byte that is not UTF-8 becomes U+FFFD.
std::string XmlEscape(const std::string &utf8);

#endif
