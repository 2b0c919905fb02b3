#pragma once
// The files the program keeps for itself beside its executable: the last-file
// record ("<executable name>.ini") and "Prin.ini". An executable folder that
// cannot be written (an installed program) sends them to the user's
// configuration folder instead; a writable one always keeps them beside it.

#include <QString>
#include <optional>

namespace orvo::platform {

// The folder the program's own files live in, for the executable at `executablePath`.
QString programFilesFolder(const QString& executablePath);

// The executable's path with its extension replaced by ".ini", in that folder.
QString lastFileRecordPathFor(const QString& executablePath);

// "Prin.ini" in that folder.
QString printSettingsPathFor(const QString& executablePath);

// "OrvoDen.ini" in that folder: what the calculator remembers (its tax rate).
QString calculatorSettingsPathFor(const QString& executablePath);

// The first line of the last-file record as a path, or nothing when the record
// does not exist. The line is CP932; a line written as UTF-8 (a path CP932
// cannot hold) is recognised when that names an existing file. Throws
// OrvoError when the record exists but cannot be read.
std::optional<QString> readLastFileRecord(const QString& recordPath);

// Replaces the record with the one line `dataFile` and CR LF (a record that
// holds just that already is left as it is). Written to a
// temporary file first, so a failed write leaves the old record. Throws
// OrvoError ("ファイル %s を作成できません") when it cannot be written.
void writeLastFileRecord(const QString& recordPath, const QString& dataFile);

}  // namespace orvo::platform
