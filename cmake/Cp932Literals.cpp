// A build-time host tool for compilers without GCC's -fexec-charset=CP932:
//
//     orvo-cp932-literals SOURCE.cpp COPY.cpp [NAME]
//
// writes a copy of SOURCE (UTF-8) in which every non-ASCII character inside a
// narrow string or character literal is spelled as its CP932 bytes in octal
// escapes ("\203\140"): three digits each, so no digit after it can join the
// escape. Comments, prefixed (u8, u, U, L) literals and code are copied as
// they are. The copy starts with a #line naming the source as NAME (default
// SOURCE), so diagnostics, __FILE__ and the test frameworks' messages point at
// it; the build gives a path relative to the build folder, so that the copy does
// not depend on where the tree lies (ccache serves another clone). A character
// CP932 lacks, or a \u escape in a narrow literal, stops the build as GCC
// would.
//
//     orvo-cp932-literals --refuse-non-ascii HEADER...
//
// checks instead that no narrow literal in the headers holds a non-ASCII
// character: a core header is compiled with CP932 literals in the core and
// with UTF-8 ones in the window layer, so such a literal would mean two things.

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

class Cp932Encoder {
public:
    Cp932Encoder() : cd_(iconv_open("CP932", "UTF-8")) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert UTF-8 to CP932");
    }
    ~Cp932Encoder() { iconv_close(cd_); }
    Cp932Encoder(const Cp932Encoder&) = delete;
    Cp932Encoder& operator=(const Cp932Encoder&) = delete;

    // The CP932 bytes of `utf8`; throws when a character has none.
    std::string encode(std::string_view utf8) const {
        std::string out(utf8.size() * 2 + 4, '\0');
        char* in = const_cast<char*>(utf8.data());
        std::size_t inLeft = utf8.size();
        char* to = out.data();
        std::size_t toLeft = out.size();
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &in, &inLeft, &to, &toLeft) == static_cast<std::size_t>(-1))
            throw std::runtime_error("no CP932 code for \"" + std::string(utf8) + "\"");
        out.resize(out.size() - toLeft);
        return out;
    }

private:
    iconv_t cd_;
};

std::string octalEscapes(std::string_view bytes) {
    std::string out;
    for (unsigned char b : bytes) {
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\%03o", b);
        out += escape;
    }
    return out;
}

