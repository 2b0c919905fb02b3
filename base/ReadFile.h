#pragma once
// Files opened for reading: closed when they go out of scope, and opened with
// the messages the program gives for a file that is missing or cannot be read.
// Opened without waiting: a FIFO or device put where a file is expected would
// otherwise block the open, or feed the reading without end.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace orvo {

struct CloseFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using OwnedFile = std::unique_ptr<std::FILE, CloseFile>;

// Whether a FIFO is read as the file (a ledger piped to the command line).
enum class PipeUse { Refused, Allowed };

// Opens the file `path` (a native path) for reading: "ファイル %s が見つかりません"
// when there is none, "ファイル %s は通常のファイルではありません" for a device,
// socket or (unless allowed) FIFO, "ファイル %s は開けません" when it cannot be
// opened or is a folder. `size`, when given, receives the file's size in bytes.
OwnedFile openForReading(const std::string& path, std::size_t* size = nullptr,
                         PipeUse pipes = PipeUse::Refused);
// The same, naming the file `shownName` (CP932) in the messages.
OwnedFile openForReading(const std::string& path, const std::string& shownName,
                         std::size_t* size = nullptr, PipeUse pipes = PipeUse::Refused);

// Every line of the text file `path` as LineReader reads them; the messages
// above, naming it `shownName`, and "ファイル %s には長すぎる行 (16 MB 超)
// があり、読み込めません" for a line longer than kLongestLine.
std::vector<std::string> readTextLines(const std::string& path, const std::string& shownName);

}  // namespace orvo
