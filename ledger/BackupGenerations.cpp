#include "ledger/BackupGenerations.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <system_error>
#include <utility>

#include "base/Amount.h"
#include "base/AtomicFile.h"
#include "base/Cp932.h"
#include "base/ReadFile.h"
#include "ledger/DataFileCheck.h"

namespace orvo {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kDailyCopiesKept = 7;
constexpr int kMonthsKept = 12;
constexpr std::size_t kCopyPieceSize = 1 << 20;

// "yyyy-mm-dd": a date in a file name, where "/" cannot stand.
std::string dayInName(const LedgerDate& day) {
    std::string text = day.format();
    std::replace(text.begin(), text.end(), '/', '-');
    return text;
}

std::optional<LedgerDate> dayFromName(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    std::string slashed(text);
    slashed[4] = slashed[7] = '/';
    if (!LedgerDate::isCanonical(slashed)) return std::nullopt;
    return LedgerDate::parse(slashed);
}

int monthIndex(const LedgerDate& day) {
    return day.year * 12 + day.month - 1;
}

// The folder may hold the file's data only for those who may read the file:
// each class of users that may read it may enter, no one else.
mode_t folderModeFor(mode_t file) {
    mode_t folder = S_IRWXU;
    if (file & S_IRGRP) folder |= S_IRGRP | S_IXGRP | (file & S_IWGRP);
    if (file & S_IROTH) folder |= S_IROTH | S_IXOTH | (file & S_IWOTH);
    return folder;
}

// Writes the bytes of `from` to `to` through the safe writer.
void copyFile(const std::string& from, const std::string& to) {
    OwnedFile in = openForReading(from);
    AtomicFileWriter out(to);
    std::string piece(kCopyPieceSize, '\0');
    for (;;) {
        const std::size_t n = std::fread(piece.data(), 1, piece.size(), in.get());
        if (n > 0) out.write(std::string_view(piece.data(), n));
        if (n < piece.size()) break;
    }
    if (std::ferror(in.get())) throw cannotCreateFile("");
    out.commit();
}

}  // namespace

std::string backupFolderOf(const std::string& dataFile) {
    return saveTargetOf(dataFile) + ".backups";
}

std::string backupCopyOf(const std::string& dataFile, const LedgerDate& day) {
    const fs::path target(saveTargetOf(dataFile));
    const std::string name =
        target.stem().string() + "." + dayInName(day) + target.extension().string();
    return (fs::path(backupFolderOf(dataFile)) / name).string();
}

std::vector<BackupCopy> backupCopiesOf(const std::string& dataFile) {
    const fs::path target(saveTargetOf(dataFile));
    const std::string stem = target.stem().string() + ".";
    const std::string extension = target.extension().string();
    std::vector<BackupCopy> copies;
    std::error_code ec;
    for (fs::directory_iterator it(backupFolderOf(dataFile), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != stem.size() + 10 + extension.size() || !name.starts_with(stem) ||
            !name.ends_with(extension))
            continue;
        const std::optional<LedgerDate> day =
            dayFromName(std::string_view(name).substr(stem.size(), 10));
        std::error_code statError;
        if (!day || !it->is_regular_file(statError)) continue;
        copies.push_back({*day, it->path().string(), it->file_size(statError)});
    }
    std::sort(copies.begin(), copies.end(),
              [](const BackupCopy& a, const BackupCopy& b) { return a.day > b.day; });
    return copies;
}

std::vector<LedgerDate> backupDaysToKeep(std::vector<LedgerDate> days, const LedgerDate& today) {
    std::sort(days.begin(), days.end(), std::greater<>());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    std::vector<LedgerDate> keep(days.begin(),
                                 days.begin() + std::min(days.size(), kDailyCopiesKept));
    std::map<int, LedgerDate> oldestOfMonth;
    for (const LedgerDate& day : days) {
        const int month = monthIndex(day);
        if (month <= monthIndex(today) && month > monthIndex(today) - kMonthsKept)
            oldestOfMonth.insert_or_assign(month, day);  // newest first: the last one stays
    }
    for (const auto& [month, day] : oldestOfMonth)
        if (std::find(keep.begin(), keep.end(), day) == keep.end()) keep.push_back(day);
    std::sort(keep.begin(), keep.end(), std::greater<>());
    return keep;
}

std::optional<std::size_t> recordCountOf(const std::string& path) {
    try {
        CheckedDataFile file(path);
        LedgerFileBytes* in = file.bytes();
        if (!in) return std::nullopt;
        if (in->atEnd()) return 0;
        // The header: window size, table size, a line per row and column, the titles.
        std::optional<std::int32_t> number[4];
        for (auto& n : number) n = parseAmount(in->nextLine());
        for (const auto& n : number)
            if (!n) return std::nullopt;
        if (*number[2] < 2 || *number[3] < 2) return std::nullopt;  // no table
        for (std::int64_t i = 0; i < std::int64_t{*number[2]} + *number[3] + 1; ++i) {
            if (in->atEnd()) return std::nullopt;
            in->nextLine();
        }
        std::size_t records = 0;
        for (;;) {
            in->skipControlsAndBlanks();
            if (in->atEnd()) return records;
            in->nextLine();
            ++records;
        }
    } catch (...) {
        // Not a ledger, or a line too long to be one.
        return std::nullopt;
    }
}

LedgerDate localToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

void BackupGenerations::keepBefore(const std::string& dataFile) {
    failure_.reset();
    const LedgerDate today = clock_();
    const std::string copy = backupCopyOf(dataFile, today);
    std::error_code ec;
    const fs::path target(saveTargetOf(dataFile));
    if (!fs::is_regular_file(target, ec) || fs::exists(copy, ec)) return;
    try {
        struct stat source {};
        if (::stat(target.c_str(), &source) != 0) throw cannotCreateFile(copy);
        ::mkdir(backupFolderOf(dataFile).c_str(), folderModeFor(source.st_mode));
        copyFile(target.string(), copy);
        // Readable by those who may read the file, no one else.
        ::chmod(copy.c_str(), source.st_mode & 0666);
    } catch (...) {
        failure_ = cannotCreateFile(cp932::fromUtf8(copy).bytes);
        return;
    }
    std::vector<LedgerDate> days;
    const std::vector<BackupCopy> copies = backupCopiesOf(dataFile);
    for (const BackupCopy& c : copies) days.push_back(c.day);
    const std::vector<LedgerDate> keep = backupDaysToKeep(days, today);
    for (const BackupCopy& c : copies)
        if (std::find(keep.begin(), keep.end(), c.day) == keep.end()) fs::remove(c.path, ec);
}

std::optional<OrvoError> BackupGenerations::takeFailure() {
    std::optional<OrvoError> failure = std::exchange(failure_, std::nullopt);
    if (!failure) return std::nullopt;
    if (failure->what() == reported_) return std::nullopt;
    reported_ = failure->what();
    return failure;
}

}  // namespace orvo
