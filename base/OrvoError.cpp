#include "base/OrvoError.h"

namespace orvo {

namespace {
// Characters of a value echoed into a message: a whole file's worth would
// bury the message.
constexpr std::size_t kEchoedCharacters = 200;

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The text between quotes, with control bytes shown ("\0", "\x1B"): a NUL
// would cut the message wherever it is shown, and the others show as nothing.
// (CP932 trail bytes are never below 0x40, so no character is split.) A long
// text is cut after kEchoedCharacters characters, with "…".
std::string quoted(std::string_view text) {
    std::string s = "'";
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (characters++ == kEchoedCharacters) {
            s += "…";
            break;
        }
        const char c = text[i];
        const auto b = static_cast<unsigned char>(c);
        if (isLeadByte(b) && i + 1 < text.size()) {
            s += c;
            s += text[++i];
            continue;
        }
        if (b == 0) {
            s += "\\0";
        } else if (b < 0x20 || b == 0x7F) {
            static const char hex[] = "0123456789ABCDEF";
            s += "\\x";
            s += hex[b >> 4];
            s += hex[b & 0xF];
        } else {
            s += c;
        }
    }
    s += "'";
    return s;
}
}  // namespace

OrvoError notAnInteger(std::string_view text, std::optional<CellRef> cell) {
    return OrvoError(quoted(text) + " は整数ではありません", cell);
}

OrvoError notAnIntegerWithin(std::string_view text, long long low, long long high) {
    return OrvoError(quoted(text) + " は " + std::to_string(low) + " から " + std::to_string(high) +
                     " までの整数ではありません");
}

OrvoError notADate(std::string_view text) {
    return OrvoError(quoted(text) + " は日付ではありません");
}

OrvoError notAFloat(std::string_view text) {
    return OrvoError(quoted(text) + " は浮動小数点数ではありません");
}

OrvoError listIndexOutOfBounds(long long index) {
    return OrvoError("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")");
}

OrvoError cannotOpenFile(std::string_view fileName) {
    return OrvoError("ファイル " + std::string(fileName) + " は開けません");
}

OrvoError cannotCreateFile(std::string_view fileName) {
    return OrvoError("ファイル " + std::string(fileName) + " を作成できません");
}

OrvoError cannotWriteFile(std::string_view fileName) {
    return OrvoError("ファイル " + std::string(fileName) + " に書き込めません");
}

OrvoError fileNotFound(std::string_view fileName) {
    return OrvoError("ファイル " + std::string(fileName) + " が見つかりません");
}

OrvoError notARegularFile(std::string_view fileName) {
    return OrvoError("ファイル " + std::string(fileName) + " は通常のファイルではありません");
}

OrvoError foreignSymlink(std::string_view fileName) {
    return OrvoError("ファイル " + std::string(fileName) +
                     " はほかのユーザーのシンボリックリンクのため、書き込めません");
}

OrvoError lineTooLong(std::string_view fileName) {
    return OrvoError("ファイル " + std::string(fileName) +
                     " には長すぎる行 (16 MB 超) があり、読み込めません");
}

OrvoError lineTooLongToWrite(std::string_view fileName) {
    return OrvoError("ファイル " + std::string(fileName) +
                     " に長すぎる行 (16 MB 超) ができるため、書き込めません");
}

OrvoError tableSizeOutOfRange(long long size) {
    return OrvoError("表の大きさ (" + std::to_string(size) + ") が範囲を超えています");
}

}  // namespace orvo
