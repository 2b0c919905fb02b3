#include "base/OrvoError.h"

namespace orvo {

namespace {
std::string quoted(std::string_view text) {
    std::string s = "'";
    s += text;
    s += "'";
    return s;
}
}  // namespace

OrvoError notAnInteger(std::string_view text, std::optional<CellRef> cell) {
    return OrvoError(quoted(text) + " は整数ではありません", cell);
}

OrvoError notADate(std::string_view text) {
    return OrvoError(quoted(text) + " は日付ではありません");
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
