#include <QScopeGuard>

#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "childprocess.h"
#include "savelock.h"
#include "testmain.h"
#include "warningsof.h"

namespace {

// What another console does at the save's first flock of config.ini.lock,
// once: the moment between its look at the lock and its removal.
std::function<void()> atFirstFlock;
// The flocks of config.ini.lock taken: while a live console is in its first
// steps, even a moment's flock of its lock makes its own fail.
int lockFlocks = 0;

} // namespace

// The console's own code calls this flock, the test's: the system's, after
// the other console's step, counted.
extern "C" int flock(int descriptor, int operation)
{
    const bool lock
        = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(descriptor)).endsWith("config.ini.lock");
    if (lock && atFirstFlock) {
        const std::function<void()> step = std::exchange(atFirstFlock, nullptr);
        step();
    }
    const int result = int(::syscall(SYS_flock, descriptor, operation));
    if (lock && result == 0 && (operation & LOCK_EX))
        ++lockFlocks;
    return result;
}

// The lock a save takes beside config.ini, and what it clears around it: a
// lock or a removal lock, at any depth, is removed only when no process
// holds its flock and it is known to be left over (it names a process of
// this host that has ended, or names none and is older than 30 s). A lock
// with no holder written may be a live console's in its first steps, and a
// flock held is a live holder, whatever the file says.
class TestSaveLock : public QObject
{
    Q_OBJECT

    QString lockName;
    QByteArray ended; // the lines of a lock whose process has ended
    QList<int> flocks;

    // The name at a depth: the lock, then its removal locks.
    QString atDepth(int depth) const { return lockName + QStringLiteral(".rmlock").repeated(depth); }
    int deepest() const { return (255 - QFileInfo(lockName).fileName().size()) / 7; }

    // The lines of a lock of each kind.
    QHash<QString, QByteArray> kinds() const
    {
        const QByteArray host = QSysInfo::machineHostName().toUtf8();
        return {
            {"ended", ended},
            {"empty", QByteArray()},
            {"garbage", "console\n"},
            {"negative", "-" + ended}, // no process; kill() would take it for a group
            {"other host", QByteArray(ended).replace("\n" + host + "\n", "\nanother-" + host + "\n")},
            // this process, under the name it runs by
            {"live", QByteArray::number(QCoreApplication::applicationPid()) + "\n"
                         + QCoreApplication::applicationName().toUtf8() + "\n" + host + "\n"},
        };
    }

    // A lock file of a kind, written ageS ago; its flock held by another
    // open file when flocked. Its inode, or 0 when none was made.
    ino_t make(const QString &kind, int depth, int ageS, bool flocked)
    {
        const QHash<QString, QByteArray> lines = kinds();
        if (!lines.contains(kind))
            return 0;
        const QByteArray bytes = lines.value(kind);
        QFile file(atDepth(depth));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()
            || !file.setFileTime(QDateTime::currentDateTime().addSecs(-ageS), QFileDevice::FileModificationTime))
            return 0;
        if (flocked) {
            flocks.append(::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_CLOEXEC));
            if (::flock(flocks.last(), LOCK_EX | LOCK_NB) != 0)
                return 0;
        }
        struct stat info{};
        return ::fstat(file.handle(), &info) == 0 ? info.st_ino : 0;
    }

    static ino_t inodeOf(const QString &name)
    {
        struct stat info{};
        return ::lstat(QFile::encodeName(name).constData(), &info) == 0 ? info.st_ino : 0;
    }

