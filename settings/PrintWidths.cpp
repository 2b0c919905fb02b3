#include "settings/PrintWidths.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/Cp932.h"
#include "base/LineReader.h"
#include "base/OrvoError.h"
#include "base/ReadFile.h"

namespace orvo {

namespace {

std::string nameForMessage(const std::string& path) {
    return cp932::fromUtf8(path).bytes;
}

}  // namespace

std::string printWidthsFileName() {
    return "Prin.ini";
}

std::vector<std::string> DefaultPrintWidths(int columnCount) {
    if (columnCount < 1) return {};
    return std::vector<std::string>(static_cast<std::size_t>(columnCount - 1),
                                    std::to_string(1400 / columnCount));
}

std::vector<std::string> ReadPrintWidths(const std::string& path, int columnCount) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return DefaultPrintWidths(columnCount);
    std::vector<std::string> rows = readTextLines(path, nameForMessage(path));
    const std::vector<std::string> defaults = DefaultPrintWidths(columnCount);
    for (std::size_t i = rows.size(); i < defaults.size(); ++i) rows.push_back(defaults[i]);
    return rows;
}

std::string printWidthsFileText(const std::vector<std::string>& rows) {
    std::string text;
    for (const std::string& row : rows) text += row + "\r\n";
    return text;
}

void WritePrintWidths(const std::string& path, const std::vector<std::string>& rows,
                      const WriteFaults& faults) {
    writeFileAtomically(path, printWidthsFileText(rows), faults);
}

}  // namespace orvo
