#pragma once
// The readers that take a path get the fuzz input as a file in a scratch
// folder of this process, removed when the process ends.

#include <string>
#include <string_view>

namespace orvo::fuzz {

// The scratch folder (created on first use).
const std::string& scratchFolder();

// Writes `bytes` to `path` whole, or aborts: a fuzz run that cannot write its
// input tests nothing.
void writeFile(const std::string& path, std::string_view bytes);

// Removes `path` if it exists.
void removeFile(const std::string& path);

}  // namespace orvo::fuzz
