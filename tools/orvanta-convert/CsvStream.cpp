// The RFC 4180 record reader.
#include "tools/orvanta-convert/CsvStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "tools/orvanta-convert/LineReader.h"

// The next byte without taking it, or EOF; replayed bytes come first.
int CsvReader::Peek()
{
    if (ReplayPos < Replay.size())
        return static_cast<unsigned char>(Replay[ReplayPos]);
    if (Pos == Size) {
        errno = 0;
        Size = std::fread(Buffer, 1, sizeof Buffer, File);
        Pos = 0;
        if (Size == 0) {
            if (std::ferror(File) && !Error)
                Error = errno ? errno : EIO;
            return EOF;
        }
    }
    return static_cast<unsigned char>(Buffer[Pos]);
}

// The next byte, or EOF.
int CsvReader::Get()
{
    int c = Peek();
    if (c == EOF)
        return c;
    if (ReplayPos < Replay.size()) {
        if (++ReplayPos == Replay.size()) {
            Replay.clear();
            ReplayPos = 0;
        }
    } else {
        ++Pos;
    }
    return c;
}

// Counts the candidates on the first line of the first buffer full.
void CsvReader::DetectDelimiter()
{
    Delimiter = ',';
    if (Peek() == EOF)
        return;
    const char candidates[] = {',', ';', '\t'};
    size_t counts[3] = {0, 0, 0};
    bool quoted = false;
    for (size_t i = Pos; i < Size && Buffer[i] != '\n'; ++i) {
        if (Buffer[i] == '"')
            quoted = !quoted;
        for (int k = 0; k < 3 && !quoted; ++k)
            counts[k] += Buffer[i] == candidates[k];
    }
    int best = 0;
    for (int k = 1; k < 3; ++k)
        if (counts[k] > counts[best])
            best = k;
    Delimiter = candidates[best];
}

// Takes EF BB BF at the very start out of the stream; a partial mark is
// ordinary field text.
void CsvReader::SkipByteOrderMark(CsvRecord &record)
{
    AtStart = false;
    const char mark[] = "\xEF\xBB\xBF";
    std::string taken;
    while (taken.size() < 3 && Peek() == static_cast<unsigned char>(mark[taken.size()]))
        taken += static_cast<char>(Get());
    Mark = taken.size() == 3;
    if (!Mark)
        record.Raw = record.Fields.back() = taken;
}

// Ends a record whose quote stays open at the first line end after the
// quote (lineStart: where the next line begins in Raw); the bytes after it
// are read again as records of their own, from the line after the quote.
void CsvReader::EndAtFirstLineEnd(CsvRecord &record, size_t lineStart)
{
    record.Unterminated = true;
    if (lineStart == std::string::npos) { // the quote's own line is the last
        record.LineEnd.clear();
        return;
    }
    Replay = record.Raw.substr(lineStart) + Replay.substr(ReplayPos);
    ReplayPos = 0;
    size_t end = lineStart - 1;
    if (end > 0 && record.Raw[end - 1] == '\r')
        --end;
    record.LineEnd = record.Raw.substr(end, lineStart - end);
    record.Raw.resize(end);
    Line = record.QuoteLine + 1;
}

// Drops the row read so far and the rest of its line.
void CsvReader::SkipRestOfLine(CsvRecord &record)
{
    record.Overlong = true;
    record.Unterminated = false;
    record.Raw.clear();
    record.Fields.assign(1, std::string());
    int c, last = EOF;
    while ((c = Get()) != EOF && c != '\n')
        last = c;
    record.LineEnd = c != '\n' ? "" : last == '\r' ? "\r\n" : "\n";
    ++Line;
}

