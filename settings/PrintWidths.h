#pragma once
// The print settings file "Prin.ini": the print width of grid columns 1, 2, ...
// in 0.1 mm, one per line, each line (the last included) ended by CR LF, as the
// texts the settings window's list holds. It lives where the last-file record
// lives; callers pass its native path (UTF-8 bytes).

#include <string>
#include <vector>

#include "base/AtomicFile.h"

namespace orvo {

// "Prin.ini", the bare name (ASCII, so the same as CP932 text and native path).
std::string printWidthsFileName();

// n - 1 rows, each 1400 div n, for a grid of n columns (date column included).
std::vector<std::string> DefaultPrintWidths(int columnCount);

// The file's lines (CR LF, CR or LF end a line; a last line without one counts),
// then default rows for the columns it has no line for, so that every column
// has a row to edit. No file: the default rows. A file that exists but cannot
// be read throws "ファイル %s は開けません"; the window then keeps the defaults.
std::vector<std::string> ReadPrintWidths(const std::string& path, int columnCount);

// The file's bytes for `rows`.
std::string printWidthsFileText(const std::vector<std::string>& rows);

// Replaces the file whole or not at all (temporary file, rename). Throws the
// safe writer's errors; `faults` are for tests.
void WritePrintWidths(const std::string& path, const std::vector<std::string>& rows,
                      const WriteFaults& faults = {});

}  // namespace orvo
