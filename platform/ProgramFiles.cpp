#include "platform/ProgramFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "base/AtomicFile.h"
#include "base/OrvoError.h"
#include "base/ReadFile.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::platform {

namespace {

std::string nameForMessage(const QString& path) {
    return toCp932(path).bytes;
}

}  // namespace

QString programFilesFolder(const QString& executablePath) {
    const QString folder = QFileInfo(executablePath).absolutePath();
    if (QFileInfo(folder).isWritable()) return folder;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return config;
}

QString lastFileRecordPathFor(const QString& executablePath) {
    return programFilesFolder(executablePath) + u'/' +
           QFileInfo(executablePath).completeBaseName() + u".ini"_s;
}

QString printSettingsPathFor(const QString& executablePath) {
    return programFilesFolder(executablePath) + u"/Prin.ini"_s;
}

QString calculatorSettingsPathFor(const QString& executablePath) {
    return programFilesFolder(executablePath) + u"/OrvoDen.ini"_s;
}

std::optional<QString> readLastFileRecord(const QString& recordPath) {
    if (!QFileInfo::exists(recordPath)) return std::nullopt;
    const std::vector<std::string> lines =
        readTextLines(toNativePath(recordPath), nameForMessage(recordPath));
    const std::string_view bytes = lines.empty() ? std::string_view() : lines.front();
    const QString asCp932 = fromCp932(bytes);
    const QString asNative = fromNativePath(bytes);
    if (asNative != asCp932 && !QFileInfo::exists(asCp932) && QFileInfo::exists(asNative))
        return asNative;
    return asCp932;
}

void writeLastFileRecord(const QString& recordPath, const QString& dataFile) {
    const Cp932Result encoded = toCp932(dataFile);
    // A path CP932 cannot hold is kept whole in UTF-8 rather than mangled.
    std::string line = encoded.ok() ? encoded.bytes : toNativePath(dataFile);
    line += "\r\n";
    // Reopening the ledger the record names, as every start does, leaves the
    // record alone: writing the same bytes again would only make the start
    // wait for the disk.
    QFile current(recordPath);
    if (current.size() == static_cast<qint64>(line.size()) && current.open(QIODevice::ReadOnly) &&
        current.readAll() == QByteArrayView(line.data(), static_cast<qsizetype>(line.size())))
        return;
    writeFileAtomically(toNativePath(recordPath), line);
}

}  // namespace orvo::platform
