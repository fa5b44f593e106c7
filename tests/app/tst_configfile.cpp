#include <QtTest>

#include <QScopeGuard>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <ctime>
#include <optional>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utime.h>

#include "childprocess.h"
#include "configfile.h"
#include "globalobject.h"
#include "goldenrows.h"
#include "inidifferential.h"
#include "initext.h"
#include "savedconfig.h"
#include "tempfolder.h"
#include "warningsof.h"

namespace {

// Folders synced by this process, and whether such a sync fails (EIO), as a
// disk that errs at that moment would make it.
QList<QPair<dev_t, ino_t>> syncedFolders;
bool folderSyncFails = false;

} // namespace

// The console's own code calls this fsync, the test's: the system's for
// files, the test's fault for folders.
extern "C" int fsync(int descriptor)
{
    struct stat info{};
    if (::fstat(descriptor, &info) == 0 && S_ISDIR(info.st_mode)) {
        syncedFolders.append({info.st_dev, info.st_ino});
        if (folderSyncFails) {
            errno = EIO;
            return -1;
        }
    }
    return int(::syscall(SYS_fsync, descriptor));
}

// And this flock: the system's, but that a saver started with
// VW_TEST_FLOCK_STALL_MS waits that long before its first flock of
// config.ini.lock, as a console swapped out or on a stalled share would,
// between making its lock file and taking the file's flock.
extern "C" int flock(int descriptor, int operation)
{
    static bool stalled = false;
    const int stallMs = qEnvironmentVariableIntValue("VW_TEST_FLOCK_STALL_MS");
    if (stallMs > 0 && !stalled
        && QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(descriptor)).endsWith("config.ini.lock")) {
        stalled = true;
        ::usleep(useconds_t(stallMs) * 1000);
        std::fputs("stalled before its flock\n", stderr);
    }
    return int(::syscall(SYS_flock, descriptor, operation));
}

namespace {

// An attribute the saver may not set on the staged file, and the error its
// setting fails with: a security policy's EACCES, a file system's ENOTSUP.
QByteArray refusedAttribute;
int refusedWith = 0;

} // namespace

extern "C" int fsetxattr(int descriptor, const char *name, const void *value, size_t size, int flags)
{
    if (refusedWith && refusedAttribute == name) {
        errno = refusedWith;
        return -1;
    }
    return int(::syscall(SYS_fsetxattr, descriptor, name, value, size, flags));
}

namespace {

// Whether the owner may not be given, as for a saver who is not root: a
// change of owner fails with EPERM, a change of group alone does not
// unless the group may not be given either (a saver not of that group).
bool ownerRefused = false;
bool groupRefused = false;

} // namespace

extern "C" int fchown(int descriptor, uid_t owner, gid_t group)
{
    if ((ownerRefused && owner != uid_t(-1) && owner != ::geteuid())
        || (groupRefused && group != gid_t(-1) && group != ::getegid())) {
        errno = EPERM;
        return -1;
    }
    return int(::syscall(SYS_fchown, descriptor, owner, group));
}

namespace {

// Whether listing a file's attributes fails, as on a disk that errs.
bool listingFails = false;

} // namespace

extern "C" ssize_t listxattr(const char *path, char *list, size_t size)
{
    if (listingFails) {
        errno = EIO;
        return -1;
    }
    return ::syscall(SYS_listxattr, path, list, size);
}

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// A value of the console's reading of a file, as a window is given it.
QString valueIn(const IniText::Keys &keys, const QString &key)
{
    return keys.value(key).toVariant().toString();
}

// A FIFO, for a lock file that would hold a reader for ever.
bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// A folder or file nobody may write, root included (an immutable file where
// the test runs as root), made writable again when the object goes.
class ReadOnly
{
public:
    explicit ReadOnly(const QString &path) : m_path(path)
    {
        m_done = ::geteuid() == 0 ? run({"+i"}) : ::chmod(QFile::encodeName(path), 0555) == 0;
    }
    ~ReadOnly()
    {
        if (::geteuid() == 0)
            run({"-i"});
        else
            ::chmod(QFile::encodeName(m_path), 0755);
    }
    bool done() const { return m_done; }

private:
    bool run(const QStringList &flag) const
    {
        return QProcess::execute(QStringLiteral("chattr"), flag + QStringList{m_path}) == 0;
    }
    QString m_path;
    bool m_done = false;
};

// config.ini its owner may write but not read, in a folder of its owner's:
// a console run by a user not allowed to read the file. As root the test
// takes the part of such a user (its effective uid) only while it saves;
// the test's own folder lets that user pass.
class WriteOnly
{
public:
    WriteOnly(const QString &folder, const QString &file) : m_file(QFile::encodeName(file))
    {
        const QByteArray above = QFile::encodeName(QFileInfo(folder).absolutePath());
        const bool owned = ::geteuid() != 0
                           || (::chmod(above.constData(), 0711) == 0
                               && ::chown(QFile::encodeName(folder), nobody, nobody) == 0
                               && ::chown(m_file.constData(), nobody, nobody) == 0);
        m_done = owned && ::chmod(m_file.constData(), 0200) == 0;
    }
    ~WriteOnly() { ::chmod(m_file.constData(), 0600); }
    bool done() const { return m_done; }

    template<typename Step>
    void asOwner(Step step) const
    {
        const bool root = ::geteuid() == 0;
        if (root && ::seteuid(nobody) != 0)
            QFAIL("no other user to save as");
        step();
        if (root && ::seteuid(0) != 0)
            qFatal("root not taken back");
    }

private:
    static constexpr uid_t nobody = 65534;
    QByteArray m_file;
    bool m_done = false;
};

// A tmpfs of a few pages over a folder of the test, as a disk that fills up
// (root only); gone with the object.
class SmallDisk
{
public:
    SmallDisk(const QString &path, int pages) : m_path(QFile::encodeName(path))
    {
        QDir().mkpath(path);
        const QByteArray options = "size=" + QByteArray::number(pages * 4096);
        m_mounted = ::mount("tmpfs", m_path.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    bool remount(bool readOnly)
    {
        return ::mount(nullptr, m_path.constData(), nullptr, MS_REMOUNT | (readOnly ? MS_RDONLY : 0), nullptr) == 0;
    }

private:
    QByteArray m_path;
    bool m_mounted = false;
};

// A program of its own that saves keys of one group in a loop, as another
// console in the same folder does: --saver <folder> <group> <count> [keys].
int saverMain(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    appDirPath = QString::fromLocal8Bit(argv[2]);
    const QString group = QString::fromLocal8Bit(argv[3]);
    const int count = QByteArray(argv[4]).toInt();
    const int keys = argc > 5 ? QByteArray(argv[5]).toInt() : 1;
    for (int i = 1; i <= count; ++i) {
        const auto settings = ConfigFile::open();
        settings->beginGroup(group);
        for (int k = 0; k < keys; ++k)
            settings->setValue(QStringLiteral("Key%1").arg(k), i);
        settings->endGroup();
        if (!ConfigFile::save(*settings))
            return 2;
    }
    return 0;
}

using Attributes = QList<QPair<QByteArray, QByteArray>>;

// An ACL entry giving user 65534 read and write (the system's own form:
// version 2, then tag, permissions and id of each entry), and two user
// attributes, set on a file; what could not be set is said in missing.
Attributes setAttributes(const QByteArray &name, QString &missing)
{
    QByteArray acl;
    const auto entry = [&acl](quint16 tag, quint16 permissions, quint32 id) {
        acl += QByteArray(reinterpret_cast<const char *>(&tag), 2)
               + QByteArray(reinterpret_cast<const char *>(&permissions), 2)
               + QByteArray(reinterpret_cast<const char *>(&id), 4);
    };
    const quint32 version = 2;
    acl = QByteArray(reinterpret_cast<const char *>(&version), 4);
    entry(0x01, 6, ~0u);   // the owner
    entry(0x02, 6, 65534); // a user
    entry(0x04, 4, ~0u);   // the group
    entry(0x10, 6, ~0u);   // the mask
    entry(0x20, 0, ~0u);   // others
    const Attributes attributes{{"system.posix_acl_access", acl},
                                {"user.label", "left when refused"},
                                {"user.note", "kept by the save"}};
    for (const auto &attribute : attributes) {
        if (::setxattr(name.constData(), attribute.first.constData(), attribute.second.constData(),
                       size_t(attribute.second.size()), 0)
            != 0) {
            missing = "no " + attribute.first + " here: " + QString::fromLocal8Bit(std::strerror(errno));
            break;
        }
    }
    return attributes;
}

} // namespace

// config.ini read and saved: the INI text as QSettings knows it, a save that
// lands whole or not at all, next to another writer, and nothing elsewhere.
class TestConfigFile : public QObject
{
    Q_OBJECT

