#pragma once
// What tells that a file was changed by someone else since the program read or
// wrote it: its size and modification time.

#include <cstdint>
#include <string>

namespace orvo {

struct FileStamp {
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;

    static FileStamp of(const std::string& path);
};

}  // namespace orvo