private slots:
    void initTestCase()
    {
        lockName = QDir::current().filePath(QStringLiteral("config.ini.lock"));
        const qint64 pid = endedProcessId();
        QVERIFY(pid > 0);
        ended = QByteArray::number(pid) + "\nconsole\n" + QSysInfo::machineHostName().toUtf8() + "\n";
    }
    void cleanup()
    {
        for (const int file : qAsConst(flocks))
            ::close(file);
        flocks.clear();
        for (const QString &name : QDir::current().entryList({"config.ini.lock*"}, QDir::Files | QDir::Hidden))
            QFile::remove(name);
    }

    void leftOrCleared_data()
    {
        QTest::addColumn<QString>("lock");    // config.ini.lock as the save finds it
        QTest::addColumn<QString>("removal"); // a removal lock beside it
        QTest::addColumn<int>("depth");       // and its depth
        QTest::addColumn<int>("ageS");        // how long ago both were written
        QTest::addColumn<bool>("flocked");    // another open file holds their flocks
        QTest::addColumn<QString>("reason");  // empty when the lock is taken
        QTest::addColumn<QStringList>("stays");
        const QString held = QStringLiteral("its lock .*config.ini.lock is held");
        const QString heldBy = QStringLiteral("another process \\(\\d+\\) holds its lock");
        const QString clearing = QStringLiteral("another process \\(%1\\) is clearing its lock")
                                     .arg(QCoreApplication::applicationPid());
        const QString someoneClearing = QStringLiteral("another process is clearing its lock .*config.ini.lock");
        const QStringList none;
        const QStringList lock{"lock"};
        const QStringList removal{"removal"};
        const QStringList both{"lock", "removal"};
        QTest::newRow("a process that ended") << "ended" << "" << 1 << 0 << false << "" << none;
        QTest::newRow("a process that ended, its flock still held") << "ended" << "" << 1 << 0 << true << held << lock;
        QTest::newRow("empty, a console in its first steps") << "empty" << "" << 1 << 0 << false << held << lock;
        QTest::newRow("empty, 25 s old") << "empty" << "" << 1 << 25 << false << held << lock;
        QTest::newRow("empty, 31 s old") << "empty" << "" << 1 << 31 << false << "" << none;
        QTest::newRow("empty, 31 s old, its flock held") << "empty" << "" << 1 << 31 << true << held << lock;
        QTest::newRow("no process id in it, 25 s old") << "garbage" << "" << 1 << 25 << false << held << lock;
        QTest::newRow("no process id in it, 31 s old") << "garbage" << "" << 1 << 31 << false << "" << none;
        QTest::newRow("a negative process id, fresh") << "negative" << "" << 1 << 0 << false << held << lock;
        QTest::newRow("a process of another host") << "other host" << "" << 1 << 0 << false << heldBy << lock;
        QTest::newRow("a live process, no flock held") << "live" << "" << 1 << 0 << false << heldBy << lock;
        QTest::newRow("a removal lock whose process ended") << "" << "ended" << 1 << 0 << false << "" << none;
        QTest::newRow("a removal lock whose process ended, its flock held")
            << "" << "ended" << 1 << 0 << true << "" << removal;
        QTest::newRow("a removal lock of a live process, no flock held")
            << "ended" << "live" << 1 << 0 << false << clearing << both;
        QTest::newRow("an empty removal lock, a console clearing the lock")
            << "ended" << "empty" << 1 << 0 << false << someoneClearing << both;
        QTest::newRow("an empty removal lock 31 s old") << "ended" << "empty" << 1 << 31 << false << "" << none;
        QTest::newRow("a deeper one whose process ended") << "" << "ended" << 3 << 0 << false << "" << none;
        QTest::newRow("the deepest whose process ended") << "" << "ended" << -1 << 0 << false << "" << none;
        QTest::newRow("the deepest, its flock held") << "" << "ended" << -1 << 0 << true << "" << removal;
        QTest::newRow("the deepest, empty, 25 s old") << "" << "empty" << -1 << 25 << false << "" << removal;
        QTest::newRow("the deepest, empty, 31 s old") << "" << "empty" << -1 << 31 << false << "" << none;
    }
    void leftOrCleared()
    {
        QFETCH(QString, lock);
        QFETCH(QString, removal);
        QFETCH(int, depth);
        QFETCH(int, ageS);
        QFETCH(bool, flocked);
        QFETCH(QString, reason);
        QFETCH(QStringList, stays);
        if (depth < 0)
            depth = deepest();
        const QHash<QString, QString> names{{"lock", atDepth(0)}, {"removal", atDepth(depth)}};
        QHash<QString, ino_t> made;
        made["lock"] = make(lock, 0, ageS, flocked);
        made["removal"] = make(removal, depth, ageS, flocked);
        QCOMPARE(made.values().count(0), int(lock.isEmpty()) + int(removal.isEmpty()));
        bool taken = false;
        QString why;
        lockFlocks = 0;
        const QString warnings = warningsOf([&] {
            SaveLock saveLock(lockName);
            taken = saveLock.take(300, why);
        });
        QCOMPARE(warnings, QString());
        QCOMPARE(taken, reason.isEmpty());
        QVERIFY2(QRegularExpression("^(" + reason + ")$").match(why).hasMatch(), qPrintable(why));
        // What stays is the very file made, and nothing else is there.
        QStringList there;
        for (const QString &which : {QStringLiteral("lock"), QStringLiteral("removal")}) {
            if (QFileInfo::exists(names[which]))
                there << which;
        }
        QCOMPARE(there, stays);
        for (const QString &kept : stays)
            QCOMPARE(inodeOf(names[kept]), made[kept]);
        // A lock left, whose flock was free, was not flocked either.
        if (stays.contains(QStringLiteral("lock")) && !flocked)
            QCOMPARE(lockFlocks, 0);
        QCOMPARE(QDir::current().entryList({"config.ini.lock*"}, QDir::AllEntries | QDir::System | QDir::Hidden).size(),
                 stays.size());
    }

    // A console that looked at a lock left by one that ended, while another
    // console clears that lock and makes its own before the first takes the
    // flock of the old file (unlinked, held by none): the first removes
    // nothing, as its name leads to another file now, and the new lock stays.
    void lockMadeAnewMeanwhileStays()
    {
        QVERIFY(make(QStringLiteral("ended"), 0, 0, false));
        ino_t made = 0;
        atFirstFlock = [&] {
            const QByteArray name = QFile::encodeName(lockName);
            const QByteArray live = kinds().value(QStringLiteral("live"));
            ::unlink(name.constData());
            const int file = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            flocks.append(file);
            struct stat info{};
            if (file >= 0 && ::syscall(SYS_flock, file, LOCK_EX | LOCK_NB) == 0
                && ::write(file, live.constData(), size_t(live.size())) == live.size() && ::fstat(file, &info) == 0)
                made = info.st_ino;
        };
        const auto noStep = qScopeGuard([] { atFirstFlock = nullptr; });
        bool taken = false;
        QString why;
        QCOMPARE(warningsOf([&] { taken = SaveLock(lockName).take(300, why); }), QString());
        QVERIFY(!atFirstFlock); // the other console's step was taken
        QVERIFY(made != 0);
        QVERIFY(!taken);
        QCOMPARE(why, QStringLiteral("another process (%1) holds its lock").arg(QCoreApplication::applicationPid()));
        QCOMPARE(inodeOf(lockName), made);
    }
};

VW_TEST_MAIN(TestSaveLock)
#include "tst_savelock.moc"
