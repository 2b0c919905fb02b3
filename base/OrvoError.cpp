#include "base/OrvoError.h"

namespace orvo {

namespace {
// The text between quotes, with control bytes shown ("\0", "\x1B"): a NUL
// would cut the message wherever it is shown, and the others show as nothing.
// (CP932 trail bytes are never below 0x40, so no character is split.)
std::string quoted(std::string_view text) {
    std::string s = "'";
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
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

OrvoError fileNotFound() {
    return OrvoError("ファイルが見つかりません");
}

OrvoError tableSizeOutOfRange(long long size) {
    return OrvoError("表の大きさ (" + std::to_string(size) + ") が範囲を超えています");
}

}  // namespace orvo
