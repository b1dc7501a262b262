// orvanta-convert's batch and reverse parts: CSV records, the CSV batch,
// coordinate texts, the reverse lookup and its round trip over the shipped
// grid data.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "MapTestSupport.h"
#include "ScrambledText.h"
#include "convert/ConvertCode.h"
#include "convert/GridLookup.h"
#include "convert/Position.h"
#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/CsvConvert.h"
#include "tools/orvanta-convert/CsvStream.h"
#include "tools/orvanta-convert/LineReader.h"
#include "tools/orvanta-convert/PointWriter.h"
#include "tools/orvanta-convert/CoordinateText.h"
#include "tools/orvanta-convert/ReverseLookup.h"

namespace {

// Three quads CA, CB, CC of 3 x 2 cells from 54N 30W to 57N 21W, a second
// row CD, CE, CF above; cell 22 lies bottom-middle, the bottom-right cell
// is missing.
const std::string kGrid = CrLfLines({
    "About Demo grid", "Chart 1", "Quadtype 0", "NrOfQuadsX 3", "NrOfQuadsY 2", "DownLeftPos 54'00 30'00",
    "UpRightPos 57'00 21'00", "QuadName CA,CB,CC", "QuadName CD,CE,CF", "QuadDefinitions", "Type 0", "FormX 3",
    "FormY 2", "Numbers:", "11,12,13,", "21,22,-1"});

// A stream holding the text, for the readers.
std::FILE *StreamOf(const std::string &text)
{
    std::FILE *file = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    return file;
}

std::string ReadAll(std::FILE *file)
{
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;)
        text += static_cast<char>(c);
    return text;
}

