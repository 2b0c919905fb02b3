#pragma once
// What the window benchmarks start from: a scratch folder made current, a
// generated ledger of `records` records in it, and the last-file record
// naming it, so that a main window created with that record opens it.

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>

#include "base/AtomicFile.h"
#include "bench/LedgerGenerator.h"
#include "platform/ProgramFiles.h"

namespace orvo::bench {

// Returns the last-file record's path.
inline QString writeGeneratedLedgerFolder(const QTemporaryDir& dir, std::size_t records) {
    QDir::setCurrent(dir.path());
    GeneratorOptions options;
    options.records = records;
    const QString ledger = dir.filePath(QStringLiteral("ledger.dat"));
    writeFileAtomically(ledger.toStdString(), generateLedgerFile(options));
    const QString record = dir.filePath(QStringLiteral("orvokakei.ini"));
    platform::writeLastFileRecord(record, ledger);
    return record;
}

}  // namespace orvo::bench
