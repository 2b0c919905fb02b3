#pragma once
// CSV lines: splitting a line into fields, and writing a record line as a
// CSV line.

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
    // Reads a line without quotes and codes 1 to 32, the common case, fast;
    // false for any other line.
    bool assignPlainLine(std::string_view line);

    std::string text_;
    std::vector<std::size_t> starts_;
};

// Splits one line (without its line end) into `fields`, replacing what they
// held. A CR in it is dropped first, as the reading of lines drops a CR not
// followed by LF. Codes 1 to 32 around fields are skipped; a field beginning with a
// double quote runs to the next lone double quote, a pair standing for one (an
// unclosed one runs to the end of the line); any other field ends at a comma
// or a code from 1 to 32. A comma that is the line's last character adds an
// empty field. A TAB inside a quoted field becomes a blank, so that the record
// line keeps one field per CSV field.
void splitCsvLine(std::string_view line, CsvFields& fields);

// Appends the CSV line of a record line: every TAB becomes a comma, a field
// holding a comma, a double quote or a code up to 32 is quoted (its quotes
// doubled), and the line ends with CR LF. splitCsvLine gives the record line back.
void appendCsvLine(std::string_view recordLine, std::string& out);

// The CSV line without the line end written to `to`, which has room for the
// record line's size, when no field needs quotes; false (and `to` holds
// nothing of use) when one does: appendCsvLine then writes it.
bool writePlainCsvFields(std::string_view recordLine, char* to);

}  // namespace orvo
