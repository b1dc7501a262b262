// Taking the batch and GIS options out of orvanta-convert's arguments.
#include "tools/orvanta-convert/ResearchOptions.h"

const char kResearchUsage[] =
    "Batch files, map formats and reverse lookup:\n"
    "  --csv COLUMN      read CSV (RFC 4180) from the FILEs given, or standard input,\n"
    "                    and write it back with latitude and longitude (decimal\n"
    "                    degrees), latitude_text and longitude_text (the program's\n"
    "                    texts, or dms), chart and message columns appended; COLUMN is\n"
    "                    the code column's number (from 1), or its name with --header\n"
    "  --header          the first CSV row is a header row\n"
    "  --delimiter C     the CSV field separator (default: ',', ';' or TAB, whichever\n"
    "                    the first line holds most of; the output keeps it)\n"
    "  --format geojson|kml|gpx\n"
    "                    one point per converted code (failed codes go to standard\n"
    "                    error); with --csv one feature per row carrying all its cells\n"
    "                    (a failed row: null geometry in GeoJSON, left out of KML/GPX)\n"
    "  --format html     one self-contained map page that any browser opens offline:\n"
    "                    the codes or CSV rows over a coastline and the large squares\n"
    "  --format csv      with --csv: CSV, as without a format\n"
    "  --shape square    each code's square (small square, cell or large square): a\n"
    "                    polygon in GeoJSON, KML and the map page, south, west, north and\n"
    "                    east columns in CSV (default: point, the centre); every map\n"
    "                    feature and CSV row also carries chart, confidence (confirmed\n"
    "                    for Chart 1, else reconstructed) and precision_nm, half the\n"
    "                    square's north-south side in nautical miles\n"
    "  --reverse [LAT LON]\n"
    "                    print every code whose small square holds the position, with\n"
    "                    the square's centre; without a position, read one per line from\n"
    "                    standard input and write each line back with its codes after a\n"
    "                    TAB (blank lines and # comments pass unchanged).  Positions read\n"
    "                    as decimal degrees (north, east positive), 56.7333N, 56\xC2\xB0" "44.5'N,\n"
    "                    56 44 N, N56\xC2\xB0" "44', 56\xC2\xB0" "44'30\"N or the program's texts\n"
    "  --reverse --csv LATCOL,LONCOL\n"
    "                    read the position of each CSV row from two columns and append\n"
    "                    code (the codes, separated by blanks) and message columns\n";

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
            options.Reverse = true;
            args.erase(args.begin() + static_cast<long>(i));
            continue;
        }
        if (!TakeValue(args, i, "--shape", value, matched, error))
            return false;
        if (matched) {
            if (value != "square" && value != "point") {
                error = "unknown shape '" + value + "' (use square or point)";
                return false;
            }
            options.Squares = value == "square";
            continue;
        }
        if (!TakeValue(args, i, "--delimiter", value, matched, error))
            return false;
        if (matched) {
            if (value == "\\t" || value == "tab")
                value = "\t";
            if (value.size() != 1 || value == "\"" || value == "\n" || value == "\r") {
                error = "--delimiter takes one character other than a quote or a line end";
                return false;
            }
            options.Delimiter = value[0];
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
            if (name == "csv") {
                options.CsvFormat = true;
                args.erase(args.begin() + static_cast<long>(i),
                           args.begin() + static_cast<long>(i) + (arg == "--format" ? 2 : 1));
                continue;
            }
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
    if ((options.CsvFormat || options.Delimiter) && !options.Csv) {
        error = std::string(options.CsvFormat ? "--format csv" : "--delimiter") + " goes with --csv";
        return false;
    }
    if (options.Squares && !options.Csv && options.Points == PointFormat::None) {
        error = "--shape goes with --csv or a map format";
        return false;
    }
    if (options.Squares && options.Points == PointFormat::Gpx) {
        error = "GPX holds points only; --shape square goes with geojson, kml, html or CSV";
        return false;
    }
    if (options.Reverse && options.Points != PointFormat::None) {
        error = "--reverse writes text or CSV, not a map format";
        return false;
    }
    if (options.Header && !options.Csv) {
        error = "--header goes with --csv";
        return false;
    }
    return true;
}
