// Strict readings of the data file's fields for the checker, and fields
// shown in messages.
#ifndef ORVANTA_TOOLS_GRIDTOOL_FIELDTEXT_H
#define ORVANTA_TOOLS_GRIDTOOL_FIELDTEXT_H

#include <string>

// Whether the field, white space around it aside, is an optional sign and
// decimal digits; value gets it (saturated far beyond any limit).
bool IntegerField(const std::string &field, long long &value);

// Whether the field, white space around it aside, is a decimal number with
// an optional sign and fraction; value gets it.
bool DecimalField(const std::string &field, double &value);

// The field in single quotes for a message: UTF-8, control bytes escaped,
// cut after 40 characters.
std::string Shown(const std::string &field);

#endif
