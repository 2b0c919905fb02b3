#pragma once
// Files opened for reading: closed when they go out of scope, and opened with
// the messages the program gives for a file that is missing or cannot be read.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

namespace orvo {

struct CloseFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using OwnedFile = std::unique_ptr<std::FILE, CloseFile>;

// Opens the file `path` (a native path) for reading: "ファイルが見つかりません"
// when there is none, "ファイル %s は開けません" when it cannot be opened or is a
// folder. `size`, when given, receives the file's size in bytes.
OwnedFile openForReading(const std::string& path, std::size_t* size = nullptr);

}  // namespace orvo
