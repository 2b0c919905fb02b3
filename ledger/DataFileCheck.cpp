#include "ledger/DataFileCheck.h"

#include <cstdio>

#include "base/Cp932.h"

namespace orvo {

void requireLedgerFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return;
    // A ledger is recognised by its first character, the window width's
    // first digit.
    char first = 0;
    const std::size_t n = std::fread(&first, 1, 1, file);
    std::fclose(file);
    if (n == 0 || (first >= '1' && first <= '9')) return;
    throw NotALedgerFile("ファイル " + cp932::fromUtf8(path).bytes +
                         " は家計簿のデータではありません");
}

}  // namespace orvo