TEST(CsvStream, ReadsRfc4180Records)
{
    const struct {
        const char *input;
        std::vector<std::vector<std::string>> fields;
        std::vector<std::string> lineEnds;
    } cases[] = {
        {"a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}, {"\r\n", "\r\n"}},
        {"a,b\nc", {{"a", "b"}, {"c"}}, {"\n", ""}},
        {"\"x,y\",\"say \"\"hi\"\"\"\r\n", {{"x,y", "say \"hi\""}}, {"\r\n"}},
        {"\"two\r\nlines\",z\n", {{"two\r\nlines", "z"}}, {"\n"}},
        {",,\n", {{"", "", ""}}, {"\n"}},
        {"a\"b,c\n", {{"a\"b", "c"}}, {"\n"}},
        {"a\rb,c\n", {{"a\rb", "c"}}, {"\n"}},
    };
    for (const auto &c : cases) {
        std::FILE *file = StreamOf(c.input);
        CsvReader reader(file);
        CsvRecord record;
        std::vector<std::vector<std::string>> fields;
        std::vector<std::string> lineEnds;
        while (reader.Next(record)) {
            fields.push_back(record.Fields);
            lineEnds.push_back(record.LineEnd);
        }
        std::fclose(file);
        EXPECT_EQ(fields, c.fields) << c.input;
        EXPECT_EQ(lineEnds, c.lineEnds) << c.input;
    }
}

// A row of exactly the bound is read whole; one byte more is overlong
// (the row starts off the reader's block boundaries).
TEST(CsvStream, RowLengthBound)
{
    for (size_t extra : {0, 1}) {
        std::string row = "x," + std::string(kMaxLineBytes - 2 + extra, 'y');
        std::FILE *file = StreamOf("first\n" + row + "\nnext\n");
        CsvReader reader(file);
        CsvRecord record;
        ASSERT_TRUE(reader.Next(record));
        ASSERT_TRUE(reader.Next(record));
        EXPECT_EQ(record.Overlong, extra == 1);
        EXPECT_EQ(record.Raw.size(), extra ? 0 : row.size());
        ASSERT_TRUE(reader.Next(record));
        EXPECT_EQ(record.Fields, std::vector<std::string>{"next"});
        std::fclose(file);
    }
}

TEST(CsvStream, QuotesOnlyWhatNeedsIt)
{
    const struct {
        const char *text, *field;
    } cases[] = {{"55\xC2\xB0" "7.50 N", "55\xC2\xB0" "7.50 N"}, {"a,b", "\"a,b\""}, {"say \"x\"", "\"say \"\"x\"\"\""},
                 {"two\nlines", "\"two\nlines\""}, {"", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(CsvField(c.text), c.field);
}

// A table row's settings as plain values: GCC 12 at -O3 takes a table of
// CsvSettings, whose column is a string, for half initialized.
struct RowSettings {
    const char *Column;
    bool Header;
    OutputFormat Format;
    int Decimals = -1;

    operator CsvSettings() const
    {
        CsvSettings settings;
        settings.Column = Column;
        settings.Header = Header;
        settings.Format = Format;
        settings.Decimals = Decimals;
        return settings;
    }
};

struct CsvCase {
    const char *what;
    std::string input;
    RowSettings settings;
    std::string output;
    long long converted, failed;
};

TEST(CsvConvert, AppendsThePositionAndKeepsEverythingElse)
{
    static GridDatabase db;
    ASSERT_EQ(LoadPlainText(kGrid, db), kLoadOk);
    Grid = db;
    const CsvCase cases[] = {
        {"codes in column 2, CR LF kept",
         "1942-03-01,CA1155,\"convoy, sighted\"\r\n1942-03-02,ca2255,x\r\n",
         {"2", false, OutputFormat::Decimal},
         "1942-03-01,CA1155,\"convoy, sighted\",55.125000,-29.500000,55\xC2\xB0" "7.50 N,29\xC2\xB0" "30.00 W,1,confirmed,2.50,\r\n"
         "1942-03-02,ca2255,x,54.375000,-28.500000,54\xC2\xB0" "22.50 N,28\xC2\xB0" "30.00 W,1,confirmed,2.50,\r\n",
         2, 0},
        {"failures keep their row with the program's message",
         "XX1111\nCA 135\nCA2355\nCA2255",
         {"1", false, OutputFormat::DegreesMinutes, 2},
         "XX1111,,,,,,,,Grid not in database.\nCA 135,,,,,,,,\"3 digits: a code has four (a small square), two (a cell) or none (a large square), e.g. AM1969\"\n"
         "CA2355,,,,,,,,Position not in database\nCA2255,54.38,-28.50,54\xC2\xB0" "22.50 N,28\xC2\xB0" "30.00 W,1,confirmed,2.50,",
         1, 3},
        {"header row names the column",
         "date,grid\n1942,CF1155\n\n1943,CA1155\n",
         {"grid", true, OutputFormat::Decimal},
         "date,grid,latitude,longitude,latitude_text,longitude_text,chart,confidence,precision_nm,message\n"
         "1942,CF1155,56.625000,-23.500000,56\xC2\xB0" "37.50 N,23\xC2\xB0" "30.00 W,1,confirmed,2.50,\n\n"
         "1943,CA1155,55.125000,-29.500000,55\xC2\xB0" "7.50 N,29\xC2\xB0" "30.00 W,1,confirmed,2.50,\n",
         2, 0},
        {"semicolons found by the first line and kept; dms texts",
         "Datum;Quadrat;Notiz\r\n1.3.1942;CA1155;\"a;b\"\r\n",
         {"Quadrat", true, OutputFormat::Dms},
         "Datum;Quadrat;Notiz;latitude;longitude;latitude_text;longitude_text;chart;confidence;precision_nm;message\r\n"
         "1.3.1942;CA1155;\"a;b\";55.125000;-29.500000;\"55\xC2\xB0" "07'30\"\"N\";\"29\xC2\xB0" "30'00\"\"W\";1;confirmed;2.50;\r\n",
         1, 0},
        {"a row without the column",
         "only\n",
         {"3", false, OutputFormat::Decimal},
         "only,,,,,,,,no column 3 in this row\n",
         0, 1},
        {"an unclosed quote ends the input",
         "CA1155,\"open\n",
         {"1", false, OutputFormat::Decimal},
         "CA1155,\"open\",,,,,,,,quote opened on line 1 is never closed; the row ends with that line\n",
         0, 1},
        {"a stray quote ends its own row only",
         "CA1155\n\"CA1155,x\nCA1155\n",
         {"1", false, OutputFormat::Decimal, 1},
         "CA1155,55.1,-29.5,55\xC2\xB0" "7.50 N,29\xC2\xB0" "30.00 W,1,confirmed,2.50,\n"
         "\"CA1155,x\",,,,,,,,quote opened on line 2 is never closed; the row ends with that line\n"
         "CA1155,55.1,-29.5,55\xC2\xB0" "7.50 N,29\xC2\xB0" "30.00 W,1,confirmed,2.50,\n",
         2, 1},
        {"a byte-order mark is kept; semicolons found after it",
         "\xEF\xBB\xBF" "code;x\nCA1155;1\n",
         {"code", true, OutputFormat::Decimal},
         "\xEF\xBB\xBF" "code;x;latitude;longitude;latitude_text;longitude_text;chart;confidence;precision_nm;message\n"
         "CA1155;1;55.125000;-29.500000;55\xC2\xB0" "7.50 N;29\xC2\xB0" "30.00 W;1;confirmed;2.50;\n",
         1, 0},
    };
    for (const CsvCase &c : cases) {
        std::FILE *in = StreamOf(c.input);
        std::FILE *out = std::tmpfile();
        CsvCounts counts;
        ProgressLine progress;
        std::string error;
        CsvTarget target{out, nullptr};
        ASSERT_TRUE(ConvertCsvStream(in, target, c.settings, counts, progress, error)) << c.what << ": " << error;
        EXPECT_EQ(ReadAll(out), c.output) << c.what;
        EXPECT_EQ(counts.Converted, c.converted) << c.what;
        EXPECT_EQ(counts.Failed, c.failed) << c.what;
        std::fclose(in);
        std::fclose(out);
    }
}

// The bounds of a square across the 180th meridian are longitudes on the
// globe, its west edge above its east one.
TEST(CsvConvert, SquareAcrossTheAntimeridianHasWrappedEdges)
{
    static GridDatabase db;
    ASSERT_EQ(LoadPlainText(AntimeridianGrid(), db), kLoadOk);
    Grid = db;
    CsvSettings settings;
    settings.Column = "1";
    settings.Squares = true;
    std::FILE *in = StreamOf("XA\n");
    std::FILE *out = std::tmpfile();
    CsvTarget target{out, nullptr};
    CsvCounts counts;
    ProgressLine progress;
    std::string error;
    ASSERT_TRUE(ConvertCsvStream(in, target, settings, counts, progress, error)) << error;
    EXPECT_EQ(ReadAll(out), "XA,20.500000,180.000000,20\xC2\xB0" "30.00 N,180\xC2\xB0" "0.00 E,2,reconstructed,30.00,"
                            "20.000000,179.000000,21.000000,-179.000000,\n");
    std::fclose(in);
    std::fclose(out);
}

TEST(CsvConvert, RefusesAColumnItCannotFind)
{
    const struct {
        RowSettings settings;
        const char *error;
    } cases[] = {{{"grid", false, OutputFormat::Decimal}, "needs a column number"},
                 {{"0", false, OutputFormat::Decimal}, "needs a column number"},
                 {{"position", true, OutputFormat::Decimal}, "no column named 'position'"}};
    for (const auto &c : cases) {
        std::FILE *in = StreamOf("date,grid\n");
        std::FILE *out = std::tmpfile();
        CsvCounts counts;
        ProgressLine progress;
        std::string error;
        CsvTarget target{out, nullptr};
        EXPECT_FALSE(ConvertCsvStream(in, target, c.settings, counts, progress, error));
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        std::fclose(in);
        std::fclose(out);
    }
}

TEST(ReverseLookup, ReadsDecimalDegreesAndTheProgramsTexts)
{
    const struct {
        const char *text;
        bool latitude, ok;
        double minutes;
    } cases[] = {
        {"55.125", true, true, 3307.5},
        {"-33.5", true, true, -2010},
        {"55\xC2\xB0" "7.50 N", true, true, 3307.5},
        {"55\xB0" "7.50 N", true, true, 3307.5},   // the program's own Windows-1252 text
        {"55 7.5 N", true, true, 3307.5},
        {"0\xC2\xB0" "30.00 S", true, true, -30},
        {"54\xC2\xB0" "60.00 N", true, false, 0},   // minutes run to below 60
        {"21\xC2\xB0" "7.25 W", false, true, 1267.25},
        {"21\xC2\xB0" "7.25 E", false, true, -1267.25},
        {"-21.5", false, true, 1290},               // east positive in, west positive out
        {"21.5W", false, true, 1290},
        {"21\xC2\xB0" "7.25 W", true, false, 0},     // a longitude where the latitude belongs
        {"55\xC2\xB0" "7.50", true, false, 0},       // minutes need their hemisphere
        {"95", true, false, 0},
        {"-5 N", true, false, 0},
        {"north", true, false, 0},
        {"0x10", true, false, 0},                  // no hexadecimal
        {"1e1", true, false, 0},                   // no exponent
        {".", true, false, 0},
        {"55\xC2", true, false, 0},                 // half a degree sign at the end
        {"", false, false, 0},
    };
    for (const auto &c : cases) {
        double minutes = 0;
        EXPECT_EQ(ParseCoordinate(c.text, c.latitude, minutes), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(minutes, c.minutes) << c.text;
        }
    }
}

TEST(ReverseLookup, ReadsPositionsAsDiariesWriteThem)
{
    using namespace std::string_literals;
    const struct {
        std::string text;
        double lat, lon; // minutes, west positive; unused on an error
        const char *error;
    } cases[] = {
        {"56\xC2\xB0" "44'N 14\xC2\xB0" "05'W", 3404, 845, ""},
        {"56\xC2\xB0" "44.5'N, 14\xC2\xB0" "5.5'E", 3404.5, -845.5, ""},
        {"56 44 N 14 05 W", 3404, 845, ""},
        {"N56\xC2\xB0" "44' W14\xC2\xB0" "05'", 3404, 845, ""},
        {"56.5N14.25W", 3390, 855, ""},
        {"56\xC2\xB0" "44'30\"N;0\xC2\xB0" "14\xE2\x80\xB2" "W", 3404.5, 14, ""}, // seconds; a prime marks minutes
        {"56\xC2\xB0" "44'30''S\t14 0 30 W", -3404.5, 840.5, ""},
        {"-56.5 -14.25", -3390, 855, ""},
        {"14\xC2\xB0" "05'W 56\xC2\xB0" "44'N", 3404, 845, ""},          // longitude first, both lettered
        {"95 10", 0, 0, "latitude 95 is beyond 90"},
        {"56 N 190 W", 0, 0, "longitude 190 W is beyond 180"},
        {"56 75 N 14 W", 0, 0, "minutes 75 are not below 60"},
        {"56\xC2\xB0" "60'N 14\xC2\xB0" "W", 0, 0, "minutes 60 are not below 60"},
        {"56 59 60 N 14 W", 0, 0, "seconds 60 are not below 60"},
        {"56.75\0garbage -14"s, 0, 0, "cannot read '\xEF\xBF\xBDgarbage -14' as a longitude"},
        {"56.75 -14\0"s, 0, 0, "cannot read '-14\xEF\xBF\xBD' as a longitude"},
        {"56.5N \xFF", 0, 0, "cannot read '\xEF\xBF\xBD' as a longitude"},
        {"\xFF", 0, 0, "cannot read '\xEF\xBF\xBD' as a latitude"},
        {"56.5 30 N 14 W", 0, 0, "degrees 56.5 followed by minutes must be whole"},
        {"56 44 14 05", 0, 0, "degrees and minutes need a hemisphere letter (E or W) or a sign"},
        {"-56 N 14 W", 0, 0, "'-56 N' has both a sign and a hemisphere letter"},
        {"56.5", 0, 0, "'56.5' has no longitude"},
        {"56.5N 14x", 0, 0, "cannot read '14x' as a longitude"},
        {"56.5N 14\n", 0, 0, "cannot read '14\xEF\xBF\xBD' as a longitude"},  // a quoted CSV cell's line break
        {"56\x01", 0, 0, "cannot read '56\xEF\xBF\xBD' as a latitude"},
        {"", 0, 0, "no position"},
    };
    for (const auto &c : cases) {
        double lat = -1, lon = -1;
        std::string error;
        bool ok = ReadPosition(c.text, lat, lon, error);
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_EQ(ok, *c.error == '\0') << c.text;
        EXPECT_EQ(ValidUtf8(error), error) << c.text;
        if (ok) {
            EXPECT_DOUBLE_EQ(lat, c.lat) << c.text;
            EXPECT_DOUBLE_EQ(lon, c.lon) << c.text;
        }
    }
    std::string error;
    double lat, lon;
    EXPECT_FALSE(ReadPosition(std::string(kMaxPositionText + 1, '5'), lat, lon, error));
    EXPECT_EQ(error, "position text longer than 200 characters");
}

TEST(ReverseLookup, FindsTheSmallSquareOfEachQuadThatHoldsThePosition)
{
    static GridDatabase db;
    ASSERT_EQ(LoadPlainText(kGrid, db), kLoadOk);
    const struct {
        const char *what;
        double lat, lon;  // minutes, west positive
        std::vector<std::string> codes;
    } cases[] = {
        {"south-west corner of CA", 3240, 1800, {"CA2177"}},
        {"centre of CA1155", 3307.5, 1770, {"CA1155"}},
        {"north-east small square of CF13", 3419.9, 1260.1, {"CF1333"}},
        {"the missing cell of CB", 3250, 1460, {}},
        {"edge between CA and CB goes to CB", 3241, 1620, {"CB2177"}},
        {"north of the grid", 3421, 1500, {}},
        {"east of the grid", 3300, 1200, {}},
    };
    for (const auto &c : cases) {
        std::vector<std::string> codes;
        for (const ReverseMatch &m : ReverseLookup(db, c.lat, c.lon))
            codes.push_back(m.Code);
        EXPECT_EQ(codes, c.codes) << c.what;
    }
}

TEST(ReverseLookup, ListsOneCodePerRecordInTableOrder)
{
    // Two records of one name over the same ground, with different cell
    // numbers there, then a third quad elsewhere.
    static GridDatabase db;
    std::string text = CrLfLines({"Chart 1", "Quadtype 0", "NrOfQuadsX 1", "NrOfQuadsY 1", "DownLeftPos 0'00 10'00",
                                  "UpRightPos 9'00 1'00", "QuadName AB", "Chart 2", "Quadtype 1", "NrOfQuadsX 2",
                                  "NrOfQuadsY 1", "DownLeftPos 0'00 10'00", "UpRightPos 9'00 -8'00",
                                  "QuadName AB,AC", "QuadDefinitions", "Type 0", "FormX 1", "FormY 1",
                                  "Numbers: 5", "Type 1", "FormX 1", "FormY 1", "Numbers: 7"});
    ASSERT_EQ(LoadPlainText(text, db), kLoadOk);
    std::vector<ReverseMatch> matches = ReverseLookup(db, 270, 330);
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[0].Code, "AB0555");
    EXPECT_EQ(matches[0].QuadIndex, 0);
    EXPECT_EQ(matches[1].Code, "AB0755");
    EXPECT_EQ(matches[1].QuadIndex, 1);
}

TEST(ReverseLookup, SkipsNamesNoCodeCanReach)
{
    // A one-letter name and the empty name lie under AB; no six-character
    // code has them as its letters, so only AB is listed.
    static GridDatabase db;
    std::string text = CrLfLines({"Chart 1", "Quadtype 0", "NrOfQuadsX 3", "NrOfQuadsY 1", "DownLeftPos 0'00 10'00",
                                  "UpRightPos 9'00 -17'00", "QuadName A,,AB", "QuadDefinitions", "Type 0", "FormX 1",
                                  "FormY 1", "Numbers: 5"});
    ASSERT_EQ(LoadPlainText(text, db), kLoadOk);
    for (double lon : {330.0, -210.0})
        EXPECT_TRUE(ReverseLookup(db, 270, lon).empty()) << lon;
    std::vector<ReverseMatch> matches = ReverseLookup(db, 270, -750);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].Code, "AB0555");
}