    QString tempFolder; // TMPDIR for the test: nothing may land there

    static IniText::Keys readByConsole(const QString &path) { return IniText::read(readAll(path)); }

    // A child that saves as another console does.
    static void startSaver(ChildProcess &child, const QString &group, int count, int keys = 1,
                           QProcess::ProcessChannelMode channels = QProcess::ForwardedChannels)
    {
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({"--saver", appDirPath, group, QString::number(count), QString::number(keys)});
        child.setProcessChannelMode(channels);
        child.start();
    }

private slots:
    void initTestCase()
    {
        tempFolder = QDir::current().filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(tempFolder));
        qputenv("TMPDIR", QFile::encodeName(tempFolder));
    }
    void init() { ConfigFile::readAgain(); } // each test a start of its own
    void cleanup()
    {
        QFile::remove(ConfigFile::path());
        QVERIFY2(QDir(tempFolder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 "something was put in the temp folder");
    }

    // Every text reads as QSettings' own INI reader reads it, with a byte
    // order mark too, and what the console writes of it reads the same; a
    // save of one key over it leaves every other key reading the same.
    void textReadsAsQtReadsIt_data() { goldenRows(QStringLiteral("initext.tsv")); }
    void textReadsAsQtReadsIt()
    {
        const QByteArray text = golden("ini").replace(QStringLiteral("¶"), QStringLiteral("\n"))
                                    .replace(QStringLiteral("␍"), QStringLiteral("\r"))
                                    .replace(QStringLiteral("→"), QStringLiteral("\t"))
                                    .toUtf8();
        QCOMPARE(IniDifferential::textDifference(text), QString());
        QCOMPARE(IniDifferential::textDifference("\xef\xbb\xbf" + text), QString());
        QRandomGenerator random(12);
        for (int n = 0; n < 4; ++n)
            QCOMPARE(IniDifferential::saveDifference(n % 2 ? "\xef\xbb\xbf" + text : text, random), QString());
    }

    // Texts of the pieces that mean something in INI, and key sets of the
    // kinds a window sets (lists of none or one item too) with now and then
    // another program's value, at random from a seed told in the log: they
    // read alike, and the console writes each key set byte for byte as
    // QSettings does. bench/inidifferential runs the same for longer.
    void randomTextsAndKeysAsQtHasThem()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator random(seed);
        for (int n = 0; n < 3000; ++n) {
            const QString difference = IniDifferential::textDifference(IniDifferential::randomText(random));
            QVERIFY2(difference.isEmpty(), qPrintable(difference));
        }
        for (int n = 0; n < 1000; ++n) {
            const QString difference = IniDifferential::keysDifference(IniDifferential::randomKeys(random));
            QVERIFY2(difference.isEmpty(), qPrintable(difference));
        }
    }

    // A save of one key (one read or a new one, set to a text, a number or
    // a list) over a text of those pieces with other programs' values before
    // it, at random from a seed told in the log: QSettings reads every other
    // key after it as before and the key as it was set, and those values
    // stand in the file byte for byte.
    void randomSavesKeepWhatQtRead()
    {
        QVERIFY(writeFile(ConfigFile::path(), "[A]\nx=1\n"));
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator random(seed);
        for (int n = 0; n < 300; ++n) {
            const QString difference = IniDifferential::saveDifference(IniDifferential::randomText(random), random);
            QVERIFY2(difference.isEmpty(), qPrintable(difference));
        }
        // Each in a folder of its own: the test's config.ini is read again,
        // and stays as it was.
        QCOMPARE(ConfigFile::open()->value(QStringLiteral("A/x")).toString(), QStringLiteral("1"));
        QCOMPARE(readAll(ConfigFile::path()), QByteArray("[A]\nx=1\n"));
    }

    // Whatever a config.ini holds, it is read in time that grows with its
    // size: 1 MiB of broken sections, quotes or continued lines within a
    // second, and values of other programs QSettings would decode (one of
    // them makes Qt itself throw) are kept as text.
    void anyFileReadInLinearTime_data()
    {
        QTest::addColumn<QByteArray>("piece");
        QTest::newRow("sections without their end") << QByteArray("[abc\n");
        QTest::newRow("opening brackets") << QByteArray("[");
        QTest::newRow("quotes") << QByteArray("k=\"x\n");
        QTest::newRow("continued lines") << QByteArray("k=\\\n");
        QTest::newRow("lists") << QByteArray("k=1,2,3,4,5\n");
        QTest::newRow("a variant Qt cannot decode") << QByteArray("k=@Variant(\\0\\0\\0\\x9x93)\n");
        QTest::newRow("a date in no time zone") << QByteArray("k=@DateTime(\\0\\0\\0\\x10\\\\00x00x310x03c)\n");
    }
    void anyFileReadInLinearTime()
    {
        QFETCH(QByteArray, piece);
        // Processor time of the reading thread, so that a busy machine does
        // not count: a quarter of the text must take about a quarter of it
        // (a quadratic reading takes a sixteenth), and the whole well
        // under a second even under the sanitizers.
        const auto textOf = [&piece](int size) {
            QByteArray text;
            while (text.size() < size)
                text += piece;
            text.truncate(size);
            return text;
        };
        const auto cpuMs = [](const QByteArray &text, IniText::Keys &keys) {
            timespec start{};
            timespec end{};
            ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
            keys = IniText::read(text);
            ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
            return (end.tv_sec - start.tv_sec) * 1000.0 + (end.tv_nsec - start.tv_nsec) / 1e6;
        };
        IniText::Keys keys;
        const double quarter = cpuMs(textOf(int(ConfigFile::maxBytes) / 4), keys);
        const double whole = cpuMs(textOf(int(ConfigFile::maxBytes)), keys);
        QVERIFY2(whole < 8 * quarter + 20 && whole < 1000, qPrintable(QStringLiteral("%1 ms, a quarter %2 ms")
                                                                          .arg(whole).arg(quarter)));
        if (keys.contains(QStringLiteral("k"))) // written back as it was read
            QCOMPARE(IniText::read(IniText::write(keys)).value(QStringLiteral("k")), keys.value(QStringLiteral("k")));
    }

