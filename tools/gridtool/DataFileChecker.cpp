// The checker's walk over a data file's plain text.
//
// It reads the keyword slots in the loader's order with the loader's own
// field readers, given a buffer as large as the text so that no field is
// cut, so every fault is reported where the loader meets it; a dropped word
// costs its slot here as it does in the loader.
#include "tools/gridtool/DataFileChecker.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "data/DecimalText.h"
#include "data/ScrambledReader.h"
#include "tools/gridtool/CheckedGrid.h"
#include "tools/common/DataFileText.h"
#include "tools/gridtool/FieldText.h"

namespace {

// One field as the loader's reader cut it.
struct PlainField {
    std::string Text;
    int Line = 0;          // the line of the field's first kept byte
    bool AtEnd = false;    // the file ended before the terminator
    bool TooLong = false;  // the loader's buffer for this field overflows
};

struct Walk {
    std::vector<unsigned char> Bytes;  // the text scrambled, as the loader reads it
    ScrambledReader Reader;
    std::vector<char> Buffer;          // holds any field of the text whole
    std::vector<CheckProblem> &Problems;
    CheckedGrid Grid;
    PlainField Word;
    CheckedSection Section;  // carries its values over to the next section
    int FormIndex = 0;

    Walk(const std::string &plain, std::vector<CheckProblem> &problems)
        : Bytes(ScrambledForm(plain)), Reader(MakeMemoryReader(Bytes.data(), Bytes.size())),
          Buffer(plain.size() < INT_MAX ? plain.size() + 1 : INT_MAX), Problems(problems)
    {
    }
};

using FieldReader = void (*)(ScrambledReader &, char *, int);

int BufferSize(const Walk &w)
{
    return static_cast<int>(w.Buffer.size());
}

// The field the reader has just read into the walk's buffer; loaderSize is
// the loader's buffer for that field.
PlainField TakeField(const Walk &w, int loaderSize)
{
    const ScrambledReader &r = w.Reader;
    PlainField field;
    field.Text.assign(w.Buffer.data(), static_cast<size_t>(r.FieldLength));
    field.Line = static_cast<int>(r.FieldLine);
    field.AtEnd = r.AtEnd;
    field.TooLong = r.FieldRoom > loaderSize;
    return field;
}

// Reads one field with one of the loader's readers.
PlainField ReadField(Walk &w, FieldReader reader, int loaderSize)
{
    reader(w.Reader, w.Buffer.data(), BufferSize(w));
    return TakeField(w, loaderSize);
}

// Reads one quad name; more is set when a comma ended it.
PlainField ReadName(Walk &w, bool &more)
{
    more = ReadQuadName(w.Reader, w.Buffer.data(), BufferSize(w));
    return TakeField(w, kNameSlotSize);
}

// Adds a fault at a line.
void Report(Walk &w, int line, const std::string &message)
{
    w.Problems.push_back({line, message});
}

std::string Num(long long value)
{
    return std::to_string(value);
}

// The word as a message names it.
std::string FoundText(const PlainField &word)
{
    if (word.Text.empty() && word.AtEnd)
        return "the end of the file";
    return Shown(word.Text);
}

// Reads the next word into the walk.
void NextWord(Walk &w)
{
    w.Word = ReadField(w, ReadWord, kWordBufferSize);
    if (w.Word.TooLong)
        Report(w, w.Word.Line, "a word of " + Num(static_cast<long long>(w.Word.Text.size())) +
                                   " bytes; a word has at most 99");
}

bool WordIs(const Walk &w, const char *keyword)
{
    return w.Word.Text == keyword;
}

// Reports a word that stands where a keyword belongs.
void ReportExpected(Walk &w, const std::string &expected)
{
    std::string found = FoundText(w.Word);
    std::string hint;
    if (!w.Word.Text.empty() && w.Word.Text[0] == ' ')
        hint = " (keyword lines are indented with TABs, not spaces)";
    Report(w, w.Word.Line, "expected " + expected + ", found " + found + hint);
}

// Reads one keyword slot: true when its word is the keyword.
bool Slot(Walk &w, const char *keyword)
{
    NextWord(w);
    if (WordIs(w, keyword))
        return true;
    ReportExpected(w, std::string("'") + keyword + "'");
    return false;
}

// Reports a numeric field longer than the loader's 11-byte buffer.
bool FieldFits(Walk &w, const PlainField &field, const char *what)
{
    if (!field.TooLong)
        return true;
    Report(w, field.Line, std::string(what) + " " + Shown(field.Text) + " is longer than 11 bytes");
    return false;
}

// Reads a 16-bit value and checks that it is an integer from low to high;
// returns the value the loader takes.
int ReadInteger(Walk &w, const char *keyword, long long low, long long high, int *line = nullptr)
{
    PlainField field = ReadField(w, ReadValueText, kFieldBufferSize);
    if (line)
        *line = field.Line;
    long long value = 0;
    if (!FieldFits(w, field, keyword)) {
    } else if (!IntegerField(field.Text, value)) {
        Report(w, field.Line, std::string("expected an integer after '") + keyword + "', found " +
                                  (field.AtEnd && field.Text.empty() ? "the end of the file" : Shown(field.Text)));
    } else if (value < low || value > high) {
        Report(w, field.Line, std::string(keyword) + " " + Num(value) + " is beyond the limits " + Num(low) +
                                  " to " + Num(high));
    }
    return static_cast<int16_t>(static_cast<uint16_t>(ParseIntegerText(field.Text.c_str())));
}

// Reads one degrees'minutes position and checks its syntax and range;
// returns it in minutes as the loader reads it.
double ReadCoordinate(Walk &w, const std::string &what, double limitDegrees)
{
    PlainField degrees = ReadField(w, ReadDegreesText, kFieldBufferSize);
    if (degrees.AtEnd || degrees.Text.find('\n') != std::string::npos) {
        Report(w, degrees.Line, "expected the " + what + " as degrees'minutes, the apostrophe is missing");
        return 0;
    }
    PlainField minutes = ReadField(w, ReadMinutesText, kFieldBufferSize);
    double d = 0, m = 0;
    bool degreesFit = FieldFits(w, degrees, (what + " degrees").c_str());
    bool minutesFit = FieldFits(w, minutes, (what + " minutes").c_str());
    if (!degreesFit || !minutesFit)
        return 0;
    if (!DecimalField(degrees.Text, d) || !DecimalField(minutes.Text, m)) {
        Report(w, degrees.Line, "expected the " + what + " as degrees'minutes, found " +
                                    Shown(degrees.Text + "'" + minutes.Text));
        return 0;
    }
    if (m < 0 || m >= 60 || minutes.Text.find('-') != std::string::npos)
        Report(w, minutes.Line, "the " + what + " minutes " + Shown(minutes.Text) + " are not from 0 to below 60");
    bool negative = std::signbit(d) || degrees.Text.find('-') != std::string::npos;
    double value = negative ? -(std::fabs(d) * 60 + m) : d * 60 + m;
    if (std::fabs(value) > limitDegrees * 60)
        Report(w, degrees.Line, "the " + what + " " + Shown(degrees.Text + "'" + minutes.Text) +
                                    " lies beyond " + Num(static_cast<long long>(limitDegrees)) + " degrees");
    return value;
}

// Reads the latitude and longitude of one corner keyword; false when the
// slot held another word.
bool ReadCorner(Walk &w, const char *keyword, double &lat, double &lon)
{
    if (!Slot(w, keyword))
        return false;
    lat = ReadCoordinate(w, std::string(keyword) + " latitude", 90);
    lon = ReadCoordinate(w, std::string(keyword) + " longitude", 360);
    return true;
}

// Checks one quad name of a QuadName line.
void CheckName(Walk &w, const PlainField &name)
{
    if (name.Text.empty())
        Report(w, name.Line, "an empty quad name (a comma at the end of the line, or two commas?)");
    else if (name.TooLong)
        Report(w, name.Line, "quad name " + Shown(name.Text) + " is longer than two characters");
    else if (std::any_of(name.Text.begin(), name.Text.end(),
                         [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; }))
        Report(w, name.Line, "quad name " + Shown(name.Text) + " holds a blank or control character");
}

// Reads every QuadName line of a section; leaves the word after them.
void ReadNames(Walk &w, CheckedSection &s, int &firstLine)
{
    s.Names.clear();
    NextWord(w);
    firstLine = w.Word.Line;
    while (WordIs(w, "QuadName")) {
        bool more = true;
        while (more) {
            PlainField name = ReadName(w, more);
            CheckName(w, name);
            s.Names.push_back(name.Text);
        }
        NextWord(w);
    }
}

// Checks the counts and the extent of a section once it is read.
void CheckSectionShape(Walk &w, const CheckedSection &s, int namesLine, int countLine)
{
    long long cells = static_cast<long long>(s.NrOfQuadsX) * s.NrOfQuadsY;
    if (s.NrOfQuadsX > 0 && s.NrOfQuadsY > 0 && cells > kMaxSectionNames)
        Report(w, countLine, "NrOfQuadsX x NrOfQuadsY = " + Num(cells) + " quads in one section; at most " +
                                 Num(kMaxSectionNames));
    if (s.Names.size() > static_cast<size_t>(kMaxSectionNames))
        Report(w, namesLine, Num(static_cast<long long>(s.Names.size())) + " names in one section; at most " +
                                 Num(kMaxSectionNames));
    if (cells != static_cast<long long>(s.Names.size()))
        Report(w, namesLine, "NrOfQuadsX x NrOfQuadsY = " + Num(s.NrOfQuadsX) + " x " + Num(s.NrOfQuadsY) + " = " +
                                 Num(cells) + " quads, but the QuadName lines give " +
                                 Num(static_cast<long long>(s.Names.size())) + " names");
    if (s.CornersRead && (s.DownLeftLat == s.UpRightLat || s.DownLeftLon == s.UpRightLon))
        Report(w, s.ChartLine, "DownLeftPos and UpRightPos share a latitude or a longitude: the quads have no extent");
}

// Reads one chart section from the word in the walk; leaves the word after
// its names.
void CheckSection(Walk &w)
{
    CheckedSection &s = w.Section;
    s.ChartLine = w.Word.Line;
    if (WordIs(w, "Chart"))
        s.Chart = ReadInteger(w, "Chart", -32768, 32767);
    else
        ReportExpected(w, w.Grid.Sections.empty() ? "'About' or 'Chart'" : "'Chart'");
    if (Slot(w, "Quadtype"))
        s.Quadtype = ReadInteger(w, "Quadtype", 0, kMaxQuadTypes - 1, &s.QuadtypeLine);
    int countLine = w.Word.Line;
    if (Slot(w, "NrOfQuadsX"))
        s.NrOfQuadsX = ReadInteger(w, "NrOfQuadsX", 1, kMaxSectionNames, &countLine);
    if (Slot(w, "NrOfQuadsY"))
        s.NrOfQuadsY = ReadInteger(w, "NrOfQuadsY", 1, kMaxSectionNames, &countLine);
    bool downLeft = ReadCorner(w, "DownLeftPos", s.DownLeftLat, s.DownLeftLon);
    bool upRight = ReadCorner(w, "UpRightPos", s.UpRightLat, s.UpRightLon);
    s.CornersRead = s.CornersRead || (downLeft && upRight);
    int namesLine = 0;
    ReadNames(w, s, namesLine);
    CheckSectionShape(w, s, namesLine, countLine);
    w.Grid.Sections.push_back(s);
}

// Reads the Numbers list of a form and reports entries that are not cell
// numbers or repeat one.
void ReadNumbers(Walk &w, CheckedForm &form, int cells)
{
    form.Numbers.assign(static_cast<size_t>(cells), 0);
    std::vector<int> firstLine(256, 0);
    std::string shortHint = " (fewer Numbers entries than FormX x FormY = " + Num(cells) + "?)";
    for (int n = 0; n < cells; ++n) {
        PlainField entry = ReadField(w, ReadNumberEntryText, kFieldBufferSize);
        long long value = 0;
        if (entry.AtEnd && entry.Text.empty()) {
            Report(w, entry.Line, "the file ends after " + Num(n) + " of the FormX x FormY = " + Num(cells) +
                                      " Numbers entries");
            return;
        }
        if (!FieldFits(w, entry, "Numbers entry")) {
        } else if (!IntegerField(entry.Text, value)) {
            Report(w, entry.Line, "expected a cell number, found " + Shown(entry.Text) + shortHint);
        } else if (value < -128 || value > 127) {
            Report(w, entry.Line, "cell number " + Num(value) + " is beyond the limits -128 to 127");
        } else if (value != -1 && (value < 0 || value > 99)) {
            Report(w, entry.Line, "cell number " + Num(value) + " cannot be named by a code's two digits");
        }
        int stored = static_cast<int8_t>(static_cast<uint8_t>(ParseIntegerText(entry.Text.c_str())));
        form.Numbers[static_cast<size_t>(n)] = stored;
        int &seen = firstLine[static_cast<size_t>(stored + 128)];
        if (stored != -1 && seen != 0)
            Report(w, entry.Line, "cell number " + Num(stored) + " appears twice in form " + Num(w.FormIndex) +
                                      " (first on line " + Num(seen) + ")");
        else if (seen == 0)
            seen = entry.Line;
    }
}

// Reads one form definition from the word in the walk; leaves the word
// after it.
void CheckForm(Walk &w)
{
    int typeLine = w.Word.Line;
    if (WordIs(w, "Type")) {
        int index = ReadInteger(w, "Type", 0, kMaxQuadTypes - 1);
        if (index >= 0 && index < kMaxQuadTypes) {
            w.FormIndex = index;
            if (w.Grid.Forms[index].Line != 0)
                Report(w, typeLine, "type " + Num(index) + " is defined again (first on line " +
                                        Num(w.Grid.Forms[index].Line) + "); this definition overwrites it");
        }
    } else {
        ReportExpected(w, "'Type' or the end of the file");
    }
    CheckedForm &form = w.Grid.Forms[w.FormIndex];
    form.Line = typeLine;
    int sizeLine = 0;
    if (Slot(w, "FormX"))
        form.FormX = ReadInteger(w, "FormX", 1, kMaxFormCells, &sizeLine);
    if (Slot(w, "FormY"))
        form.FormY = ReadInteger(w, "FormY", 1, kMaxFormCells, &sizeLine);
    int cells = form.FormX * form.FormY;
    if (form.FormX > 0 && form.FormY > 0 && cells > kMaxFormCells)
        Report(w, sizeLine, "FormX x FormY = " + Num(cells) + " cells; a form has at most " + Num(kMaxFormCells));
    if (Slot(w, "Numbers:") && cells > 0)
        ReadNumbers(w, form, std::min(cells, 1 << 15));
}

// Reads the definitions after "QuadDefinitions" up to the end.
void CheckDefinitions(Walk &w)
{
    NextWord(w);
    if (w.Word.Text.empty() && w.Word.AtEnd)
        return; // no definitions at all
    for (;;) {
        CheckForm(w);
        NextWord(w);
        if (WordIs(w, "Type"))
            continue;
        if (!(w.Word.Text.empty() && w.Word.AtEnd)) {
            std::string hint;
            char first = w.Word.Text.empty() ? ' ' : w.Word.Text[0];
            if ((first >= '0' && first <= '9') || first == '-')
                hint = " (more Numbers entries than FormX x FormY?)";
            Report(w, w.Word.Line, "expected 'Type' or the end of the file, found " + FoundText(w.Word) + hint +
                                       "; the loader reads nothing after it");
        }
        return;
    }
}

// Fills the summary from what the walk gathered.
void Summarize(const CheckedGrid &grid, CheckSummary &summary)
{
    summary.Sections = static_cast<int>(grid.Sections.size());
    for (const CheckedSection &s : grid.Sections)
        if (s.NrOfQuadsX > 0 && s.NrOfQuadsY > 0)
            summary.Quads += s.NrOfQuadsX * s.NrOfQuadsY;
    for (const CheckedForm &form : grid.Forms)
        summary.Forms += (form.FormX != 0 || form.FormY != 0) ? 1 : 0;
}

} // namespace

// The walk: About, the chart sections, QuadDefinitions, the forms; then
// the checks that need the whole grid.
std::vector<CheckProblem> CheckPlainText(const std::string &plain, CheckSummary *summary)
{
    std::vector<CheckProblem> problems;
    Walk w(plain, problems);
    NextWord(w);
    if (WordIs(w, "About")) {
        PlainField about = ReadField(w, ReadTextLine, kAboutTextSize);
        if (about.TooLong)
            Report(w, about.Line, "the About line is longer than 400 bytes with its line end");
        NextWord(w);
    }
    do
        CheckSection(w);
    while (WordIs(w, "Chart"));

    bool definitions = WordIs(w, "QuadDefinitions");
    if (!definitions) {
        if (WordIs(w, "About"))
            Report(w, w.Word.Line, "'About' is read only as the first word of the file");
        else
            ReportExpected(w, "'QuadName', 'Chart' or 'QuadDefinitions'");
    } else {
        CheckDefinitions(w);
    }
    CheckGridLayout(w.Grid, definitions, problems);
    if (summary)
        Summarize(w.Grid, *summary);
    std::stable_sort(problems.begin(), problems.end(),
                     [](const CheckProblem &a, const CheckProblem &b) { return a.Line < b.Line; });
    return problems;
}
