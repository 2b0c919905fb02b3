#include "base/WriteTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "base/Cp932.h"
#include "base/OrvoError.h"

namespace orvo {

namespace {

// As many links as the system follows in one name.
constexpr int kMostLinks = 40;

bool mayFollow(const std::filesystem::path& link, const struct stat& linkInfo) {
    if (linkInfo.st_uid == ::geteuid()) return true;
    std::filesystem::path folder = link.parent_path();
    if (folder.empty()) folder = ".";
    struct stat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) != 0) return false;
    const bool shared = (folderInfo.st_mode & S_ISVTX) && (folderInfo.st_mode & S_IWOTH);
    return !shared || folderInfo.st_uid == linkInfo.st_uid;
}

}  // namespace

std::string writeTargetOf(const std::string& path) {
    const auto shown = [&path] { return cp932::fromUtf8(path).bytes; };
    std::filesystem::path p(path);
    for (int hops = 0;; ++hops) {
        struct stat info {};
        if (::lstat(p.c_str(), &info) != 0) return p.string();  // a new file
        if (S_ISREG(info.st_mode)) return p.string();
        if (!S_ISLNK(info.st_mode) || hops == kMostLinks) throw notARegularFile(shown());
        if (!mayFollow(p, info)) throw foreignSymlink(shown());
        std::error_code ec;
        const std::filesystem::path target = std::filesystem::read_symlink(p, ec);
        if (ec) throw cannotCreateFile(shown());
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
}

}  // namespace orvo