TEST(PointWriter, EscapesMarkupAndForbiddenBytes)
{
    EXPECT_EQ(XmlEscape("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&apos;");
    EXPECT_EQ(XmlEscape(std::string("x\x01y")), "x\xEF\xBF\xBDy");
    EXPECT_EQ(XmlEscape("55\xC2\xB0" "7.50 N"), "55\xC2\xB0" "7.50 N");
    EXPECT_EQ(XmlEscape("a\xEF\xBF\xBE" "b\xEF\xBF\xBF" "c\xFF" "d\xEF\xBF\xBD"),
              "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xEF\xBF\xBD" "d\xEF\xBF\xBD");
}

// Each code's place in each format: its centre, its square (two pieces
// across the 180th meridian), or no position (a null geometry in GeoJSON,
// left out of KML and GPX); properties named once each.
TEST(PointWriter, WritesEachCodeAsPointOrSquare)
{
    static GridDatabase grid;
    ASSERT_EQ(LoadPlainText(AntimeridianGrid(), grid), kLoadOk);
    const struct {
        const char *code;
        PointFormat format;
        bool square, written;
        const char *expected;
    } cases[] = {
        {"XB1155", PointFormat::GeoJson, false, true, "\"geometry\": {\"type\": \"Point\", \"coordinates\": [-178.000000, 20.500000]}"},
        {"XB", PointFormat::GeoJson, true, true, "{\"type\": \"Polygon\", \"coordinates\": [[[-179.000000, 20.000000], "},
        {"XA", PointFormat::GeoJson, true, true, "{\"type\": \"MultiPolygon\", \"coordinates\": [[[[179.000000, 20.000000], "},
        {"XA", PointFormat::Kml, true, true, "<MultiGeometry><Polygon><outerBoundaryIs><LinearRing><coordinates>179.000000,20.000000 "},
        {"XB11", PointFormat::Kml, true, true, "<Data name=\"precision_nm\"><value>30.00</value></Data>"},
        {"XA", PointFormat::Gpx, true, true, "<wpt lat=\"20.500000\" lon=\"-180.000000\"><name>XA</name>"},
    };
    for (const auto &c : cases) {
        std::FILE *file = std::tmpfile();
        PointWriter writer(c.format, file, c.square);
        writer.Begin();
        EXPECT_EQ(writer.Add(ConvertWrittenCode(c.code, grid)), c.written) << c.code;
        writer.End();
        std::string text = TakeFileText(file);
        EXPECT_NE(text.find(c.expected), std::string::npos) << c.code << ":\n" << text;
    }
    MapFeature failed = CodeFeature(ConvertWrittenCode("XC1155", grid));
    failed.Add("code", "again");
    EXPECT_EQ(failed.Properties.back().first, "code_2");
    std::FILE *file = std::tmpfile();
    PointWriter json(PointFormat::GeoJson, file), kml(PointFormat::Kml, file);
    EXPECT_TRUE(json.Add(failed));
    EXPECT_FALSE(kml.Add(failed));
    EXPECT_NE(TakeFileText(file).find("\"geometry\": null}"), std::string::npos);
}

#ifdef ORVANTA_SHIPPED_DATA
// Every code of the shipped grid converts to a position whose reverse
// lookup names that code again: all cells of every record, each with a
// spread of its small squares.
TEST(ReverseLookup, RoundTripOverTheShippedGrid)
{
    ResetGridDatabase(Grid);
    ASSERT_EQ(LoadGridData(ORVANTA_SHIPPED_DATA), kLoadOk) << ORVANTA_SHIPPED_DATA;
    std::mt19937 random(7);
    long checked = 0;
    for (int i = 0; i < Grid.QuadCount; ++i) {
        const QuadRecord &q = Grid.Quads[i];
        const QuadForm &form = Grid.Forms[q.Quadtype];
        for (int cell = 0; cell < form.FormX * form.FormY; ++cell) {
            int number = form.Numbers[cell];
            if (number < 0)
                continue;
            for (int small : {11, 99, 0}) {
                if (small == 0)
                    small = 10 * (1 + static_cast<int>(random() % 9)) + 1 + static_cast<int>(random() % 9);
                char code[16];
                std::snprintf(code, sizeof code, "%s%02d%02d", q.QuadName, number, small);
                ConversionResult result = ConvertCode(code);
                ASSERT_EQ(result.Status, ConvertStatus::Converted) << code;
                bool found = false;
                for (const ReverseMatch &m : ReverseLookup(Grid, result.Position.Latitude, result.Position.Longitude))
                    found = found || (m.Code == code && m.QuadIndex == result.QuadIndex);
                ASSERT_TRUE(found) << code << " converts to " << result.LatitudeText << " " << result.LongitudeText
                                   << " but its reverse lookup does not name it";
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 50000);
}

// No text of any small square of either shipped file shows 60 minutes:
// every record, every cell, all 81 small squares.
TEST(PositionTexts, NoSixtyMinutesInTheShippedGrids)
{
    for (const char *file : {ORVANTA_SHIPPED_DATA, ORVANTA_SHIPPED_PACIFIC}) {
        ResetGridDatabase(Grid);
        ASSERT_EQ(LoadGridData(file), kLoadOk) << file;
        long walked = 0, sixty = 0;
        for (int16_t i = 0; i < Grid.QuadCount; ++i) {
            const QuadRecord &q = Grid.Quads[i];
            const QuadForm &form = Grid.Forms[q.Quadtype];
            for (int cell = 0; cell < form.FormX * form.FormY; ++cell) {
                for (int small = 11; form.Numbers[cell] >= 0 && small <= 99; ++small) {
                    char code[16];
                    std::snprintf(code, sizeof code, "%s%02d%02d", q.QuadName, form.Numbers[cell], small);
                    if (small % 10 == 0 || LocateSubsquare(code, i) != kLocateFound)
                        continue;
                    GridPosition p = ComputePosition(i);
                    char lat[kPositionTextSize], lon[kPositionTextSize];
                    FormatLatitude(p.Latitude, lat);
                    FormatLongitude(p.Longitude, lon);
                    sixty += std::strstr(lat, "\xB0" "60.") || std::strstr(lon, "\xB0" "60.");
                    ++walked;
                }
            }
        }
        EXPECT_EQ(sixty, 0) << file << ": " << walked << " squares";
        EXPECT_GT(walked, 500000) << file;
    }
}
#endif

} // namespace
