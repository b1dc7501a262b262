// RFC 4180 records read one at a time from a stream, so that memory stays
// flat whatever the size of the input; each record keeps its raw bytes so
// that it can be written back untouched.  A record is bounded: a row longer
// than kMaxLineBytes is skipped to its line end, and a quote that is not
// closed within kMaxQuotedLines lines (or the row's bound, or the input)
// ends its row at the line end after it; reading goes on from there.
#ifndef ORVANTA_TOOLS_CSVSTREAM_H
#define ORVANTA_TOOLS_CSVSTREAM_H

#include <cstdio>
#include <string>
#include <vector>

// The most line ends one quoted field may hold.
const long kMaxQuotedLines = 1000;

struct CsvRecord {
    std::string Raw;                  // the record's bytes without its line end
    std::string LineEnd;              // "\r\n", "\n" or "" at the end of the input
    std::vector<std::string> Fields;  // the fields, quotes resolved
    bool Unterminated = false;        // a quoted field was not closed (see QuoteLine)
    bool Overlong = false;            // the row passed kMaxLineBytes; Raw is empty
    long Line = 0;                    // the line on which the record starts
    long QuoteLine = 0;               // the line on which the open quote stands
};

// A buffered reader of records.
class CsvReader {
public:
    explicit CsvReader(std::FILE *file) : File(file) {}

    // Reads the next record; false at the end of the input.  A UTF-8
    // byte-order mark before the first record belongs to no record (see
    // ByteOrderMark).
    bool Next(CsvRecord &record);

    // Whether the stream started with a UTF-8 byte-order mark.
    bool ByteOrderMark() const { return Mark; }

    // Separates fields by this byte instead of the comma; 0 picks ',', ';'
    // or TAB by the first line (the most of them outside quotes; a comma on
    // a tie), as spreadsheets in many locales write semicolons.
    void SetDelimiter(char delimiter) { Delimiter = delimiter; }

    // Whether reading the stream failed, and why, for the input of that
    // name ("-" for standard input), as the line reader says it.
    bool ReadError() const { return std::ferror(File) != 0; }
    std::string Failure(const std::string &name) const;

    // The delimiter in use, once the first record is read.
    char FieldDelimiter() const { return Delimiter; }

private:
    int Get();
    int Peek();
    void DetectDelimiter();
    void SkipByteOrderMark(CsvRecord &record);
    void EndAtFirstLineEnd(CsvRecord &record, size_t lineStart);
    void SkipRestOfLine(CsvRecord &record);
    void TakeUnquotedRun(CsvRecord &record);

    std::FILE *File;
    char Buffer[1 << 16];
    size_t Size = 0, Pos = 0;
    int Error = 0; // errno of the first failed read
    std::string Replay;      // bytes to read again before the file's next ones
    size_t ReplayPos = 0;
    long Line = 1;
    char Delimiter = ',';
    bool AtStart = true;
    bool Mark = false;
};

// A field quoted as RFC 4180 asks when it holds the delimiter, a quote or a
// line end; otherwise as it is.
std::string CsvField(const std::string &text, char delimiter = ',');
void AppendCsvField(std::string &out, const std::string &text, char delimiter);

#endif
