#include "base/SystemReason.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace orvo {

std::string systemReason(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "アクセスが拒否されました";
        case EROFS:
            return "読み取り専用のファイルシステムです";
        case ENOSPC:
            return "ディスクの空きが足りません";
        case EDQUOT:
            return "ディスクの使用量の上限を超えています";
        case ENOENT:
            return "フォルダがありません";
        case ENOTDIR:
            return "途中の名前がフォルダではありません";
        case EISDIR:
            return "同じ名前のフォルダがあります";
        case ENAMETOOLONG:
            return "名前が長すぎます";
        case EIO:
            return "入出力エラーです";
        default:
            break;
    }
    // The system's own words (ASCII in any locale) for the rest.
    const char* description = ::strerrordesc_np(error);
    return "エラー " + std::to_string(error) + (description ? std::string(": ") + description : "");
}

std::string reasonCannotWrite(const std::string& path, int lastError) {
    if (::access(path.c_str(), F_OK) == 0) {
        if (::access(path.c_str(), W_OK) != 0) return systemReason(errno);
    }
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return systemReason(errno);
    if (!S_ISDIR(st.st_mode)) return systemReason(ENOTDIR);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return systemReason(errno);
    return systemReason(lastError != 0 ? lastError : EIO);
}

}  // namespace orvo
