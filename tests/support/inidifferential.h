#ifndef INIDIFFERENTIAL_H
#define INIDIFFERENTIAL_H

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRect>
#include <QScopeGuard>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <utility>

#include "configfile.h"
#include "globalobject.h"
#include "initext.h"

// The console's INI text against QSettings' own IniFormat: texts and key
// sets made at random from a seed, each read or written by both, and saves
// of one key over such a text. A difference comes back as one line that
// names it; an empty line is none.
namespace IniDifferential {

inline QString printable(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toPercentEncoding(" []=;,@()/"));
}
inline QString printable(const QString &text)
{
    return printable(text.toUtf8());
}
inline QString printable(const QVariant &value)
{
    const QStringList items = value.canConvert<QStringList>() ? value.toStringList() : QStringList{value.toString()};
    return QStringLiteral("%1 [%2]").arg(value.typeName(), printable(items.join('|')));
}

inline bool writeBytes(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}
inline QByteArray bytesOf(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

// QSettings' reading of a text, key by key as allKeys() names them and
// value() finds them, from a file of its own: QSettings keeps what it read
// of a name while the file's size and time stay the same.
inline QSettings::SettingsMap readByQt(const QByteArray &text)
{
    static int n = 0;
    const QString name = QDir::current().filePath(QStringLiteral("differential%1.ini").arg(++n));
    QSettings::SettingsMap keys;
    if (!writeBytes(name, text))
        return {{QStringLiteral("<not written>"), true}};
    {
        QSettings settings(name, QSettings::IniFormat);
        for (const QString &key : settings.allKeys()) // value() warns of a name that is only slashes
            keys.insert(key, key.count(QLatin1Char('/')) == key.size() ? QVariant() : settings.value(key));
    }
    QFile::remove(name);
    return keys;
}

// The bytes QSettings writes of the keys, set in the order given.
inline QByteArray writtenByQt(const QList<QPair<QString, QVariant>> &keys)
{
    static int n = 0;
    const QString name = QDir::current().filePath(QStringLiteral("differential-w%1.ini").arg(++n));
    {
        QSettings settings(name, QSettings::IniFormat);
        for (const auto &key : keys)
            settings.setValue(key.first, key.second);
    }
    const QByteArray bytes = bytesOf(name);
    QFile::remove(name);
    return bytes;
}

// The console's reading seen as QSettings shows its own: value() finds a
// key by its name without slashes at its ends or doubled.
inline QVariant foundByConsole(const IniText::Keys &keys, const QString &key)
{
    const QString name = key.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
    const auto found = keys.constFind(name);
    return found == keys.cend() ? QVariant() : found->toVariant();
}

// A name value() finds as it is: QSettings changes others before it looks
// them up (slashes at the ends or doubled, blanks), and no window asks for
// such a name.
inline bool isPlain(const QString &key)
{
    return !key.isEmpty() && key == key.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'))
           && key == key.trimmed();
}

// Alike in kind too: QVariant's == takes a one-item list for its text, and
// a number for its digits.
inline bool sameValue(const QVariant &a, const QVariant &b)
{
    return a.userType() == b.userType() && a == b;
}

// Texts and lists must read alike; a value of another kind QSettings decodes
// the console keeps as found (it shows nothing of it).
inline QString readingDifference(const IniText::Keys &ours, const QSettings::SettingsMap &qt)
{
    QStringList lines;
    for (auto it = qt.cbegin(); it != qt.cend(); ++it) {
        const int type = it.value().userType();
        const bool text = type == QMetaType::QString || type == QMetaType::QStringList;
        const QVariant found = foundByConsole(ours, it.key());
        const bool alike = text ? sameValue(found, it.value()) : !found.isValid();
        if (!ours.contains(it.key()) || (isPlain(it.key()) && !alike))
            lines << QStringLiteral("%1: ours %2, Qt's %3").arg(printable(it.key()), printable(found), printable(it.value()));
    }
    for (auto it = ours.cbegin(); it != ours.cend(); ++it) {
        if (!qt.contains(it.key()))
            lines << QStringLiteral("%1: ours only").arg(printable(it.key()));
    }
    return lines.join(QStringLiteral("; "));
}

// Let through, so that every other change of kind shows: a list with an
// item holding a NUL is written as QSettings writes it, that item as
// "@String(...)", and QSettings reads such a list back as a QVariantList,
// the console as another program's value; so it changes kind in a rewrite.
// No field of the console takes a NUL.
inline bool listWithNulRewritten(const QVariant &a, const QVariant &b)
{
    const QStringList items = a.toStringList();
    const auto nul = [](const QString &item) { return item.contains(QChar(0)); };
    return a.userType() == QMetaType::QStringList && b.userType() == QMetaType::QVariantList
           && b.toStringList() == items && std::any_of(items.cbegin(), items.cend(), nul);
}

// Values and their kinds alike as QSettings reads them, whatever the kind.
inline QString sameReading(const QSettings::SettingsMap &a, const QSettings::SettingsMap &b)
{
    QStringList lines;
    auto keys = a.keys() + b.keys();
    keys.removeDuplicates();
    for (const QString &key : keys) {
        const QVariant x = a.value(key);
        const QVariant y = b.value(key);
        const bool alike = sameValue(x, y) || listWithNulRewritten(x, y) || listWithNulRewritten(y, x);
        if (isPlain(key) && (a.contains(key) != b.contains(key) || !alike))
            lines << QStringLiteral("%1: %2 against %3").arg(printable(key), printable(x), printable(y));
    }
    return lines.join(QStringLiteral("; "));
}

// A text read by both reads alike, and what the console writes of it reads
// in QSettings as the text itself does.
inline QString textDifference(const QByteArray &text)
{
    const IniText::Keys ours = IniText::read(text);
    const QSettings::SettingsMap qt = readByQt(text);
    QString difference = readingDifference(ours, qt);
    if (difference.isEmpty())
        difference = sameReading(readByQt(IniText::write(ours)), qt);
    return difference.isEmpty() ? QString() : printable(text) + QStringLiteral(": ") + difference;
}

// Keys written by both come out the same bytes, and read back alike. The
// console makes a value of the kinds a window sets from a QVariant; one of
// another kind (an invalid QVariant too, which fromVariant() makes an empty
// text) it only ever takes from a text, here the one QSettings wrote, and
// must write it back as it was.
inline QString keysDifference(const QList<QPair<QString, QVariant>> &keys)
{
    const QByteArray byQt = writtenByQt(keys);
    const IniText::Keys read = IniText::read(byQt);
    IniText::Keys ours;
    for (const auto &key : keys) {
        const int type = key.second.userType();
        const bool set = type == QMetaType::Int || type == QMetaType::QString || type == QMetaType::QStringList;
        ours.insert(key.first, set ? IniText::Value::fromVariant(key.second) : read.value(key.first));
    }
    const QByteArray byConsole = IniText::write(ours);
    if (byQt != byConsole)
        return QStringLiteral("written: ours %1, Qt's %2").arg(printable(byConsole), printable(byQt));
    const QString difference = readingDifference(read, readByQt(byQt));
    return difference.isEmpty() ? QString() : printable(byQt) + QStringLiteral(": ") + difference;
}

// A text of pieces that mean something in INI.
inline QByteArray randomText(QRandomGenerator &random)
{
    static const QByteArray nul(1, '\0');
    static const QByteArray pieces[] = {
        "[", "]", "=", ";", ",", "\"", "\\", " ", "\t", "\r", "\n", "\n", "%", "U", "@", "(", ")", "x", "a", "1",
        "0", "7", "g", "F", "\\x", "\\0", "%4", "%U00", "@@", "@String(", "@ByteArray(", "@Rect(1 2 3 4)",
        "@Invalid()", "@Size(5 6)", "@Point(7 -8)", "General", "\xc3\xa9", "\xff", "\xe4\xb8", "/", "\n[S]\n", "k=",
        "\\\n", "\\\r\n", "\f", "\v", "\xa0", "\x85", nul};
    QByteArray text;
    if (random.bounded(8) == 0)
        text = "\xef\xbb\xbf";
    const int count = random.bounded(1, 40);
    for (int i = 0; i < count; ++i)
        text += pieces[random.bounded(int(sizeof pieces / sizeof *pieces))];
    return text;
}

// Characters INI escapes, quotes or splits at, and some of each width.
inline QString randomWord(QRandomGenerator &random, int most)
{
    static const QString letters = QString::fromUtf8("aZ09-._ /\\%=;,\"'@[]\t\né中😀") + QChar(0) + QChar(0x7f)
                                   + QChar(0x1f) + QChar(0xff) + QChar(0xffff);
    QString text;
    for (int size = random.bounded(most + 1); size > 0; --size)
        text += letters.at(random.bounded(letters.size()));
    return text;
}

// One to three names of any character but slashes, none empty.
inline QString randomKey(QRandomGenerator &random)
{
    const auto name = [&random] {
        QString text;
        do
            text = randomWord(random, 4).remove(QLatin1Char('/')).remove(QLatin1Char('\\'));
        while (text.isEmpty());
        return text;
    };
    QString key = name();
    for (int depth = random.bounded(3); depth > 0; --depth)
        key = name() + QLatin1Char('/') + key;
    return key;
}

// A value of the kinds a window sets: a number, a text, or a list of up to
// three items (QSettings writes an empty one as "@Invalid()", one of one
// item as that item).
inline QVariant randomValue(QRandomGenerator &random)
{
    switch (random.bounded(4)) {
    case 0:
        return random.bounded(-1000, 100000);
    case 1: {
        QStringList list;
        for (int n = random.bounded(4); n > 0; --n)
            list << randomWord(random, 4);
        return list;
    }
    default:
        return randomWord(random, 8);
    }
}

// A value of another program's, of a kind QSettings writes as "@...(...)".
inline QVariant randomOtherValue(QRandomGenerator &random)
{
    int n[4];
    for (int &number : n)
        number = random.bounded(-1000, 1000);
    switch (random.bounded(7)) {
    case 0: {
        static const char special[] = "\0\t\n\r \",;=@()\\\x7f\xff" "7f";
        QByteArray bytes;
        for (int size = random.bounded(6); size > 0; --size)
            bytes += random.bounded(2) ? special[random.bounded(int(sizeof special) - 1)] : char(random.bounded(256));
        return bytes;
    }
    case 1:
        return QRect(n[0], n[1], n[2], n[3]);
    case 2:
        return QSize(n[0], n[1]);
    case 3:
        return QPoint(n[0], n[1]);
    case 4:
        return n[2] > 500 ? QDateTime() : QDateTime::fromMSecsSinceEpoch(n[0] * qint64(3e9) + n[1], Qt::OffsetFromUTC,
                                                                        n[3] * 60);
    case 5: // written as "@Variant(...)"
        return QRectF(n[0] / 4.0, n[1] / 4.0, n[2] / 4.0, n[3] / 4.0);
    default:
        return QVariant();
    }
}

// Keys of groups and names of any character: texts, numbers and lists, and
// now and then another program's value.
inline QList<QPair<QString, QVariant>> randomKeys(QRandomGenerator &random)
{
    QList<QPair<QString, QVariant>> keys;
    for (int count = random.bounded(1, 8); count > 0; --count) {
        const QString key = randomKey(random);
        keys.append({key, random.bounded(6) ? randomValue(random) : randomOtherValue(random)});
    }
    return keys;
}

// A save of one key, as a window's close makes it, over a text another hand
// wrote, as config.ini of a folder of its own; after it appDirPath is as it
// was and the session forgotten. Before the text go a few other programs'
// values and the value the key is set to, under [Kept] as QSettings writes
// them. After the save QSettings reads the key as it reads that value and
// every other key as it read it before, and what QSettings wrote stands in
// the file byte for byte. A key whose name QSettings changes before it
// looks it up (see isPlain()) is neither compared nor chosen.
inline QString saveDifference(const QByteArray &text, QRandomGenerator &random)
{
    static const QByteArray byteOrderMark("\xef\xbb\xbf");
    const QString setTo = QStringLiteral("Kept/Set");
    const QVariant value = randomValue(random);
    QList<QPair<QString, QVariant>> kept{{setTo, value}};
    for (int n = random.bounded(1, 4); n > 0; --n)
        kept.append({QStringLiteral("Kept/Other%1").arg(n), randomOtherValue(random)});
    const QByteArray keptText = writtenByQt(kept);
    const int mark = text.startsWith(byteOrderMark) ? byteOrderMark.size() : 0;
    const QByteArray file = text.left(mark) + keptText + "[General]\n" + text.mid(mark);

    QTemporaryDir folder(QDir::current().filePath(QStringLiteral("differential-save-XXXXXX")));
    const QString oldAppDir = std::exchange(appDirPath, folder.path());
    const auto restore = qScopeGuard([&oldAppDir] {
        ConfigFile::readAgain();
        appDirPath = oldAppDir;
    });
    ConfigFile::readAgain();
    if (!folder.isValid() || !writeBytes(ConfigFile::path(), file))
        return QStringLiteral("config.ini not written in %1").arg(folder.path());
    const QSettings::SettingsMap before = readByQt(file);
    const IniText::Keys read = IniText::read(file);
    QStringList both; // names both read that QSettings finds as they are
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (isPlain(it.key()) && read.contains(it.key()))
            both << it.key();
    }
    QString key = both.isEmpty() || random.bounded(2) ? QString() : both.at(random.bounded(both.size()));
    while (key.isEmpty()) {
        key = randomKey(random);
        if (!isPlain(key) || before.contains(key) || read.contains(key))
            key.clear();
    }
    const auto settings = ConfigFile::open();
    settings->setValue(key, value);
    const bool saved = ConfigFile::save(*settings);
    const QByteArray after = bytesOf(ConfigFile::path());

    QSettings::SettingsMap expected = before;
    expected.insert(key, before.value(setTo));
    QStringList lines{saved ? sameReading(readByQt(after), expected) : QStringLiteral("not saved")};
    for (const QByteArray &line : keptText.split('\n')) {
        const int equals = line.indexOf('=');
        const QString name = QStringLiteral("Kept/") + QString::fromLatin1(line.left(equals));
        if (equals > 0 && name != key && !('\n' + after).contains('\n' + line + '\n'))
            lines << printable(line) + QStringLiteral(" not kept as it was");
    }
    lines.removeAll(QString());
    if (lines.isEmpty())
        return QString();
    return QStringLiteral("%1 with %2 set to %3: %4")
        .arg(printable(file), printable(key), printable(value), lines.join(QStringLiteral("; ")));
}

} // namespace IniDifferential

#endif // INIDIFFERENTIAL_H