bool isIdentifierStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isNonAscii(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

enum class NonAscii { Encode, Refuse };

class Rewriter {
public:
    Rewriter(std::string_view text, const Cp932Encoder& encoder,
             NonAscii nonAscii = NonAscii::Encode)
        : s_(text), encoder_(encoder), nonAscii_(nonAscii) {}

    std::string run() {
        while (i_ < s_.size()) {
            const char c = s_[i_];
            if (s_.substr(i_, 2) == "//") {
                copyUntil("\n", false);
            } else if (s_.substr(i_, 2) == "/*") {
                copyUntil("*/", true);
            } else if (isIdentifierStart(c)) {
                const std::size_t start = i_;
                while (i_ < s_.size() && (isIdentifierStart(s_[i_]) || isDigit(s_[i_]))) ++i_;
                const std::string_view word = s_.substr(start, i_ - start);
                out_ += word;
                if (i_ < s_.size() && (s_[i_] == '"' || s_[i_] == '\'') && isPrefix(word))
                    literal(word);
            } else if (isDigit(c) || (c == '.' && i_ + 1 < s_.size() && isDigit(s_[i_ + 1]))) {
                number();
            } else if (c == '"' || c == '\'') {
                literal({});
            } else {
                out_ += c;
                ++i_;
            }
        }
        return std::move(out_);
    }

private:
    static bool isPrefix(std::string_view w) {
        return w == "u8" || w == "u" || w == "U" || w == "L" || w == "R" || w == "u8R" ||
               w == "uR" || w == "UR" || w == "LR";
    }

    int line() const {
        int n = 1;
        for (std::size_t k = 0; k < i_ && k < s_.size(); ++k) n += s_[k] == '\n';
        return n;
    }
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error("line " + std::to_string(line()) + ": " + what);
    }

    void copyUntil(std::string_view end, bool includeEnd) {
        const std::size_t at = s_.find(end, i_ + 2);
        const std::size_t stop =
            at == std::string_view::npos ? s_.size() : at + (includeEnd ? end.size() : 0);
        out_ += s_.substr(i_, stop - i_);
        i_ = stop;
    }

    // A preprocessing number, digit separators (1'000) included.
    void number() {
        while (i_ < s_.size()) {
            const char c = s_[i_];
            if ((c == 'e' || c == 'E' || c == 'p' || c == 'P') && i_ + 1 < s_.size() &&
                (s_[i_ + 1] == '+' || s_[i_ + 1] == '-')) {
                out_ += s_.substr(i_, 2);
                i_ += 2;
            } else if (isIdentifierStart(c) || isDigit(c) || c == '.' ||
                       (c == '\'' && i_ + 1 < s_.size() &&
                        (isIdentifierStart(s_[i_ + 1]) || isDigit(s_[i_ + 1])))) {
                out_ += c;
                ++i_;
            } else {
                break;
            }
        }
    }

    // The CP932 bytes of the run of non-ASCII bytes at i_ (whole UTF-8 characters), consumed.
    std::string encodeNonAsciiRun() {
        if (nonAscii_ == NonAscii::Refuse) fail("a non-ASCII character in a narrow literal");
        const std::size_t start = i_;
        while (i_ < s_.size() && isNonAscii(s_[i_])) ++i_;
        return encoder_.encode(s_.substr(start, i_ - start));
    }

    void literal(std::string_view prefix) {
        const char quote = s_[i_];
        const bool narrow = prefix.empty() || prefix == "R";
        if (quote == '"' && !prefix.empty() && prefix.back() == 'R') return rawLiteral(narrow);
        out_ += quote;
        ++i_;
        while (i_ < s_.size()) {
            const char c = s_[i_];
            if (c == '\\' && i_ + 1 < s_.size()) {
                if (narrow && (s_[i_ + 1] == 'u' || s_[i_ + 1] == 'U'))
                    fail("a \\u escape in a narrow literal: write the character itself");
                out_ += s_.substr(i_, 2);
                i_ += 2;
            } else if (c == quote) {
                out_ += c;
                ++i_;
                return;
            } else if (c == '\n') {
                fail("a literal without its closing quote");
            } else if (isNonAscii(c) && narrow) {
                out_ += octalEscapes(encodeNonAsciiRun());
            } else {
                out_ += c;
                ++i_;
            }
        }
        fail("a literal without its closing quote");
    }

    // R"d(...)d": escapes mean nothing inside, so a non-ASCII run closes the
    // raw literal and continues as an ordinary literal joined to the next part.
    void rawLiteral(bool narrow) {
        const std::size_t open = s_.find('(', i_);
        if (open == std::string_view::npos) fail("a raw literal without its opening parenthesis");
        const std::string delimiter(s_.substr(i_ + 1, open - i_ - 1));
        const std::string close = ")" + delimiter + "\"";
        const std::size_t end = s_.find(close, open);
        if (end == std::string_view::npos) fail("a raw literal without its end");
        out_ += s_.substr(i_, open + 1 - i_);
        i_ = open + 1;
        while (i_ < end) {
            if (narrow && isNonAscii(s_[i_])) {
                const std::string bytes = encodeNonAsciiRun();
                out_ += close + " \"" + octalEscapes(bytes) + "\" R\"" + delimiter + "(";
            } else {
                out_ += s_[i_++];
            }
        }
        out_ += close;
        i_ = end + close.size();
    }

    std::string_view s_;
    const Cp932Encoder& encoder_;
    NonAscii nonAscii_;
    std::size_t i_ = 0;
    std::string out_;
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot be read");
    return {std::istreambuf_iterator<char>(in), {}};
}

int refuseNonAscii(int count, char** headers) {
    const Cp932Encoder encoder;
    int failed = 0;
    for (int k = 0; k < count; ++k) {
        try {
            Rewriter(readAll(headers[k]), encoder, NonAscii::Refuse).run();
        } catch (const std::exception& e) {
            std::cerr << headers[k] << ": " << e.what() << '\n';
            failed = 1;
        }
    }
    return failed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string_view(argv[1]) == "--refuse-non-ascii")
        return refuseNonAscii(argc - 2, argv + 2);
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: orvo-cp932-literals SOURCE.cpp COPY.cpp [NAME]\n"
                     "       orvo-cp932-literals --refuse-non-ascii HEADER...\n";
        return 2;
    }
    const std::string source = argv[1];
    try {
        const std::string text = readAll(source);
        const Cp932Encoder encoder;
        std::string copy = "#line 1 \"" + std::string(argc == 4 ? argv[3] : argv[1]) + "\"\n";
        copy += Rewriter(text, encoder).run();
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out << copy;
        out.close();
        if (!out) throw std::runtime_error(std::string("cannot write ") + argv[2]);
    } catch (const std::exception& e) {
        std::cerr << source << ": " << e.what() << '\n';
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
