#pragma once
// A folder of a test's own for its scratch files: made by mkdtemp under the
// temporary folder, so no other process (another run of the suite beside this
// one, say) can have the same, and removed with everything in it at the end.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace orvo::testing {

class ScratchFolder {
public:
    // `what` names the folder for whoever finds one left over: "orvo-<what>-XXXXXX".
    explicit ScratchFolder(const std::string& what = "test") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / ("orvo-" + what + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp " + pattern);
        path_ = pattern;
    }
    ~ScratchFolder() {
        // A test may have taken the owner's rights away to provoke a failure.
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace orvo::testing
