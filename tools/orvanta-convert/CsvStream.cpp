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

// Fields end at commas; the record ends at a CR LF or LF outside quotes.
// Inside quotes a doubled quote is one quote and line ends are data; a
// quote in the middle of an unquoted field is kept as it is.
bool CsvReader::Next(CsvRecord &record)
{
    record.Raw.clear();
    record.LineEnd.clear();
    record.Fields.assign(1, std::string());
    record.Unterminated = false;
    record.Line = Line;
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
        if (c == ',') {
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
std::string CsvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}
