// Parsing of orvanta-convert's options.
#include "tools/orvanta-convert/ConvertOptions.h"

const char kConvertUsage[] =
    "usage: orvanta-convert [--data FILE]... [--format dm|decimal|dms] [--precision N]\n"
    "                       [CODE...]\n"
    "Converts MQK grid codes such as CD1234 to the latitude and longitude of the\n"
    "centre of the coded square.  With no CODE, reads one code per line from\n"
    "standard input; blank lines and lines starting with # pass through as they\n"
    "are.  Codes may be written as AM 1969, AM-19-69, Qu. am 1969; AM19 (a cell)\n"
    "and AM (a large square) convert to their centres.\n"
    "  --data FILE       grid data file; give it again for more files, searched in\n"
    "                    order (default: ORVANTA_DATA, a list of files, else\n"
    "                    GridData.bin and GridData-Pacific.bin beside the program,\n"
    "                    in ../share/orvanta or in the working directory)\n"
    "  --format dm       degrees and decimal minutes, 55\xC2\xB0" "12.50 N (the default)\n"
    "  --format decimal  signed decimal degrees, north and east positive, 6 decimals\n"
    "  --format dms      degrees, minutes and whole seconds, 55\xC2\xB0" "07'30\"N\n"
    "  --precision N     decimals of the degrees (decimal) or of the seconds (dms)\n"
    "  --help            this text\n"
    "  --version         the program's version\n"
    "Writes one UTF-8 line per code, in input order: CODE<TAB>LATITUDE<TAB>LONGITUDE,\n"
    "or CODE<TAB>ERROR: <message> for a code that cannot be converted.\n"
    "Exit status: 0 all converted, 1 some code failed, 2 bad arguments or a missing\n"
    "or faulty data file (the cause goes to standard error).\n";

namespace {

// Takes an option's value from "--name=value" or from the next argument.
bool TakeValue(const std::vector<std::string> &args, size_t &i, const std::string &name, std::string &value,
               bool &matched, std::string &error)
{
    const std::string &arg = args[i];
    matched = false;
    if (arg == name) {
        matched = true;
        if (i + 1 >= args.size()) {
            error = "option " + name + " needs a value";
            return false;
        }
        value = args[++i];
        return true;
    }
    if (arg.compare(0, name.size() + 1, name + "=") == 0) {
        matched = true;
        value = arg.substr(name.size() + 1);
    }
    return true;
}

} // namespace

// Options may stand anywhere before "--"; every other argument is a code
// (or a coordinate: a negative number is no option).
bool ParseConvertOptions(const std::vector<std::string> &args, ConvertOptions &options, std::string &error)
{
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        bool negativeNumber = arg.size() >= 2 && arg[0] == '-' && ((arg[1] >= '0' && arg[1] <= '9') || arg[1] == '.');
        if (optionsEnded || arg.size() < 2 || arg[0] != '-' || negativeNumber) {
            options.Codes.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options.Help = true;
            continue;
        }
        if (arg == "--version") {
            options.Version = true;
            continue;
        }
        bool matched = false;
        std::string value;
        if (!TakeValue(args, i, "--data", value, matched, error))
            return false;
        if (matched) {
            options.DataFiles.push_back(value);
            continue;
        }
        if (!TakeValue(args, i, "--format", value, matched, error))
            return false;
        if (matched) {
            if (!ParseOutputFormat(value, options.Format)) {
                error = "unknown format '" + value + "' (use dm, decimal, dms, csv, geojson, kml, gpx or html)";
                return false;
            }
            continue;
        }
        if (!TakeValue(args, i, "--precision", value, matched, error))
            return false;
        if (matched) {
            if (value.empty() || value.size() > 2 || value.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(value) > kMaxDecimals) {
                error = "--precision takes a whole number from 0 to " + std::to_string(kMaxDecimals);
                return false;
            }
            options.Precision = std::stoi(value);
            continue;
        }
        error = "unknown option '" + arg + "'";
        return false;
    }
    return true;
}
