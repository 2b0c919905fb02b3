#include "settings/PhraseFile.h"
#include "base/LineReader.h"
#include "base/ReadFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/OrvoError.h"

namespace orvo {

namespace {

const char kName[] = "定型句.dat";
const char8_t kNativeName[] = u8"定型句.dat";

}  // namespace

std::string phraseFileName() {
    return kName;
}

std::string phraseFilePath(const std::string& folder) {
    const std::string bare(reinterpret_cast<const char*>(kNativeName));
    if (folder.empty()) return bare;
    return (std::filesystem::path(folder) / bare).string();
}

std::vector<std::string> parsePhrases(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\x1A'));
    std::vector<std::string> phrases;
    std::size_t pos = 0;
    for (;;) {
        while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) <= 32) ++pos;
        if (pos == bytes.size()) return phrases;
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::size_t next = end + 1;
        if (end < bytes.size() && bytes[end - 1] == '\r') --end;  // CR LF; a lone CR stays
        phrases.emplace_back(bytes.substr(pos, end - pos));
        pos = std::min(next, bytes.size());
    }
}

void ReadPhraseFile(std::vector<std::string>& into, const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) return;
    OwnedFile file = openForReading(path, kName);
    std::string bytes;
    char buffer[1 << 14];
    std::size_t got = 0;
    std::size_t lineStart = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        const std::string_view piece(buffer, got);
        if (const std::size_t lf = piece.rfind('\n'); lf != std::string_view::npos)
            lineStart = bytes.size() + lf + 1;
        bytes.append(piece);
        if (bytes.size() - lineStart > kLongestLine) throw lineTooLong(kName);
    }
    const bool failed = std::ferror(file.get()) != 0;
    std::vector<std::string> phrases = parsePhrases(bytes);
    // After a fault the last line may be cut short: only whole lines count as read.
    if (failed && !phrases.empty() && !bytes.ends_with('\n')) phrases.pop_back();
    for (std::string& phrase : phrases) into.push_back(std::move(phrase));
    if (failed) throw cannotOpenFile(kName);
}

std::string phraseFileText(const std::vector<std::string>& phrases) {
    std::string text;
    for (const std::string& phrase : phrases) text += phrase + "\r\n";
    return text;
}

void WritePhraseFile(const std::string& path, const std::vector<std::string>& phrases,
                     const WriteFaults& faults) {
    writeFileAtomically(path, phraseFileText(phrases), faults);
}

}  // namespace orvo
