#include <QtTest>

#include <QScopeGuard>

#include <csignal>
#include <optional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include "childprocess.h"
#include "configfile.h"
#include "globalobject.h"
#include "goldenrows.h"
#include "inicodec.h"
#include "savedconfig.h"
#include "tempfolder.h"
#include "warningsof.h"

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

// What QSettings' own INI reader makes of a file, key by key as allKeys()
// names them and value() finds them. It reads a copy under a name of its
// own: QSettings keeps what it read or wrote of a name while its size and
// time stay the same.
QSettings::SettingsMap readByQt(const QString &path)
{
    static int n = 0;
    const QString copy = QDir::current().filePath(QStringLiteral("qt%1.ini").arg(++n));
    if (!QFile::copy(path, copy))
        return {};
    QSettings settings(copy, QSettings::IniFormat);
    QSettings::SettingsMap keys;
    for (const QString &key : settings.allKeys())
        keys.insert(key, settings.value(key));
    return keys;
}

// The console's reading seen as readByQt() sees QSettings': value() finds a
// key by its name without slashes at its ends or doubled (a key that is
// empty or ends in a slash cannot be found).
QSettings::SettingsMap asFound(const QSettings::SettingsMap &read)
{
    QSettings::SettingsMap keys;
    for (const QString &key : read.keys()) {
        const QString name = key.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
        keys.insert(key, name.isEmpty() ? QVariant() : read.value(name));
    }
    return keys;
}

// Where two readings differ, for a failure's message.
QByteArray differences(const QSettings::SettingsMap &ours, const QSettings::SettingsMap &qt)
{
    QStringList lines;
    auto keys = ours.keys() + qt.keys();
    keys.removeDuplicates();
    for (const QString &key : keys) {
        if (ours.value(key) != qt.value(key) || ours.contains(key) != qt.contains(key))
            lines << QStringLiteral("%1: ours %2 %3, Qt's %4 %5")
                         .arg(key, ours.value(key).typeName(), ours.value(key).toStringList().join('|'),
                              qt.value(key).typeName(), qt.value(key).toStringList().join('|'));
    }
    return lines.join(QStringLiteral("; ")).toUtf8();
}
#define COMPARE_READINGS(ours, qt)                                                                                    \
    do {                                                                                                               \
        const auto o = (ours);                                                                                         \
        const auto q = (qt);                                                                                           \
        QVERIFY2(o == q, differences(o, q).constData());                                                               \
    } while (false)

QString freshName()
{
    static int n = 0;
    return QDir::current().filePath(QStringLiteral("text%1.ini").arg(++n));
}

QByteArray sortedLines(const QByteArray &text)
{
    QByteArrayList lines = text.split('\n');
    lines.removeAll(QByteArray());
    std::sort(lines.begin(), lines.end());
    return lines.join('\n');
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

} // namespace

// config.ini read and saved: the INI text as QSettings knows it, a save that
// lands whole or not at all, next to another writer, and nothing elsewhere.
class TestConfigFile : public QObject
{
    Q_OBJECT

    QString tempFolder; // TMPDIR for the test: nothing may land there

    static QSettings::SettingsMap readByConsole(const QString &path) { return IniCodec::parse(readAll(path)); }

