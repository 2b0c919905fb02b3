#pragma once
// CSV lines: cutting a CSV file's text into lines, splitting a line into
// fields, and writing a record line as a CSV line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// The fields of one CSV line, held as the record line they make: joined by TAB.
class CsvFields {
public:
    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    std::string_view operator[](std::size_t i) const;
    // The fields joined by TAB.
    std::string_view recordLine() const { return text_; }

private:
    friend void splitCsvLine(std::string_view line, CsvFields& fields);
    std::string text_;
    std::vector<std::size_t> starts_;
};

// Splits one line (without its line end) into `fields`, replacing what they
// held. Codes 1 to 32 around fields are skipped; a field beginning with a
// double quote runs to the next lone double quote, a pair standing for one (an
// unclosed one runs to the end of the line); any other field ends at a comma
// or a code from 1 to 32. A comma that is the line's last character adds an
// empty field. A TAB inside a quoted field becomes a blank, so that the record
// line keeps one field per CSV field.
void splitCsvLine(std::string_view line, CsvFields& fields);

// Cuts a CSV file's text into lines: a line ends at LF (a CR before it is part
// of the line end), a CR not followed by LF is dropped, the byte 0x1A ends the
// file, and the last line needs no line end.
class CsvLineCutter {
public:
    explicit CsvLineCutter(std::string_view text);
    // The next line, valid until the next call; false at the end of the file.
    bool next(std::string_view& line);
    // Bytes of the text consumed so far, and all of them (to 0x1A).
    std::size_t consumed() const { return pos_; }
    std::size_t total() const { return text_.size(); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::string withoutCr_;
};

// The text up to the first 0x1A, which ends a CSV file.
std::string_view csvTextBeforeEnd(std::string_view text);

// Appends the CSV line of a record line: every TAB becomes a comma, nothing is
// quoted, and the line ends with CR LF.
void appendCsvLine(std::string_view recordLine, std::string& out);

}  // namespace orvo
