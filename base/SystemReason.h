#pragma once
// Why the system refused a file operation, in words for the user (CP932).

#include <string>

namespace orvo {

// The reason an errno value stands for ("アクセスが拒否されました", ...).
std::string systemReason(int error);

// Why `path` cannot be written now, as far as asking the system tells
// (permissions, a read-only file system, a missing folder); `lastError`
// (errno right after the failure) when the path itself looks writable.
std::string reasonCannotWrite(const std::string& path, int lastError);

}  // namespace orvo