// Takes the rest of an unquoted field from the buffer at once, up to the
// next delimiter or line-end byte, as the loop in Next would take it byte
// by byte; it stops short of the row's length bound, which Next reports.
void CsvReader::TakeUnquotedRun(CsvRecord &record)
{
    if (ReplayPos < Replay.size() || record.Raw.size() >= kMaxLineBytes)
        return;
    size_t end = Pos, limit = Pos + std::min(Size - Pos, kMaxLineBytes - record.Raw.size());
    while (end < limit && Buffer[end] != Delimiter && Buffer[end] != '\n' && Buffer[end] != '\r')
        ++end;
    record.Raw.append(Buffer + Pos, end - Pos);
    record.Fields.back().append(Buffer + Pos, end - Pos);
    Pos = end;
}

// Fields end at the delimiter; the record ends at a CR LF or LF outside quotes.
// Inside quotes a doubled quote is one quote and line ends are data; a
// quote in the middle of an unquoted field is kept as it is.
bool CsvReader::Next(CsvRecord &record)
{
    record.Raw.clear();
    record.LineEnd.clear();
    record.Fields.assign(1, std::string());
    record.Unterminated = false;
    record.Overlong = false;
    record.Line = Line;
    record.QuoteLine = 0;
    if (AtStart)
        SkipByteOrderMark(record);
    if (Delimiter == 0)
        DetectDelimiter();
    int c = Get();
    if (c == EOF)
        return !record.Fields.back().empty();
    bool quoted = false, fieldStart = record.Fields.back().empty();
    long quotedLines = 0;
    size_t lineStart = std::string::npos; // in Raw, after the quote's first line end
    for (; c != EOF; c = Get()) {
        char ch = static_cast<char>(c);
        if (quoted) {
            record.Raw += ch;
            if (c == '\n') {
                ++Line;
                if (lineStart == std::string::npos)
                    lineStart = record.Raw.size();
                if (++quotedLines > kMaxQuotedLines) {
                    EndAtFirstLineEnd(record, lineStart);
                    return true;
                }
            }
            if (record.Raw.size() > kMaxLineBytes) {
                if (lineStart == std::string::npos)
                    SkipRestOfLine(record);
                else
                    EndAtFirstLineEnd(record, lineStart);
                return true;
            }
            if (c == '"') {
                if (Peek() == '"') {
                    record.Raw += static_cast<char>(Get());
                    record.Fields.back() += '"';
                } else {
                    quoted = false;
                }
            } else {
                record.Fields.back() += ch;
            }
            continue;
        }
        if (c == '\n' || (c == '\r' && Peek() == '\n')) {
            if (c == '\r')
                Get();
            record.LineEnd = c == '\r' ? "\r\n" : "\n";
            ++Line;
            return true;
        }
        if (record.Raw.size() >= kMaxLineBytes) {
            SkipRestOfLine(record);
            return true;
        }
        record.Raw += ch;
        if (c == Delimiter) {
            record.Fields.emplace_back();
            fieldStart = true;
            continue;
        }
        if (c == '"' && fieldStart) {
            quoted = true;
            record.QuoteLine = Line;
            quotedLines = 0;
            lineStart = std::string::npos;
            fieldStart = false;
            continue;
        }
        fieldStart = false;
        record.Fields.back() += ch;
        TakeUnquotedRun(record);
    }
    if (quoted)
        EndAtFirstLineEnd(record, lineStart);
    return true;
}

// Doubles the quotes inside a quoted field.
void AppendCsvField(std::string &out, const std::string &text, char delimiter)
{
    // One pass over the field for the four bytes that make it quoted.
    bool plain = true;
    for (char c : text)
        if (c == '"' || c == '\r' || c == '\n' || c == delimiter) {
            plain = false;
            break;
        }
    if (plain) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

std::string CsvField(const std::string &text, char delimiter)
{
    std::string field;
    AppendCsvField(field, text, delimiter);
    return field;
}

std::string CsvReader::Failure(const std::string &name) const
{
    if (name == "-" && Error == EBADF)
        return "standard input is closed";
    return "cannot read " + (name == "-" ? std::string("standard input") : "'" + name + "'") + ": " +
           std::strerror(Error ? Error : EIO);
}
