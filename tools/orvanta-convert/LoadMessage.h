// What a failed load of the grid data file means, in words.
#ifndef ORVANTA_TOOLS_LOADMESSAGE_H
#define ORVANTA_TOOLS_LOADMESSAGE_H

#include <cstdint>
#include <string>

// "data file 'X' not found ..." / "data file 'X' is faulty: ..." for a load
// status other than kLoadOk.
std::string DescribeLoadFailure(const std::string &fileName, int16_t status);

#endif
