// The RFC 4180 record reader.
#include "tools/orvanta-convert/CsvStream.h"

// The next byte, or EOF.
int CsvReader::Get()
{
    if (Pos == Size) {
        Size = std::fread(Buffer, 1, sizeof Buffer, File);
        Pos = 0;
        if (Size == 0)
            return EOF;
    }
    return static_cast<unsigned char>(Buffer[Pos++]);
}

// The next byte without taking it, or EOF.
int CsvReader::Peek()
{
    int c = Get();
    if (c != EOF)
        --Pos;
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

// Fields end at the delimiter; the record ends at a CR LF or LF outside quotes.
// Inside quotes a doubled quote is one quote and line ends are data; a
// quote in the middle of an unquoted field is kept as it is.
bool CsvReader::Next(CsvRecord &record)
{
    record.Raw.clear();
    record.LineEnd.clear();
    record.Fields.assign(1, std::string());
    record.Unterminated = false;
    record.Line = Line;
    if (Delimiter == 0)
        DetectDelimiter();
    int c = Get();
    if (c == EOF)
        return false;
    bool quoted = false, fieldStart = true;
    for (; c != EOF; c = Get()) {
        char ch = static_cast<char>(c);
        if (quoted) {
            record.Raw += ch;
            if (c == '\n')
                ++Line;
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
        record.Raw += ch;
        if (c == Delimiter) {
            record.Fields.emplace_back();
            fieldStart = true;
            continue;
        }
        if (c == '"' && fieldStart) {
            quoted = true;
            fieldStart = false;
            continue;
        }
        fieldStart = false;
        record.Fields.back() += ch;
    }
    record.Unterminated = quoted;
    return true;
}

// Doubles the quotes inside a quoted field.
std::string CsvField(const std::string &text, char delimiter)
{
    if (text.find_first_of("\"\r\n") == std::string::npos && text.find(delimiter) == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}
