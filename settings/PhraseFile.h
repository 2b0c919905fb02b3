#pragma once
// The fixed-phrase file "定型句.dat": CP932 text, one phrase per line, no header.
// Reading: before each phrase every byte of code 32 or less is skipped (blank
// lines, leading blanks and TABs vanish); the phrase is the rest of the line,
// trailing blanks included, up to CR LF or a lone LF; Ctrl-Z (0x1A) ends the
// file. Writing: the phrases in list order, each followed by CR LF.

#include <string>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"

namespace orvo {

// "定型句.dat" as CP932 text (for messages) and as native path in `folder`
// (empty: the current directory). The program fixes the folder at start-up.
std::string phraseFileName();
std::string phraseFilePath(const std::string& folder);

// The phrases a file's bytes hold, in file order, duplicates included.
std::vector<std::string> parsePhrases(std::string_view bytes);

// Appends the file's phrases to `into`. No file: nothing. A file that cannot
// be read throws "ファイル %s は開けません", with the phrases read before the
// fault appended.
void ReadPhraseFile(std::vector<std::string>& into, const std::string& path);

std::string phraseFileText(const std::vector<std::string>& phrases);

// Replaces or creates the file whole (temporary file, rename); throws the safe
// writer's errors. `faults` are for tests.
void WritePhraseFile(const std::string& path, const std::vector<std::string>& phrases,
                     const WriteFaults& faults = {});

}  // namespace orvo
