#include "ledger/CsvLine.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "ledger/RecordLine.h"

namespace orvo {

namespace {

constexpr char kQuote = '"';
constexpr char kComma = ',';

// Codes 1 to 32 separate fields; NUL does not.
inline bool isBlank(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 1 && b <= 32;
}

// Double-byte characters need no stepping of their own here: a trail byte is
// 0x40 to 0xFC, so it can never be a comma, a double quote or a code up to 32,
// and a lead byte before anything else stands alone. Scanning byte by byte
// therefore ends fields exactly where stepping over whole characters would.
std::size_t skipBlanks(std::string_view line, std::size_t i) {
    while (i < line.size() && isBlank(line[i])) ++i;
    return i;
}

// Sixteen bytes of a line copied with every comma turned into TAB; true when
// one of them is a code from 1 to 32 or a double quote, which the simple
// reading below cannot handle. A fixed-length loop the compiler vectorises.
inline bool commasToTabs16(const char* from, char* to) {
    unsigned char b[16];
    std::memcpy(b, from, 16);
    unsigned char special = 0;
    for (int k = 0; k < 16; ++k) {
        special |= static_cast<unsigned char>(static_cast<unsigned char>(b[k] - 1) < 32) |
                   static_cast<unsigned char>(b[k] == kQuote);
        b[k] = b[k] == kComma ? kFieldSeparator : b[k];
    }
    std::memcpy(to, b, 16);
    return special != 0;
}

// The offsets of the TABs of `text`, eight bytes at a time.
void collectFieldStarts(std::string_view text, std::vector<std::size_t>& starts) {
    starts.clear();
    starts.push_back(0);
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    std::size_t i = 0;
    for (; std::endian::native == std::endian::little && i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(kFieldSeparator));
        // A high bit for every zero byte of x, that is every TAB (exact: no borrow across bytes).
        std::uint64_t zeros = ~(((x & ~kHighs) + ~kHighs) | x | ~kHighs);
        for (; zeros; zeros &= zeros - 1)
            starts.push_back(i + static_cast<std::size_t>(std::countr_zero(zeros)) / 8 + 1);
    }
    for (; i < text.size(); ++i)
        if (text[i] == kFieldSeparator) starts.push_back(i + 1);
}

}  // namespace

// Most lines have no quotes and no blanks: they are their fields joined by
// commas, and reading them comes down to turning commas into TABs. A comma
// at the end gives the empty last field the rules ask for.
bool CsvFields::assignPlainLine(std::string_view line) {
    const std::size_t n = line.size();
    if (n < 16) return false;  // rare, and the general reading is quick enough for them
    std::string& text = text_;
    text.resize(n);
    bool special = false;
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) special |= commasToTabs16(line.data() + i, text.data() + i);
    // The last block overlaps the one before; it reads the line, not the result.
    if (i < n) special |= commasToTabs16(line.data() + n - 16, text.data() + n - 16);
    if (special) return false;
    collectFieldStarts(text, starts_);
    return true;
}

std::string_view CsvFields::operator[](std::size_t i) const {
    const std::size_t start = starts_[i];
    const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] - 1 : text_.size();
    return std::string_view(text_).substr(start, end - start);
}

void splitCsvLine(std::string_view line, CsvFields& fields) {
    if (fields.assignPlainLine(line)) return;
    std::string withoutCr;
    if (line.find('\r') != std::string_view::npos) {
        for (char c : line)
            if (c != '\r') withoutCr += c;
        line = withoutCr;
    }
    std::string& out = fields.text_;
    out.clear();
    fields.starts_.clear();
    std::size_t i = skipBlanks(line, 0);
    while (i < line.size()) {
        if (!fields.starts_.empty()) out += kFieldSeparator;
        fields.starts_.push_back(out.size());
        if (line[i] == kQuote) {
            ++i;
            while (i < line.size()) {
                const char c = line[i];
                if (c == kQuote) {
                    if (i + 1 < line.size() && line[i + 1] == kQuote) {
                        out += kQuote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += c == kFieldSeparator ? ' ' : c;
                ++i;
            }
        } else {
            const std::size_t start = i;
            while (i < line.size() && line[i] != kComma && !isBlank(line[i])) ++i;
            out.append(line.substr(start, i - start));
        }
        i = skipBlanks(line, i);
        if (i < line.size() && line[i] == kComma) {
            if (i + 1 == line.size()) {
                out += kFieldSeparator;
                fields.starts_.push_back(out.size());
            }
            i = skipBlanks(line, i + 1);
        }
    }
}

namespace {

// A field is quoted when it holds a comma, a double quote or a code up to
// 32 (TAB aside, which separates the record's fields): the reading above would
// cut or drop those. Trail bytes are 0x40 and up, so bytes can be tested alone.
inline bool needsQuotes(unsigned char b) {
    return (b <= 0x20 && b != static_cast<unsigned char>(kFieldSeparator)) || b == kQuote ||
           b == kComma;
}

// Sixteen bytes copied with TAB turned into comma; true when one of them
// belongs in a quoted field. A loop of fixed length the compiler turns into a
// few vector instructions (an export writes every record).
inline bool tabsToCommas16(const char* from, char* to) {
    unsigned char b[16];
    std::memcpy(b, from, 16);
    unsigned char special = 0;
    for (int k = 0; k < 16; ++k) {
        special |= static_cast<unsigned char>(needsQuotes(b[k]));
        b[k] = b[k] == kFieldSeparator ? kComma : b[k];
    }
    std::memcpy(to, b, 16);
    return special != 0;
}

void appendQuotedField(std::string_view field, std::string& out) {
    bool quoted = false;
    for (char c : field) quoted = quoted || needsQuotes(static_cast<unsigned char>(c));
    if (!quoted) {
        out.append(field);
        return;
    }
    out += kQuote;
    for (char c : field) {
        if (c == kQuote) out += kQuote;
        out += c;
    }
    out += kQuote;
}

}  // namespace

bool writePlainCsvFields(std::string_view recordLine, char* to) {
    const char* from = recordLine.data();
    const std::size_t n = recordLine.size();
    if (n >= 16) {
        bool special = false;
        std::size_t i = 0;
        for (; i + 16 <= n; i += 16) special |= tabsToCommas16(from + i, to + i);
        if (i < n)
            special |= tabsToCommas16(from + n - 16, to + n - 16);  // overlaps, reading the source
        return !special;
    }
    bool special = false;
    for (std::size_t i = 0; i < n; ++i) {
        special = special || needsQuotes(static_cast<unsigned char>(from[i]));
        to[i] = from[i] == kFieldSeparator ? kComma : from[i];
    }
    return !special;
}

void appendCsvLine(std::string_view recordLine, std::string& out) {
    const std::size_t from = out.size();
    out.resize(from + recordLine.size());
    if (!writePlainCsvFields(recordLine, out.data() + from)) {
        out.resize(from);
        for (std::size_t start = 0;;) {
            const std::size_t end = recordLine.find(kFieldSeparator, start);
            appendQuotedField(recordLine.substr(start, end - start), out);
            if (end == std::string_view::npos) break;
            out += kComma;
            start = end + 1;
        }
    }
    out += "\r\n";
}

}  // namespace orvo
