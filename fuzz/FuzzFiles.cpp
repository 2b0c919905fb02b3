#include "FuzzFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace orvo::fuzz {

namespace {

struct Scratch {
    std::string folder;
    Scratch() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvo-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        folder = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

}  // namespace

const std::string& scratchFolder() {
    static const Scratch scratch;
    return scratch.folder;
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !written) std::abort();
}

void removeFile(const std::string& path) {
    std::remove(path.c_str());
}

}  // namespace orvo::fuzz
