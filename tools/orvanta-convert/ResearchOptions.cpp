// Taking the batch and GIS options out of orvanta-convert's arguments.
#include "tools/orvanta-convert/ResearchOptions.h"

const char kResearchUsage[] =
    "Batch files, map formats and reverse lookup:\n"
    "  --csv COLUMN      read CSV (RFC 4180) from the FILEs given, or standard input,\n"
    "                    and write it back with latitude, longitude and message\n"
    "                    columns appended; COLUMN is the code column's number (from 1),\n"
    "                    or its name with --header\n"
    "  --header          the first CSV row is a header row\n"
    "  --format geojson|kml|gpx\n"
    "                    one point per converted code (failed codes go to standard error)\n"
    "  --format html     one self-contained map page that any browser opens offline: the\n"
    "                    codes over a coastline and the grid's large squares\n"
    "  --reverse LAT LON print every code whose small square holds the position: decimal\n"
    "                    degrees (north, east positive) or texts such as \"55\xC2\xB0" "7.50 N\"\n";

namespace {

// Reads "--name=value" or "--name value"; matched tells whether it was one.
bool TakeValue(std::vector<std::string> &args, size_t i, const std::string &name, std::string &value, bool &matched,
               std::string &error)
{
    const std::string &arg = args[i];
    matched = arg == name || arg.compare(0, name.size() + 1, name + "=") == 0;
    if (!matched)
        return true;
    if (arg != name) {
        value = arg.substr(name.size() + 1);
        args.erase(args.begin() + static_cast<long>(i));
        return true;
    }
    if (i + 1 >= args.size()) {
        error = "option " + name + " needs a value";
        return false;
    }
    value = args[i + 1];
    args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
    return true;
}

} // namespace

// Walks the options up to "--"; the basic options and the codes stay.
bool ExtractResearchOptions(std::vector<std::string> &args, ResearchOptions &options, std::string &error)
{
    size_t i = 0;
    while (i < args.size() && args[i] != "--") {
        const std::string &arg = args[i];
        bool matched = false;
        std::string value;
        if (arg == "--header") {
            options.Header = true;
            args.erase(args.begin() + static_cast<long>(i));
            continue;
        }
        if (arg == "--reverse") {
            if (i + 2 >= args.size()) {
                error = "option --reverse needs a latitude and a longitude";
                return false;
            }
            options.Reverse = true;
            options.ReverseLat = args[i + 1];
            options.ReverseLon = args[i + 2];
            args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 3);
            continue;
        }
        if (!TakeValue(args, i, "--csv", value, matched, error))
            return false;
        if (matched) {
            options.Csv = true;
            options.CsvColumn = value;
            continue;
        }
        if (arg == "--format" || arg.compare(0, 9, "--format=") == 0) {
            std::string name = arg == "--format" ? (i + 1 < args.size() ? args[i + 1] : "") : arg.substr(9);
            PointFormat format = name == "geojson" ? PointFormat::GeoJson
                                 : name == "kml"   ? PointFormat::Kml
                                 : name == "gpx"   ? PointFormat::Gpx
                                 : name == "html"  ? PointFormat::Html
                                                   : PointFormat::None;
            if (format != PointFormat::None) {
                options.Points = format;
                args.erase(args.begin() + static_cast<long>(i),
                           args.begin() + static_cast<long>(i) + (arg == "--format" ? 2 : 1));
                continue;
            }
            i += arg == "--format" ? 2 : 1; // dm or decimal: the basic parser's
            continue;
        }
        ++i;
    }
    if (options.Csv && options.Points != PointFormat::None) {
        error = "--csv writes CSV; use --format dm or decimal with it";
        return false;
    }
    if (options.Reverse && (options.Csv || options.Points != PointFormat::None)) {
        error = "--reverse takes no --csv or point format";
        return false;
    }
    if (options.Header && !options.Csv) {
        error = "--header goes with --csv";
        return false;
    }
    return true;
}
