// The core's lock file and Qt's QLockFile keep one protocol: each reads the
// owner the other writes, neither takes a lock the other holds, and each
// takes over a lock whose owner was killed.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "base/LockFile.h"

using namespace Qt::Literals::StringLiterals;
using orvo::LockFile;
using orvo::LockOutcome;

namespace {

enum class Locker { Core, Qt };

// Whether `locker` takes the lock at `path` now; it lets go of it again.
bool takes(Locker locker, const QString& path) {
    if (locker == Locker::Core)
        return LockFile(path.toStdString()).tryLock() == LockOutcome::Locked;
    QLockFile qt(path);
    qt.setStaleLockTime(0);  // stale only when its owner is gone
    return qt.tryLock(0);
}

// The id of a process that has ended.
qint64 endedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// A child process that takes the lock at `path` with `locker` and holds it
// until it is killed.
class LockHolder {
public:
    LockHolder(Locker locker, const QString& path) {
        int ready[2];
        if (::pipe(ready) != 0) qFatal("no pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            bool locked = false;
            if (locker == Locker::Core) {
                locked = (new LockFile(path.toStdString()))->tryLock() == LockOutcome::Locked;
            } else {
                auto* qt = new QLockFile(path);
                locked = qt->tryLock(0);
            }
            const char answer = locked ? '1' : '0';
            (void)::write(ready[1], &answer, 1);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        char answer = '0';
        locked_ = ::read(ready[0], &answer, 1) == 1 && answer == '1';
        ::close(ready[0]);
    }
    ~LockHolder() { kill(); }
    bool locked() const { return locked_; }
    void kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }

private:
    pid_t pid_ = 0;
    bool locked_ = false;
};

}  // namespace

Q_DECLARE_METATYPE(Locker)

class LockFileQtTest : public QObject {
    Q_OBJECT
private slots:
    void eachReadsTheOwnerTheOtherWrites() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"book.dat.lock"_s);
        {
            LockFile core(path.toStdString());
            QCOMPARE(core.tryLock(), LockOutcome::Locked);
            qint64 pid = 0;
            QString host;
            QString program;
            QVERIFY(QLockFile(path).getLockInfo(&pid, &host, &program));
            QCOMPARE(pid, QCoreApplication::applicationPid());
            QCOMPARE(host, QSysInfo::machineHostName());
            QCOMPARE(program, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
        }
        QVERIFY(!QFileInfo::exists(path));
        QLockFile qt(path);
        QVERIFY(qt.tryLock(0));
        const std::optional<orvo::LockOwner> owner = LockFile::ownerOf(path.toStdString());
        QVERIFY(owner);
        QCOMPARE(owner->pid, QCoreApplication::applicationPid());
        QCOMPARE(QString::fromStdString(owner->hostName), QSysInfo::machineHostName());
    }

    // The flock is what tells a live owner: a record naming an ended process
    // does not make a held lock stale.
    void aHeldFlockKeepsTheLockWhateverItsRecordSays_data() {
        QTest::addColumn<Locker>("holder");
        QTest::addColumn<Locker>("taker");
        QTest::newRow("core, then Qt") << Locker::Core << Locker::Qt;
        QTest::newRow("Qt, then core") << Locker::Qt << Locker::Core;
    }
    void aHeldFlockKeepsTheLockWhateverItsRecordSays() {
        QFETCH(Locker, holder);
        QFETCH(Locker, taker);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"book.dat.lock"_s);
        std::optional<LockFile> core;
        std::optional<QLockFile> qt;
        if (holder == Locker::Core) {
            core.emplace(path.toStdString());
            QCOMPARE(core->tryLock(), LockOutcome::Locked);
        } else {
            qt.emplace(path);
            QVERIFY(qt->tryLock(0));
        }
        QFile record(path);
        QVERIFY(record.open(QIODevice::WriteOnly | QIODevice::Truncate));
        record.write(QByteArray::number(endedProcess()) + "\nLockFileQtTest\n" +
                     QSysInfo::machineHostName().toUtf8() + '\n');
        record.close();
        QVERIFY(!takes(taker, path));
        QVERIFY(QFileInfo::exists(path));
    }

    void aHeldLockIsRefusedAndAKilledOwnersIsTakenOver_data() {
        QTest::addColumn<Locker>("holder");
        QTest::addColumn<Locker>("taker");
        QTest::newRow("core, then Qt") << Locker::Core << Locker::Qt;
        QTest::newRow("Qt, then core") << Locker::Qt << Locker::Core;
        QTest::newRow("core, then core") << Locker::Core << Locker::Core;
        QTest::newRow("Qt, then Qt") << Locker::Qt << Locker::Qt;
    }
    void aHeldLockIsRefusedAndAKilledOwnersIsTakenOver() {
        QFETCH(Locker, holder);
        QFETCH(Locker, taker);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"book.dat.lock"_s);
        LockHolder child(holder, path);
        QVERIFY(child.locked());
        QVERIFY(!takes(taker, path));
        child.kill();  // the lock file stays behind
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(takes(taker, path));
        QVERIFY(!QFileInfo::exists(path));
    }
};

QTEST_GUILESS_MAIN(LockFileQtTest)
#include "LockFileQtTest.moc"