    // A child that saves as another console does.
    static void startSaver(ChildProcess &child, const QString &group, int count, int keys = 1)
    {
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({"--saver", appDirPath, group, QString::number(count), QString::number(keys)});
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start();
    }

private slots:
    void initTestCase()
    {
        tempFolder = QDir::current().filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(tempFolder));
        qputenv("TMPDIR", QFile::encodeName(tempFolder));
    }
    void cleanup()
    {
        QFile::remove(ConfigFile::path());
        QVERIFY2(QDir(tempFolder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 "something was put in the temp folder");
    }

    // Every text reads as QSettings' own INI reader reads it.
    void textReadsAsQtReadsIt_data() { goldenRows(QStringLiteral("initext.tsv")); }
    void textReadsAsQtReadsIt()
    {
        const QByteArray text = golden("ini").replace(QStringLiteral("¶"), QStringLiteral("\n"))
                                    .replace(QStringLiteral("␍"), QStringLiteral("\r"))
                                    .replace(QStringLiteral("→"), QStringLiteral("\t"))
                                    .toUtf8();
        QString name = freshName();
        QVERIFY(writeFile(name, text));
        COMPARE_READINGS(asFound(IniCodec::parse(text)), readByQt(name));
        QVERIFY(writeFile(name = freshName(), "\xef\xbb\xbf" + text)); // with a byte order mark
        COMPARE_READINGS(asFound(IniCodec::parse("\xef\xbb\xbf" + text)), readByQt(name));
    }

    // Texts of the characters that mean something in INI, at random.
    void randomTextReadsAsQtReadsIt()
    {
        const char alphabet[] = "[]=;,\"\\ \t\r\n%U@()xa1g";
        QRandomGenerator random(20261208);
        for (int n = 0; n < 400; ++n) {
            QByteArray text;
            const int size = random.bounded(1, 48);
            for (int i = 0; i < size; ++i)
                text += alphabet[random.bounded(int(sizeof alphabet - 1))];
            const QString name = freshName();
            QVERIFY(writeFile(name, text));
            const auto ours = asFound(IniCodec::parse(text));
            const auto qt = readByQt(name);
            QVERIFY2(ours == qt, (text.toPercentEncoding() + ": " + differences(ours, qt)).constData());
        }
    }

    // What the console writes is, line by line, what QSettings writes of the
    // same keys, and reads back as they were.
    void writtenAsQtWritesIt()
    {
        QSettings::SettingsMap keys{
            {"Top", "1"},
            {"general/x", "group named general"},
            {"MainSetting/Row", 3},
            {"MainSetting/On", true},
            {"MainSetting/Ratio", 0.25},
            {"MainSetting/Big", Q_INT64_C(-9007199254740993)},
            {"MainSetting/SceneList/1/Scene", "two, three"},
            {"MainSetting/SceneList/size", 1},
            {"S/plain", "value"},
            {"S/specials", "a;b=c,d"},
            {"S/spaces", "  both ends  "},
            {"S/quotes", "say \"hi\" \\ back"},
            {"S/controls", QString::fromUtf8("\a\b\f\n\r\t\v\x1f end")},
            {"S/null", QString(QChar(0)) + "1a"},
            {"S/hexafter", QString::fromUtf8("é1") + QChar(0x7f) + "f"},
            {"S/cjk", QString::fromUtf8("中文名 ü")},
            {"S/emoji", QString::fromUtf8("😀x")},
            {"S/at", "@notatype"},
            {"S/atat", "@@"},
            {"S/empty", ""},
            {"S/list", QStringList{"a", " b ", "c,d", "@e"}},
            {"S/emptylist", QStringList{}},
            {"S/onelist", QStringList{"only"}},
            {"S/bytes", QByteArray("\x00\x01 raw\xff", 7)},
            {"S/rect", QRect(1, -2, 3, 4)},
            {"S/size", QSize(5, 6)},
            {"S/point", QPoint(-7, 8)},
            {"S/colour", QColor(10, 20, 30)},
            {"S/time", QDateTime(QDate(2026, 12, 8), QTime(9, 30), Qt::UTC)},
            {"S/invalid", QVariant()},
            {"S/variants", QVariantList{1, "two"}},
            {QString::fromUtf8("Key s/na me%\\中"), "odd key"},
        };
        const QString byQt = freshName();
        {
            QSettings settings(byQt, QSettings::IniFormat);
            for (auto it = keys.cbegin(); it != keys.cend(); ++it)
                settings.setValue(it.key(), it.value());
        }
        const QByteArray text = IniCodec::write(keys);
        QCOMPARE(sortedLines(text), sortedLines(readAll(byQt)));
        const QString byConsole = freshName();
        QVERIFY(writeFile(byConsole, text));
        COMPARE_READINGS(readByQt(byConsole), readByQt(byQt));
        COMPARE_READINGS(asFound(IniCodec::parse(text)), readByQt(byQt));
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
        QSettings::SettingsMap keys = IniCodec::parse(bytes);
        keys.insert(QStringLiteral("MainSetting/Row"), 4);
        const int over = IniCodec::write(keys).size() - int(ConfigFile::maxBytes);
        keys.insert(QStringLiteral("Notes/Text"), QString(keys.value("Notes/Text").toString().size() - over, 'x'));
        bytes = IniCodec::write(keys);
        QCOMPARE(bytes.size(), int(ConfigFile::maxBytes));
        keys.insert(QStringLiteral("MainSetting/Row"), 3);
        QVERIFY(writeFile(ConfigFile::path(), IniCodec::write(keys)));
        QString warnings = warningsOf([] { QVERIFY(saveConfigValue(QStringLiteral("MainSetting/Row"), 4)); });
        QCOMPARE(warnings, QString());
        QCOMPARE(readAll(ConfigFile::path()), bytes);

        // A save onto a file of exactly the bound, written by another hand
        // (a comment, spaces, no line end at its end), reads all of it.
        const QByteArray end = "\n[Z]\nz=9";
        const QByteArray hand = ";\n[MainSetting]\nRow = 3\n[Notes]\nText=";
        QVERIFY(writeFile(ConfigFile::path(),
                          hand + QByteArray(int(ConfigFile::maxBytes) - hand.size() - end.size(), 'x') + end));
        QVERIFY(saveConfigValue(QStringLiteral("MainSetting/Row"), 4));
        QCOMPARE(readByConsole(ConfigFile::path()).value("Z/z").toString(), QStringLiteral("9"));

        QVERIFY(writeFile(ConfigFile::path(), bytes + '\n'));
        warnings = warningsOf([] { QVERIFY(!saveConfigValue(QStringLiteral("MainSetting/Row"), 5)); });
        QCOMPARE(readAll(ConfigFile::path()), bytes + '\n');
        QVERIFY(warnings.startsWith("Settings not read or saved, " + ConfigFile::path() + " is larger than"));
    }

    // A save that cannot be made whole leaves config.ini byte for byte as it
    // was, says why in one line however many saves of the close fail alike,
    // and the next start reads the file; once the fault is gone the changes
    // of the failed saves land with the next.
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
        // QSettings reads the file again at a save. The close's next window
        // cannot read it either: what that window changed is not kept.
        QTest::newRow("a config.ini that cannot be read now")
            << "unreadable" << "Permission denied\\|Settings not read or saved, .* cannot be read: Permission denied"
            << "2121";
        QTest::newRow("a link to a missing file")
            << "dangling" << "it links to .*/elsewhere/config.ini, which is missing" << "221";
        // The close's next window finds the file too large to read: it is
        // left alone, and what that window changed is not kept.
        QTest::newRow("a file grown past the bound since it was read")
            << "grown" << "it was not read whole\\|Settings not read or saved, .* is larger than 1048576 bytes: \\d+ bytes"
            << "2121";
    }
    void failedSaveLeavesTheFileAsItWas()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        QFETCH(QString, mended);
        const QString folder = QDir::current().filePath(fault);
        std::optional<SmallDisk> disk;
        if (fault == QLatin1String("disk") && !disk.emplace(folder, 4).mounted())
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
        const QByteArray held = readAll(ConfigFile::path());
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlim_t soft = limit.rlim_cur;
        if (fault == QLatin1String("limit")) {
            ::signal(SIGXFSZ, SIG_IGN);
            limit.rlim_cur = 4096;
            QVERIFY(::setrlimit(RLIMIT_FSIZE, &limit) == 0);
        }
        const auto saveRowAndColumn = [&] {
            settings->setValue(QStringLiteral("MainSetting/Row"), 2);
            QVERIFY(!ConfigFile::save(*settings));
            QVERIFY(!saveConfigValue(QStringLiteral("MainSetting/Column"), 2)); // the close's next window
        };
        const QString warnings
            = warningsOf([&] { writeOnly ? writeOnly->asOwner(saveRowAndColumn) : saveRowAndColumn(); });
        limit.rlim_cur = soft;
        ::setrlimit(RLIMIT_FSIZE, &limit);

        QCOMPARE(readAll(ConfigFile::path()), held);
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
        QCOMPARE(readByConsole(ConfigFile::path()).value("MainSetting/Row").toString(),
                 fault == QLatin1String("dangling") ? QString() : QStringLiteral("10"));
        QVERIFY(saveConfigValue(QStringLiteral("MainSetting/Skin"), 1));
        const auto saved = readByConsole(target);
        QCOMPARE(saved.value("MainSetting/Row").toString() + saved.value("MainSetting/Column").toString()
                     + saved.value("MainSetting/Skin").toString(),
                 mended);
        QFile::remove(ConfigFile::path());
    }

    // One line per fault while saves keep failing for one reason; a save that
    // lands in between ends it, and the same fault again is told again.
    void faultAfterASaveToldAgain()
    {
        QVERIFY(writeFile(ConfigFile::path(), "[MainSetting]\nRow=10\n"));
        QStringList lines;
        for (const bool readOnly : {true, true, false, true}) {
            const std::unique_ptr<ReadOnly> fault(readOnly ? new ReadOnly(ConfigFile::path()) : nullptr);
            QVERIFY(!fault || fault->done());
            lines << warningsOf([&] { QCOMPARE(saveConfigValue(QStringLiteral("MainSetting/Column"), 12), !fault); });
        }
        QVERIFY2(lines.at(0).startsWith(QLatin1String("Settings not saved")) && lines.at(1).isEmpty()
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

    // Another writer saved between this console's read and its save: its
    // keys stay and this console's changes go over them, whether QSettings
    // could tell from the file's size and time or not.
    void anotherWritersKeysStay_data()
    {
        QTest::addColumn<QByteArray>("other");
        QTest::addColumn<bool>("sameTime");
        QTest::addColumn<QByteArray>("saved");
        const QByteArray start = "[A]\nx=1\n\n[B]\ny=1\n";
        QTest::newRow("a group added") << start + "\n[C]\nz=1\n" << false << QByteArray("[A]\nx=2\n\n[B]\ny=1\n\n[C]\nz=1\n");
        QTest::newRow("a key changed, same size and time") << QByteArray("[A]\nx=1\n\n[B]\ny=7\n") << true
                                                           << QByteArray("[A]\nx=2\n\n[B]\ny=7\n");
        QTest::newRow("the key this console changes, same size and time") << QByteArray("[A]\nx=9\n\n[B]\ny=1\n")
                                                                          << true << QByteArray("[A]\nx=2\n\n[B]\ny=1\n");
        QTest::newRow("a key removed") << QByteArray("[A]\nx=1\n") << false << QByteArray("[A]\nx=2\n");
        QTest::newRow("the file removed") << QByteArray() << false << QByteArray("[A]\nx=2\n");
    }
    void anotherWritersKeysStay()
    {
        QFETCH(QByteArray, other);
        QFETCH(bool, sameTime);
        QFETCH(QByteArray, saved);
        QVERIFY(writeFile(ConfigFile::path(), "[A]\nx=1\n\n[B]\ny=1\n"));
        const auto settings = ConfigFile::open();
        QCOMPARE(settings->value(QStringLiteral("B/y")).toString(), QStringLiteral("1"));
        const QFileInfo was(ConfigFile::path());
        const QDateTime time = was.lastModified();
        if (other.isEmpty()) {
            QVERIFY(QFile::remove(ConfigFile::path()));
        } else {
            QVERIFY(writeFile(ConfigFile::path() + QStringLiteral(".new"), other));
            QVERIFY(::rename(QFile::encodeName(ConfigFile::path() + QStringLiteral(".new")),
                             QFile::encodeName(ConfigFile::path()))
                    == 0);
        }
        if (sameTime) {
            QFile file(ConfigFile::path());
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
        }
        settings->setValue(QStringLiteral("A/x"), 2);
        QVERIFY(ConfigFile::save(*settings));
        QCOMPARE(readAll(ConfigFile::path()), saved);
    }

    // A file of the same size put in place within the same tick of the
    // system's clock as this console's last save is read as it is now.
    void anotherWritersFileOfTheSameTimeIsRead()
    {
        QVERIFY(writeFile(ConfigFile::path(), "[A]\nx=1\n"));
        QVERIFY(saveConfigValue(QStringLiteral("B/y"), 1));
        const QDateTime time = QFileInfo(ConfigFile::path()).lastModified();
        QVERIFY(writeFile(ConfigFile::path() + QStringLiteral(".new"), "[A]\nx=7\n\n[B]\ny=1\n"));
        QVERIFY(QFile::remove(ConfigFile::path()));
        QVERIFY(QFile::rename(ConfigFile::path() + QStringLiteral(".new"), ConfigFile::path()));
        QFile file(ConfigFile::path());
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(ConfigFile::open()->value(QStringLiteral("A/x")).toString(), QStringLiteral("7"));
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
        QCOMPARE(keys.value("First/Key0").toString() + ' ' + keys.value("Second/Key0").toString(),
                 QStringLiteral("100 100"));
    }

    // A console killed at any moment of a save leaves config.ini whole, the
    // old file or the new one, and the next save goes through at once, even
    // after a kill between making the lock file and writing into it.
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
            const QString first = keys.value("Killed/Key0").toString();
            QVERIFY2(keys.isEmpty() || (keys.size() == 400 && keys.value("Killed/Key399").toString() == first),
                     qPrintable(QStringLiteral("kill %1: %2 keys").arg(kill).arg(keys.size())));
        }
        QFile lock(ConfigFile::path() + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-5), QFileDevice::FileModificationTime));
        lock.close();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(saveConfigValue(QStringLiteral("Killed/Key0"), 0));
        QVERIFY2(clock.elapsed() < 15000, "the save waited for the lock to grow old"); // QSettings alone: 25 s
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
