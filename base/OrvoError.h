#pragma once
// The one error type of the core. Its text is the message the central error
// display shows (without the closing full stop), in CP932 like all core text.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvo {

// A grid cell an error points at, so the window can put the cursor on it.
struct CellRef {
    int column = 0;
    int row = 0;
    bool operator==(const CellRef&) const = default;
};

class OrvoError : public std::runtime_error {
public:
    explicit OrvoError(std::string message, std::optional<CellRef> cell = std::nullopt)
        : std::runtime_error(std::move(message)), cell_(cell) {}
    const std::optional<CellRef>& cell() const { return cell_; }

private:
    std::optional<CellRef> cell_;
};

// The runtime's message texts; each takes its argument in CP932.
OrvoError notAnInteger(std::string_view text, std::optional<CellRef> cell = std::nullopt);
// A number outside the range a setting takes: "'%s' は LOW から HIGH までの整数ではありません".
OrvoError notAnIntegerWithin(std::string_view text, long long low, long long high);
OrvoError notADate(std::string_view text);
OrvoError notAFloat(std::string_view text);
OrvoError listIndexOutOfBounds(long long index);
OrvoError cannotOpenFile(std::string_view fileName);
OrvoError cannotCreateFile(std::string_view fileName);
OrvoError cannotWriteFile(std::string_view fileName);
OrvoError fileNotFound(std::string_view fileName);
// A file that is a folder, device, FIFO or socket where a file is read or written.
OrvoError notARegularFile(std::string_view fileName);
// A symbolic link the program will not save through: another user's, in a
// folder where anyone may put one (see base/WriteTarget.h).
OrvoError foreignSymlink(std::string_view fileName);
// A line longer than kLongestLine, read or about to be written.
OrvoError lineTooLong(std::string_view fileName);
OrvoError lineTooLongToWrite(std::string_view fileName);
// A data file's row or column count the table cannot take.
OrvoError tableSizeOutOfRange(long long size);

}  // namespace orvo