    // A config.ini of exactly the bound is read to its last byte and a save
    // of exactly the bound keeps every key; one byte more is neither read
    // nor saved.
    void fileOfExactlyTheBound()
    {
        const QByteArray head = "[Notes]\nText=";
        const QByteArray tail = "\n[MainSetting]\nRow=3";
        QByteArray bytes = head + QByteArray(int(ConfigFile::maxBytes) - head.size() - tail.size(), 'x') + tail;
        QVERIFY(writeFile(ConfigFile::path(), bytes));
        QCOMPARE(ConfigFile::open()->value(QStringLiteral("MainSetting/Row")).toString(), QStringLiteral("3"));

        // The save: Row=3 becomes Row=4 and the foreign text stays.
        IniText::Keys keys = IniText::read(bytes);
        keys.insert(QStringLiteral("MainSetting/Row"), IniText::Value::text("4"));
        const int over = IniText::write(keys).size() - int(ConfigFile::maxBytes);
        const QString text(valueIn(keys, "Notes/Text").size() - over, 'x');
        keys.insert(QStringLiteral("Notes/Text"), IniText::Value::text(text));
        bytes = IniText::write(keys);
        QCOMPARE(bytes.size(), int(ConfigFile::maxBytes));
        keys.insert(QStringLiteral("MainSetting/Row"), IniText::Value::text("3"));
        QVERIFY(writeFile(ConfigFile::path(), IniText::write(keys)));
        ConfigFile::readAgain();
        QString warnings = warningsOf([] { QVERIFY(saveConfigValue(QStringLiteral("MainSetting/Row"), 4)); });
        QCOMPARE(warnings, QString());
        QCOMPARE(readAll(ConfigFile::path()), bytes);

        // A save onto a file of exactly the bound, written by another hand
        // (a comment, spaces, no line end at its end), reads all of it.
        const QByteArray end = "\n[Z]\nz=9";
        const QByteArray hand = ";\n[MainSetting]\nRow = 3\n[Notes]\nText=";
        QVERIFY(writeFile(ConfigFile::path(),
                          hand + QByteArray(int(ConfigFile::maxBytes) - hand.size() - end.size(), 'x') + end));
        QVERIFY(saveConfigValue(QStringLiteral("MainSetting/Row"), 5));
        QCOMPARE(valueIn(readByConsole(ConfigFile::path()), "Z/z"), QStringLiteral("9"));

        // One byte more: not read at start, and never written over by the
        // session, even once the file is set right.
        QVERIFY(writeFile(ConfigFile::path(), bytes + '\n'));
        ConfigFile::readAgain();
        warnings = warningsOf([] { QVERIFY(!saveConfigValue(QStringLiteral("MainSetting/Row"), 6)); });
        QCOMPARE(readAll(ConfigFile::path()), bytes + '\n');
        QVERIFY(warnings.startsWith("Settings not read or saved, " + ConfigFile::path() + " is larger than"));
        QVERIFY2(warnings.contains("stays as it was: it was not read at start"), qPrintable(warnings));
        QVERIFY(writeFile(ConfigFile::path(), "[MainSetting]\nRow=2\n"));
        QVERIFY(!saveConfigValue(QStringLiteral("MainSetting/Row"), 7));
        QCOMPARE(readAll(ConfigFile::path()), QByteArray("[MainSetting]\nRow=2\n"));
    }

