#pragma once
// A file opened as a ledger that is plainly something else is refused before anything is read, so
// the next save cannot replace someone's text with an empty ledger.

#include <string>

#include "base/OrvoError.h"

namespace orvo {

// "ファイル %s は家計簿のデータではありません": the front ends show it as a warning.
class NotALedgerFile : public OrvoError {
public:
    using OrvoError::OrvoError;
};

// Throws NotALedgerFile when `path` (a native path) is a non-empty file whose
// first character is not a digit from "1" to "9", as a ledger's is. A missing,
// unreadable or empty file passes: the load gives those their own outcome.
void requireLedgerFile(const std::string& path);

}  // namespace orvo