    // A save that cannot be made whole leaves config.ini byte for byte as it
    // was, says why in one line however many windows the close closed, with
    // the system's reason, and the next start reads the file; once the fault
    // is gone the changes of the failed save land with the next.
    void failedSaveLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("mended"); // Row, Column and Skin after the next save
        QTest::newRow("a full disk") << "disk" << "No space left on device" << "221";
        QTest::newRow("a file size limit") << "limit" << "File too large" << "221";
        QTest::newRow("a read-only config.ini") << "file" << "(Operation not permitted|Permission denied)" << "221";
        QTest::newRow("a read-only folder")
            << "folder" << "its folder cannot be written: (Operation not permitted|Permission denied)" << "221";
        QTest::newRow("a file system mounted read-only")
            << "mounted" << "its folder cannot be written: Read-only file system" << "221";
        QTest::newRow("its folder renamed") << "renamed" << "its folder cannot be written: No such file or directory"
                                            << "221";
        QTest::newRow("a config.ini that cannot be read now") << "unreadable" << "Permission denied" << "221";
        QTest::newRow("a file mounted over config.ini") << "bound" << "Device or resource busy" << "221";
        QTest::newRow("a link to a missing file")
            << "dangling" << "it links to .*/elsewhere/config.ini, which is missing" << "221";
        QTest::newRow("a file grown past the bound since it was read")
            << "grown" << "it is larger than 1048576 bytes: \\d+ bytes" << "221";
    }
    void failedSaveLeavesTheFileAsItWas()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        QFETCH(QString, mended);
        const QString folder = QDir::current().filePath(fault);
        std::optional<SmallDisk> disk;
        if ((fault == QLatin1String("disk") || fault == QLatin1String("mounted"))
            && !disk.emplace(folder, fault == QLatin1String("disk") ? 4 : 64).mounted())
            QSKIP("a tmpfs needs root");
        QVERIFY(QDir().mkpath(folder));
        const QString oldAppDir = std::exchange(appDirPath, folder);
        const auto restore = qScopeGuard([&] { appDirPath = oldAppDir; });

        // Some 7 kB of settings: two pages of the four of the small disk, the
        // lock file a third.
        QByteArray bytes = "[MainSetting]\nRow=10\nColumn=12\n[MatrixOut]\n";
        for (int i = 0; bytes.size() < 7600; ++i)
            bytes += "Out" + QByteArray::number(i) + "=" + QByteArray(40, 'o') + "\n";
        QString target = ConfigFile::path();
        if (fault == QLatin1String("dangling")) {
            target = folder + QStringLiteral("/elsewhere/config.ini");
            QVERIFY(QFile::link(target, ConfigFile::path()));
        } else {
            QVERIFY(writeFile(ConfigFile::path(), bytes));
        }
        const QByteArray before = readAll(ConfigFile::path());
        const auto settings = ConfigFile::open(); // read as at start

        std::unique_ptr<ReadOnly> readOnly;
        if (fault == QLatin1String("file") || fault == QLatin1String("folder")) {
            readOnly = std::make_unique<ReadOnly>(fault == QLatin1String("file") ? ConfigFile::path() : folder);
            QVERIFY(readOnly->done());
        }
        std::optional<WriteOnly> writeOnly;
        if (fault == QLatin1String("unreadable"))
            QVERIFY(writeOnly.emplace(folder, ConfigFile::path()).done());
        if (fault == QLatin1String("grown"))
            QVERIFY(writeFile(ConfigFile::path(), bytes + QByteArray(int(ConfigFile::maxBytes), '\n')));
        if (fault == QLatin1String("mounted"))
            QVERIFY(disk->remount(true));
        // The staged file cannot be renamed over a mount point.
        const QByteArray over = QFile::encodeName(folder + QStringLiteral("/over.ini"));
        const auto unbind = qScopeGuard([&] { ::umount2(QFile::encodeName(ConfigFile::path()).constData(), MNT_DETACH); });
        if (fault == QLatin1String("bound")) {
            QVERIFY(writeFile(QFile::decodeName(over), bytes));
            if (::mount(over.constData(), QFile::encodeName(ConfigFile::path()).constData(), nullptr, MS_BIND, nullptr) != 0)
                QSKIP("a bind mount needs root");
        }
        const QString renamed = folder + QStringLiteral("-renamed");
        if (fault == QLatin1String("renamed"))
            QVERIFY(QDir().rename(folder, renamed));
        const QByteArray held = readAll(fault == QLatin1String("renamed") ? renamed + QStringLiteral("/config.ini")
                                                                          : ConfigFile::path());
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlim_t soft = limit.rlim_cur;
        if (fault == QLatin1String("limit")) { // the save itself keeps SIGXFSZ from ending the process
            limit.rlim_cur = 4096;
            QVERIFY(::setrlimit(RLIMIT_FSIZE, &limit) == 0);
        }
        const auto saveRowAndColumn = [&] {
            {
                const ConfigFile::HeldSaves close; // two windows of a close
                settings->setValue(QStringLiteral("MainSetting/Row"), 2);
                QVERIFY(ConfigFile::save(*settings));
                QVERIFY(saveConfigValue(QStringLiteral("MainSetting/Column"), 2));
            }
            QVERIFY(!ConfigFile::save(*settings));
        };
        const QString warnings
            = warningsOf([&] { writeOnly ? writeOnly->asOwner(saveRowAndColumn) : saveRowAndColumn(); });
        limit.rlim_cur = soft;
        ::setrlimit(RLIMIT_FSIZE, &limit);

        QCOMPARE(readAll(fault == QLatin1String("renamed") ? renamed + QStringLiteral("/config.ini") : ConfigFile::path()),
                 held);
        if (fault == QLatin1String("renamed"))
            QVERIFY(QDir().rename(renamed, folder));
        if (fault == QLatin1String("bound")) {
            QVERIFY(::umount2(QFile::encodeName(ConfigFile::path()).constData(), MNT_DETACH) == 0);
            QVERIFY(QFile::remove(QFile::decodeName(over)));
        }
        if (fault == QLatin1String("mounted"))
            QVERIFY(disk->remount(false));
        const QRegularExpression line("^Settings not saved, " + QRegularExpression::escape(ConfigFile::path())
                                      + " stays as it was: " + reason + "$");
        QVERIFY2(line.match(warnings).hasMatch(), qPrintable(warnings));
        QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        left.removeAll(QStringLiteral("config.ini"));
        QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));

        // The fault mended: the next save brings the failed one's change too.
        readOnly.reset();
        writeOnly.reset();
        if (fault == QLatin1String("dangling")) {
            QVERIFY(QDir().mkpath(folder + QStringLiteral("/elsewhere")));
        } else if (fault == QLatin1String("disk")) { // room for a small file
            QVERIFY(writeFile(ConfigFile::path(), "[MainSetting]\nRow=10\nColumn=12\n"));
        } else if (fault == QLatin1String("grown")) {
            QVERIFY(writeFile(ConfigFile::path(), before));
        }
        QCOMPARE(valueIn(readByConsole(ConfigFile::path()), "MainSetting/Row"),
                 fault == QLatin1String("dangling") ? QString() : QStringLiteral("10"));
        QVERIFY(saveConfigValue(QStringLiteral("MainSetting/Skin"), 1));
        const auto saved = readByConsole(target);
        QCOMPARE(valueIn(saved, "MainSetting/Row") + valueIn(saved, "MainSetting/Column")
                     + valueIn(saved, "MainSetting/Skin"),
                 mended);
        QFile::remove(ConfigFile::path());
    }

    // Every save that fails says so, the same fault as the last included: an
    // operator closing a window after another learns of each change lost.
    void faultAfterASaveToldAgain()
    {
        QVERIFY(writeFile(ConfigFile::path(), "[MainSetting]\nRow=10\n"));
        QStringList lines;
        int column = 12;
        for (const bool readOnly : {true, true, false, true}) {
            const std::unique_ptr<ReadOnly> fault(readOnly ? new ReadOnly(ConfigFile::path()) : nullptr);
            QVERIFY(!fault || fault->done());
            lines << warningsOf([&] { QCOMPARE(saveConfigValue(QStringLiteral("MainSetting/Column"), column++), !fault); });
        }
        QVERIFY2(lines.at(0).startsWith(QLatin1String("Settings not saved")) && lines.at(1) == lines.at(0)
                     && lines.at(2).isEmpty() && lines.at(3) == lines.at(0),
                 qPrintable(lines.join(QLatin1Char('/'))));
    }

    // Reading and saving put nothing in the temp folder (cleanup() looks) and
    // need none: a TMPDIR naming a file changes nothing.
    void noTempFolderNeeded()
    {
        QVERIFY(writeFile(ConfigFile::path(), "[MainSetting]\nRow=10\n"));
        const QByteArray oldTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(ConfigFile::path()));
        const QString warnings = warningsOf([] {
            QVERIFY(ConfigFile::hasGroup(QStringLiteral("MainSetting")));
            QVERIFY(saveConfigValue(QStringLiteral("MainSetting/Column"), 12));
        });
        qputenv("TMPDIR", oldTmp);
        QCOMPARE(warnings, QString());
        QCOMPARE(readAll(ConfigFile::path()), QByteArray("[MainSetting]\nColumn=12\nRow=10\n"));
    }

    // Another writer (a hand edit, another console) saved between this
    // session's read and its save: its keys stay, unless the session changed
    // the same key; a key the session sets to the value it read is no change.
    void anotherWritersKeysStay_data()
    {
        QTest::addColumn<QByteArray>("other");
        QTest::addColumn<int>("x"); // what the session sets A/x to; it read 1
        QTest::addColumn<QByteArray>("saved");
        const QByteArray start = "[A]\nx=1\n\n[B]\ny=1\n";
        QTest::newRow("a group added") << start + "\n[C]\nz=1\n" << 2 << QByteArray("[A]\nx=2\n\n[B]\ny=1\n\n[C]\nz=1\n");
        QTest::newRow("a key changed") << QByteArray("[A]\nx=1\n\n[B]\ny=7\n") << 2
                                       << QByteArray("[A]\nx=2\n\n[B]\ny=7\n");
        QTest::newRow("the key this session changes") << QByteArray("[A]\nx=9\n\n[B]\ny=1\n") << 2
                                                      << QByteArray("[A]\nx=2\n\n[B]\ny=1\n");
        QTest::newRow("a key the session sets as it read it") << QByteArray("[A]\nx=9\n\n[B]\ny=7\n") << 1
                                                              << QByteArray("[A]\nx=9\n\n[B]\ny=7\n");
        QTest::newRow("a key removed") << QByteArray("[A]\nx=1\n") << 2 << QByteArray("[A]\nx=2\n");
        QTest::newRow("a key the session sets removed") << QByteArray("[B]\ny=1\n") << 1
                                                        << QByteArray("[A]\nx=1\n\n[B]\ny=1\n");
        QTest::newRow("the file removed") << QByteArray() << 2 << QByteArray("[A]\nx=2\n");
    }
    void anotherWritersKeysStay()
    {
        QFETCH(QByteArray, other);
        QFETCH(int, x);
        QFETCH(QByteArray, saved);
        QVERIFY(writeFile(ConfigFile::path(), "[A]\nx=1\n\n[B]\ny=1\n"));
        const auto settings = ConfigFile::open();
        QCOMPARE(settings->value(QStringLiteral("B/y")).toString(), QStringLiteral("1"));
        if (other.isEmpty())
            QVERIFY(QFile::remove(ConfigFile::path()));
        else
            QVERIFY(writeFile(ConfigFile::path(), other));
        settings->setValue(QStringLiteral("A/x"), x);
        QVERIFY(ConfigFile::save(*settings));
        QCOMPARE(readAll(ConfigFile::path()), saved);
    }

    // A number a window sets as the session holds it or read it, in another
    // spelling, is no change: the file keeps its spelling, and another
    // writer's later value stays. A text is a change in any spelling.
    void numberInAnotherSpelling_data()
    {
        QTest::addColumn<QByteArray>("read");   // A/x as the session read it
        QTest::addColumn<QVariantList>("set");  // what A/x is set to, in turn
        QTest::addColumn<QByteArray>("other");  // A/x as another writer left it
        QTest::addColumn<QByteArray>("saved");  // A/x after the save
        QTest::newRow("03 as 3") << QByteArray("03") << QVariantList{3} << QByteArray("5") << QByteArray("5");
        QTest::newRow("+3 as 3, kept") << QByteArray("+3") << QVariantList{3} << QByteArray("+3") << QByteArray("+3");
        QTest::newRow("03 as an unsigned 3") << QByteArray("03") << QVariantList{3u} << QByteArray("5")
                                             << QByteArray("5");
        QTest::newRow("3.50 as 3.5") << QByteArray("3.50") << QVariantList{3.5} << QByteArray("5") << QByteArray("5");
        QTest::newRow("changed, then set back") << QByteArray("03") << QVariantList{4, 3} << QByteArray("5")
                                                << QByteArray("5");
        QTest::newRow("a number changed") << QByteArray("03") << QVariantList{4} << QByteArray("5") << QByteArray("4");
        QTest::newRow("a text is a text") << QByteArray("03") << QVariantList{QStringLiteral("3")} << QByteArray("5")
                                          << QByteArray("3");
        QTest::newRow("no number read") << QByteArray("abc") << QVariantList{0} << QByteArray("5") << QByteArray("0");
        QTest::newRow("no number read, 0.0 set") << QByteArray("abc") << QVariantList{0.0} << QByteArray("5")
                                                 << QByteArray("0");
    }
    void numberInAnotherSpelling()
    {
        QFETCH(QByteArray, read);
        QFETCH(QVariantList, set);
        QFETCH(QByteArray, other);
        QFETCH(QByteArray, saved);
        QVERIFY(writeFile(ConfigFile::path(), "[A]\nx=" + read + "\n"));
        const auto settings = ConfigFile::open();
        QVERIFY(writeFile(ConfigFile::path(), "[A]\nx=" + other + "\n"));
        for (const QVariant &value : set)
            settings->setValue(QStringLiteral("A/x"), value);
        settings->setValue(QStringLiteral("B/y"), 2); // the operator's change that makes the save write
        QVERIFY(ConfigFile::save(*settings));
        QCOMPARE(readAll(ConfigFile::path()), "[A]\nx=" + saved + "\n\n[B]\ny=2\n");
    }

    // A window's own form of what it read (a value it refuses shown empty, a
    // text it normalises) set at its close is no change of the operator's:
    // another writer's value since stays, while a file that still holds what
    // was read gets the form. After a save that changed the key, or one whose
    // folder sync failed, the session stands for what it saved, and setting
    // the form or the value read is a change again.
    void windowsOwnFormOfAValue_data()
    {
        QTest::addColumn<QByteArray>("read"); // config.ini at the start
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QByteArray>("saved");
        const QByteArray refused = "[A]\nx=08080\n";
        QTest::newRow("a value refused, another hand's since")
            << refused << QStringList{"form ", "hand 9000", "set "} << QByteArray("[A]\nx=9000\n");
        QTest::newRow("a value refused, the file as read") << refused << QStringList{"form ", "set "}
                                                           << QByteArray("[A]\nx=\n");
        QTest::newRow("a text normalised, another hand's since")
            << QByteArray("[A]\nx=a\\r\\nb\n") << QStringList{"form a\nb", "hand c", "set a\nb"}
            << QByteArray("[A]\nx=c\n");
        QTest::newRow("a key the file lacked, another hand's since")
            << QByteArray("[B]\ny=1\n") << QStringList{"form 5", "hand 7", "set 5"}
            << QByteArray("[A]\nx=7\n\n[B]\ny=1\n");
        QTest::newRow("the operator's change, over another hand's")
            << refused << QStringList{"form ", "hand 9000", "set 7000"} << QByteArray("[A]\nx=7000\n");
        QTest::newRow("the form set back after a save that changed the key")
            << refused << QStringList{"form ", "set 9000", "save", "hand 7000", "set "} << QByteArray("[A]\nx=\n");
        QTest::newRow("the form after a save of another key")
            << refused << QStringList{"form ", "set y 2", "save", "hand 9000", "set "}
            << QByteArray("[A]\nx=9000\ny=2\n");
        QTest::newRow("the number read set back after a save whose folder sync failed")
            << QByteArray("[A]\nx=03\n") << QStringList{"set number 5", "save unsynced", "set number 3"}
            << QByteArray("[A]\nx=3\n");
        QTest::newRow("a change whose folder sync failed, written over a hand's")
            << QByteArray("[A]\nx=03\n") << QStringList{"set number 5", "save unsynced", "hand 9"}
            << QByteArray("[A]\nx=5\n");
    }
    void windowsOwnFormOfAValue()
    {
        QFETCH(QByteArray, read);
        QFETCH(QStringList, steps);
        QFETCH(QByteArray, saved);
        QVERIFY(writeFile(ConfigFile::path(), read));
        const auto settings = ConfigFile::open();
        const auto form = ConfigFile::untouched();
        for (const QString &step : steps) {
            const QString value = step.section(QLatin1Char(' '), 1);
            if (step.startsWith(QLatin1String("form "))) {
                form->setValue(QStringLiteral("A/x"), value);
            } else if (step.startsWith(QLatin1String("hand "))) {
                IniText::Keys keys = readByConsole(ConfigFile::path());
                keys.insert(QStringLiteral("A/x"), IniText::Value::text(value));
                QVERIFY(writeFile(ConfigFile::path(), IniText::write(keys)));
            } else if (step.startsWith(QLatin1String("set number "))) {
                settings->setValue(QStringLiteral("A/x"), step.section(QLatin1Char(' '), 2).toInt());
            } else if (step.startsWith(QLatin1String("set y "))) {
                settings->setValue(QStringLiteral("A/y"), step.section(QLatin1Char(' '), 2));
            } else if (step.startsWith(QLatin1String("set "))) {
                settings->setValue(QStringLiteral("A/x"), value);
            } else if (step == QLatin1String("save")) {
                QVERIFY(ConfigFile::save(*settings));
            } else {
                folderSyncFails = true;
                const QString warnings = warningsOf([&] { QVERIFY(!ConfigFile::save(*settings)); });
                folderSyncFails = false;
                QVERIFY2(warnings.startsWith(QLatin1String("Settings may not be on disk")), qPrintable(warnings));
            }
        }
        QCOMPARE(warningsOf([&] { QVERIFY(ConfigFile::save(*settings)); }), QString());
        QCOMPARE(readAll(ConfigFile::path()), saved);
    }

    // A change another writer already made is saved as far as the session
    // goes: setting the value read back afterwards is a change again.
    void changeFoundInTheFileCountsAsSaved()
    {
        QVERIFY(writeFile(ConfigFile::path(), "[A]\nx=1\n"));
        QVERIFY(ConfigFile::hasGroup(QStringLiteral("A"))); // read as at start
        QVERIFY(writeFile(ConfigFile::path(), "[A]\nx=2\n"));
        QVERIFY(saveConfigValue(QStringLiteral("A/x"), 2));
        QVERIFY(saveConfigValue(QStringLiteral("A/x"), 1));
        QCOMPARE(readAll(ConfigFile::path()), QByteArray("[A]\nx=1\n"));
    }

    // A save takes the lock beside config.ini within about 2 s or leaves
    // the file as it was with one line, keeping the change for the next
    // save. A lock whose process is gone, and removal locks so left at any
    // depth, are cleared; an empty lock, which may be a live console's in
    // its first steps, stays, as does the lock a live console is clearing.
    // A lock file no console makes is refused without being read.
    void lockNotTaken_data()
    {
        QTest::addColumn<QString>("lock");
        QTest::addColumn<int>("x"); // what the save sets A/x to; the file holds 1
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("mostMs");
        const QString heldBy = QStringLiteral("another process \\(\\d+\\) holds its lock");
        QTest::newRow("held by a live process") << "live" << 2 << heldBy << 3000;
        QTest::newRow("a folder of that name") << "folder" << 2 << ".*config.ini.lock is no regular file" << 1000;
        QTest::newRow("a FIFO of that name") << "fifo" << 2 << ".*config.ini.lock is no regular file" << 1000;
        QTest::newRow("a file larger than a lock can be")
            << "huge" << 2 << ".*config.ini.lock is larger than a lock can be: 314572800 bytes" << 1000;
        QTest::newRow("left by a process that ended") << "ended" << 2 << "" << 1000;
        QTest::newRow("an empty lock of a console in its first steps")
            << "empty" << 2 << "its lock .*config.ini.lock is held" << 3000;
        QTest::newRow("removal locks at every depth, their process ended") << "nested" << 2 << "" << 1000;
        QTest::newRow("a live console clearing the lock of one that ended")
            << "clearing" << 2
            << QStringLiteral("another process \\(%1\\) is clearing its lock").arg(QCoreApplication::applicationPid())
            << 3000;
        QTest::newRow("a save that changes nothing needs no lock") << "live" << 1 << "" << 1000;
    }
    void lockNotTaken()
    {
        QFETCH(QString, lock);
        QFETCH(int, x);
        QFETCH(QString, reason);
        QFETCH(int, mostMs);
        QVERIFY(writeFile(ConfigFile::path(), "[A]\nx=1\n"));
        QVERIFY(ConfigFile::hasGroup(QStringLiteral("A"))); // read as at start
        const QString lockName = ConfigFile::path() + QStringLiteral(".lock");
        const qint64 pid = endedProcessId();
        QVERIFY(pid > 0);
        const QByteArray ended
            = QByteArray::number(pid) + "\nconsole\n" + QSysInfo::machineHostName().toUtf8() + "\n";
        QLockFile held(lockName);
        QLockFile clearing(lockName + QStringLiteral(".rmlock"));
        const auto removeMade = [&] {
            held.unlock();
            clearing.unlock();
            QDir().rmdir(lockName);
            QFile::remove(lockName);
        };
        const auto leaveNothing = qScopeGuard(removeMade); // for the next row, whatever fails
        if (lock == QLatin1String("live")) {
            QVERIFY(held.tryLock(0));
        } else if (lock == QLatin1String("empty")) {
            QVERIFY(writeFile(lockName, QByteArray()));
        } else if (lock == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(lockName));
        } else if (lock == QLatin1String("fifo")) {
            QVERIFY(makeFifo(lockName));
        } else if (lock == QLatin1String("huge")) {
            QFile huge(lockName);
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(300 * 1024 * 1024));
        } else {
            QVERIFY(writeFile(lockName, ended));
        }
        if (lock == QLatin1String("clearing"))
            QVERIFY(clearing.tryLock(0));
        if (lock == QLatin1String("nested")) { // every depth a name can have, but one
            QString name = lockName + QStringLiteral(".rmlock");
            for (int depth = 1; QFileInfo(name).fileName().size() <= 255; ++depth, name += QStringLiteral(".rmlock"))
                QVERIFY(depth == 5 || writeFile(name, ended));
        }
        QElapsedTimer clock;
        clock.start();
        const QString warnings
            = warningsOf([&] { QCOMPARE(saveConfigValue(QStringLiteral("A/x"), x), reason.isEmpty()); });
        QVERIFY2(clock.elapsed() < mostMs, qPrintable(QString::number(clock.elapsed())));
        if (reason.isEmpty()) {
            QCOMPARE(warnings, QString());
            QCOMPARE(readAll(ConfigFile::path()), "[A]\nx=" + QByteArray::number(x) + "\n");
            held.unlock();
            QCOMPARE(QDir(QFileInfo(lockName).path()).entryList({"config.ini.lock*"}, QDir::AllEntries | QDir::Hidden),
                     QStringList());
            return;
        }
        QVERIFY2(QRegularExpression("^Settings not saved, .* stays as it was: " + reason + "$").match(warnings).hasMatch(),
                 qPrintable(warnings));
        QCOMPARE(readAll(ConfigFile::path()), QByteArray("[A]\nx=1\n"));
        QVERIFY(QFileInfo::exists(lockName)); // what a live console may hold stays
        QCOMPARE(QFileInfo::exists(lockName + QStringLiteral(".rmlock")), lock == QLatin1String("clearing"));
        removeMade();
        const auto settings = ConfigFile::open();
        QVERIFY(ConfigFile::save(*settings)); // the change kept lands
        QCOMPARE(readAll(ConfigFile::path()), QByteArray("[A]\nx=2\n"));
    }

    // The file a save replaces keeps its mode, its ACL, its extended
    // attributes and, as root, its owner: a save as root leaves the
    // operator's own console able to save, and another user the ACL lets
    // write config.ini still can. An attribute the saver may not set is left
    // and the save lands, the others kept.
    void ownerModeAndAttributesKept_data()
    {
        QTest::addColumn<int>("refused"); // the error setting user.label fails with, 0 for none
        QTest::newRow("every attribute") << 0;
        QTest::newRow("one a namespace of the system's") << EPERM;
        QTest::newRow("one a security policy refuses") << EACCES;
        QTest::newRow("one the file system does not take") << ENOTSUP;
    }
    void ownerModeAndAttributesKept()
    {
        QFETCH(int, refused);
        QVERIFY(writeFile(ConfigFile::path(), "[A]\nx=1\n"));
        const QByteArray name = QFile::encodeName(ConfigFile::path());
        QVERIFY(::chmod(name.constData(), 0640) == 0);
        const bool root = ::geteuid() == 0;
        if (root)
            QVERIFY(::chown(name.constData(), 65534, 65534) == 0);
        QString missing;
        const Attributes attributes = setAttributes(name, missing);
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        struct stat before{};
        QVERIFY(::stat(name.constData(), &before) == 0);

        refusedAttribute = "user.label";
        refusedWith = refused;
        const auto refuseNoMore = qScopeGuard([] { refusedWith = 0; });
        QCOMPARE(warningsOf([] { QVERIFY(saveConfigValue(QStringLiteral("A/x"), 2)); }), QString());
        struct stat after{};
        QVERIFY(::stat(name.constData(), &after) == 0);
        QVERIFY(after.st_ino != before.st_ino); // a new file took its place
        QCOMPARE(after.st_mode & 07777, before.st_mode & 07777);
        if (root)
            QCOMPARE(after.st_uid, uid_t(65534));
        for (const auto &attribute : attributes) {
            char value[1024];
            const ssize_t size = ::getxattr(name.constData(), attribute.first.constData(), value, sizeof value);
            const bool left = refused && attribute.first == refusedAttribute;
            QCOMPARE(QByteArray(value, int(std::max<ssize_t>(size, 0))), left ? QByteArray() : attribute.second);
        }
        QCOMPARE(readAll(ConfigFile::path()), QByteArray("[A]\nx=2\n"));
    }

    // Where the owner cannot be given (a saver who is not root), the group
    // still is: the others of config.ini's group can save after this one.
    // Where neither can, the save lands all the same.
    void groupKeptWhereTheOwnerIsNot_data()
    {
        QTest::addColumn<bool>("groupToo"); // the group refused as well
        QTest::addColumn<uint>("group");    // the new file's
        QTest::newRow("the group given") << false << 65533u;
        QTest::newRow("neither given") << true << uint(::getegid());
    }
    void groupKeptWhereTheOwnerIsNot()
    {
        QFETCH(bool, groupToo);
        QFETCH(uint, group);
        if (::geteuid() != 0)
            QSKIP("config.ini of another owner and group needs root to make");
        QVERIFY(writeFile(ConfigFile::path(), "[A]\nx=1\n"));
        const QByteArray name = QFile::encodeName(ConfigFile::path());
        QVERIFY(::chown(name.constData(), 65534, 65533) == 0 && ::chmod(name.constData(), 0664) == 0);
        ownerRefused = true;
        groupRefused = groupToo;
        const auto refuseNoMore = qScopeGuard([] { ownerRefused = groupRefused = false; });
        QCOMPARE(warningsOf([] { QVERIFY(saveConfigValue(QStringLiteral("A/x"), 2)); }), QString());
        struct stat after{};
        QVERIFY(::stat(name.constData(), &after) == 0);
        QCOMPARE(QList<uint>({after.st_uid, after.st_gid, after.st_mode & 07777u}), QList<uint>({0, group, 0664}));
        QCOMPARE(readAll(ConfigFile::path()), QByteArray("[A]\nx=2\n"));
    }

    // An ACL that cannot be set on the new file, for any reason, fails the
    // save: config.ini stays as it was with its ACL, one line names the ACL,
    // and the change lands with the next save. Any other attribute that
    // fails for a reason of the disk's fails it too.
    void refusedAclFailsTheSave_data()
    {
        QTest::addColumn<QByteArray>("attribute");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        const QByteArray acl = "system.posix_acl_access";
        const QString aclReason = QStringLiteral("its ACL system.posix_acl_access cannot be kept: ");
        QTest::newRow("the ACL, by a security policy") << acl << EACCES << aclReason + "Permission denied";
        QTest::newRow("the ACL, by the file system") << acl << ENOTSUP << aclReason + "Operation not supported";
        QTest::newRow("the ACL, a namespace of the system's")
            << acl << EPERM << aclReason + "Operation not permitted";
        QTest::newRow("the ACL, by the disk") << acl << EIO << aclReason + "Input/output error";
        QTest::newRow("a user attribute, by the disk")
            << QByteArray("user.note") << EIO << QStringLiteral("its attribute user.note cannot be kept: Input/output error");
        QTest::newRow("the list of attributes, by the disk")
            << QByteArray() << EIO << QStringLiteral("its attributes cannot be read: Input/output error");
    }
    void refusedAclFailsTheSave()
    {
        QFETCH(QByteArray, attribute);
        QFETCH(int, error);
        QFETCH(QString, reason);
        QVERIFY(writeFile(ConfigFile::path(), "[A]\nx=1\n"));
        const QByteArray name = QFile::encodeName(ConfigFile::path());
        QString missing;
        const Attributes attributes = setAttributes(name, missing);
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        struct stat before{};
        QVERIFY(::stat(name.constData(), &before) == 0);
        refusedAttribute = attribute;
        refusedWith = attribute.isEmpty() ? 0 : error;
        listingFails = attribute.isEmpty();
        const auto refuseNoMore = qScopeGuard([] { refusedWith = 0; listingFails = false; });
        const QString warnings = warningsOf([] { QVERIFY(!saveConfigValue(QStringLiteral("A/x"), 2)); });
        QCOMPARE(warnings, "Settings not saved, " + ConfigFile::path() + " stays as it was: " + reason);
        struct stat after{};
        QVERIFY(::stat(name.constData(), &after) == 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(readAll(ConfigFile::path()), QByteArray("[A]\nx=1\n"));
        for (const auto &kept : attributes) {
            char value[1024];
            const ssize_t size = ::getxattr(name.constData(), kept.first.constData(), value, sizeof value);
            QCOMPARE(QByteArray(value, int(std::max<ssize_t>(size, 0))), kept.second);
        }
        refusedWith = 0;
        listingFails = false;
        QVERIFY(ConfigFile::save(*ConfigFile::open()));
        QCOMPARE(readAll(ConfigFile::path()), QByteArray("[A]\nx=2\n"));
    }

    // Consoles whose config.ini links to one file share the lock beside
    // that file: the lock looked at is the one there (a FIFO, refused at
    // once), none is made beside the link.
    void linkedFilesShareTheirLock()
    {
        const QString shared = QDir::current().filePath(QStringLiteral("shared-elsewhere"));
        QVERIFY(QDir().mkpath(shared));
        QVERIFY(writeFile(shared + QStringLiteral("/config.ini"), "[A]\nx=1\n"));
        QVERIFY(QFile::link(shared + QStringLiteral("/config.ini"), ConfigFile::path()));
        QVERIFY(makeFifo(shared + QStringLiteral("/config.ini.lock")));
        const QString warnings = warningsOf([] { QVERIFY(!saveConfigValue(QStringLiteral("A/x"), 2)); });
        QVERIFY2(warnings.endsWith(shared + QLatin1String("/config.ini.lock is no regular file")), qPrintable(warnings));
        QVERIFY(!QFile::exists(ConfigFile::path() + QStringLiteral(".lock")));
        QVERIFY(QFile::remove(shared + QStringLiteral("/config.ini.lock")));
        QVERIFY(ConfigFile::save(*ConfigFile::open()));
        QCOMPARE(readAll(shared + QStringLiteral("/config.ini")), QByteArray("[A]\nx=2\n"));
    }

    // The folder synced after a save is the one the new file was put in,
    // the target's of a link; a sync that fails is a failed save, told in
    // one line, whose change the next save writes again.
    void folderSyncedIsTheOneReplacedIn()
    {
        const QString elsewhere = QDir::current().filePath(QStringLiteral("synced-elsewhere"));
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(writeFile(elsewhere + QStringLiteral("/config.ini"), "[A]\nx=1\n"));
        QVERIFY(QFile::link(elsewhere + QStringLiteral("/config.ini"), ConfigFile::path()));
        syncedFolders.clear();
        QVERIFY(saveConfigValue(QStringLiteral("A/x"), 2));
        struct stat folder{};
        QVERIFY(::stat(QFile::encodeName(elsewhere).constData(), &folder) == 0);
        QCOMPARE(syncedFolders, (QList<QPair<dev_t, ino_t>>{{folder.st_dev, folder.st_ino}}));

        folderSyncFails = true;
        const QString warnings = warningsOf([] { QVERIFY(!saveConfigValue(QStringLiteral("A/x"), 3)); });
        folderSyncFails = false;
        QVERIFY2(QRegularExpression("^Settings may not be on disk, .*/config.ini was replaced but its folder "
                                    ".*synced-elsewhere cannot be synced: Input/output error$")
                     .match(warnings)
                     .hasMatch(),
                 qPrintable(warnings));
        QVERIFY(writeFile(elsewhere + QStringLiteral("/config.ini"), "[A]\nx=9\n")); // a hand since
        QVERIFY(saveConfigValue(QStringLiteral("A/y"), 1));
        QCOMPARE(readAll(ConfigFile::path()), QByteArray("[A]\nx=3\ny=1\n"));
    }

    // Two consoles in one folder, each saving its own group in turn: each
    // one's last values are in the file.
    void twoConsolesSavingInTurn()
    {
        ChildProcess first;
        ChildProcess second;
        startSaver(first, QStringLiteral("First"), 100);
        startSaver(second, QStringLiteral("Second"), 100);
        QVERIFY(first.waitForFinished(60000) && second.waitForFinished(60000));
        QCOMPARE(first.exitCode() + second.exitCode(), 0);
        const auto keys = readByConsole(ConfigFile::path());
        QCOMPARE(valueIn(keys, "First/Key0") + ' ' + valueIn(keys, "Second/Key0"),
                 QStringLiteral("100 100"));
    }

    // A console stalled between making its lock file and taking its flock
    // keeps its lock: another console saving meanwhile waits for it, and
    // either saves after it or says in one line that it did not, keeping its
    // change for its next save. Neither change is lost, and the stalled
    // console finds its lock file still its own when it lets it go.
    void stalledConsoleKeepsItsLock()
    {
        QVERIFY(writeFile(ConfigFile::path(), "[A]\nx=1\n"));
        QVERIFY(ConfigFile::hasGroup(QStringLiteral("A")));
        ChildProcess stalled;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VW_TEST_FLOCK_STALL_MS"), QStringLiteral("1500"));
        stalled.setProcessEnvironment(environment);
        startSaver(stalled, QStringLiteral("Stalled"), 1, 1, QProcess::ForwardedOutputChannel);
        const QString lockName = ConfigFile::path() + QStringLiteral(".lock");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lockName) || stalled.state() == QProcess::NotRunning, 20000);
        bool saved = false;
        const QString warnings = warningsOf([&] { saved = saveConfigValue(QStringLiteral("A/x"), 2); });
        // Not saved: one line ('|' would join a second), naming the held lock.
        QVERIFY2(saved ? warnings.isEmpty()
                       : QRegularExpression("^Settings not saved, [^|]* stays as it was: [^|]*lock[^|]*$")
                             .match(warnings)
                             .hasMatch(),
                 qPrintable(warnings));
        QVERIFY(stalled.waitForFinished(30000));
        const QByteArray said = stalled.readAllStandardError();
        QVERIFY2(said.contains("stalled before its flock") && !said.contains("Could not remove our own lock file"),
                 said.constData());
        QCOMPARE(stalled.exitCode(), 0);
        if (!saved) {
            const auto settings = ConfigFile::open();
            QVERIFY(ConfigFile::save(*settings));
        }
        const auto keys = readByConsole(ConfigFile::path());
        QCOMPARE(valueIn(keys, "A/x") + ' ' + valueIn(keys, "Stalled/Key0"), QStringLiteral("2 1"));
    }

    // A console killed at any moment of a save leaves config.ini whole, the
    // old file or the new one, and the next save goes through at once when
    // what the kill left is known to be left over.
    void killedMidSaveLeavesAWholeFile()
    {
        QRandomGenerator random(8122026);
        for (int kill = 0; kill < 20; ++kill) {
            ChildProcess saver;
            startSaver(saver, QStringLiteral("Killed"), 1000000, 400);
            QVERIFY(saver.waitForStarted());
            QTest::qWait(random.bounded(20, 120));
            signalProgram(saver, SIGKILL);
            QVERIFY(saver.waitForFinished(10000));
            const auto keys = readByConsole(ConfigFile::path());
            const QString first = valueIn(keys, "Killed/Key0");
            QVERIFY2(keys.isEmpty() || (keys.size() == 400 && valueIn(keys, "Killed/Key399") == first),
                     qPrintable(QStringLiteral("kill %1: %2 keys").arg(kill).arg(keys.size())));
        }
        // A kill leaves a lock naming a process that is gone, cleared at
        // once, or, between making the file and writing into it, an empty
        // one, cleared once it is 30 s old: as if that time had passed. A
        // removal lock so left is cleared the same way; then no lock is left
        // beside config.ini.
        QVERIFY(writeFile(ConfigFile::path() + QStringLiteral(".lock.rmlock"), QByteArray()));
        const QDir folder(QFileInfo(ConfigFile::path()).path());
        for (const QString &name : folder.entryList({"config.ini.lock*"}, QDir::Files | QDir::Hidden)) {
            QFile left(folder.filePath(name));
            QVERIFY(left.size() > 0
                    || (left.open(QIODevice::ReadWrite)
                        && left.setFileTime(QDateTime::currentDateTime().addSecs(-31), QFileDevice::FileModificationTime)));
        }
        ConfigFile::readAgain();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(saveConfigValue(QStringLiteral("Killed/Key0"), -1));
        QVERIFY2(clock.elapsed() < 3000, "the save waited for the lock");
        QCOMPARE(QDir(QFileInfo(ConfigFile::path()).path()).entryList({"config.ini.lock*"}, QDir::AllEntries | QDir::Hidden),
                 QStringList());
        QCOMPARE(readByConsole(ConfigFile::path()).size(), 400);
    }
};

int main(int argc, char *argv[])
{
    if (argc >= 5 && qstrcmp(argv[1], "--saver") == 0)
        return saverMain(argc, argv);
    QApplication app(argc, argv);
    TempFolder folder;
    if (!folder.isValid())
        return 1;
    TestConfigFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_configfile.moc"
