#include "configfile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

#include "globalobject.h"
#include "inicodec.h"

namespace ConfigFile {

QString path()
{
    return appDirPath + QStringLiteral("/config.ini");
}

namespace {

// The keys the console keeps, by group. An array goes by its name: its
// entries and its size stand below it.
struct OwnGroup
{
    const char *group;
    const char *keys; // separated by spaces
};
const OwnGroup ownGroups[] = {
    {"MainSetting", "Language Skin Row Column Username Userimage SignalIndex MatrixInputIndex SceneIndex DelayOn "
                    "MatrixSelect Fan1 Fan2 MatrixBeginIn MatrixEndIn MatrixBeginOut MatrixEndOut MatrixSec "
                    "SceneBegin SceneEnd SceneSec VideoMatrixIn DviMatrixIn VgaMatrixIn HdmiMatrixIn "
                    "GeneralMatrixIn SceneList"},
    {"MatrixConfig", "VideoId DviId VgaId HdmiId ResponseTime IntervalTime priority VideoInputNum DviInputNum "
                     "VgaInputNum HdmiInputNum VideoIndex VgaIndex DviIndex HdmiIndex SdiIndex MatrixOut"},
    {"PortConfig", "ConMethod LPort VPort DPort VLink DLink Addr Port AutoOpen ComList"},
    {"FontSetting", "Text TDelay Transparent BgColorIndex"},
    {"AlienSetting", "HorizontalStart HorizontalSize VerticalStart VerticalSize WResolution HResolution "
                     "TotalLenghtL TotalLenghtH SingleLenghtL SingleLenghtH IntervalLength IntervalHeight"},
    {"EdgeSetting", "HAdjust VAdjust"},
    {"PictureSetting", "Red Green Blue"},
    {"TimingConfig", "Model StartHour StartMin EndHour EndMin Switch"},
};

// The longest value the console writes: a logo path of PATH_MAX bytes (a
// caption holds 4000 characters, a name 64). A longer one came from another
// hand, and every start would cut it anyway.
constexpr int longestValue = 4095;

int valueLength(const QVariant &value)
{
    if (value.userType() == QMetaType::QStringList) // "a, b" reads as a list
        return value.toStringList().join(QStringLiteral(", ")).size();
    return value.toString().size();
}

bool isOwn(const QString &key, const QVariant &value)
{
    const QStringList parts = key.split(QLatin1Char('/'));
    const auto own = std::find_if(std::begin(ownGroups), std::end(ownGroups),
                                  [&](const OwnGroup &g) { return parts.first() == QLatin1String(g.group); });
    return parts.size() > 1 && own != std::end(ownGroups)
           && QString::fromLatin1(own->keys).split(QLatin1Char(' ')).contains(parts.at(1))
           && valueLength(value) <= longestValue;
}

// Once for each file: a console that keeps running on the same file says a
// thing about it once, whatever number of windows open the settings.
bool firstTime(QString &named, const QString &identity)
{
    if (identity == named)
        return false;
    named = identity;
    return true;
}

// QSettings reads the whole file into memory and keeps every key of it: a
// file of a gigabyte costs gigabytes and minutes, at start and again when a
// window saves its group. Each start names a refused file once, however many
// windows open the settings.
bool tooLarge(const QFileInfo &info)
{
    if (info.size() <= maxBytes)
        return false;
    static QString named;
    if (firstTime(named, fileIdentity(info)))
        qWarning("Settings not read or saved, %s is larger than %lld bytes: %lld bytes",
                 qPrintable(QDir::toNativeSeparators(info.absoluteFilePath())), maxBytes, info.size());
    return true;
}

// Settings below a file find nothing to read, and their writes fail because
// no folder (nor lock file) can be made there: the file itself is left alone.
std::unique_ptr<QSettings> refused()
{
    return std::make_unique<QSettings>(path() + QStringLiteral("/config.ini"), QSettings::IniFormat);
}

// What a file held when this console last read or wrote it, by the name
// QSettings gives it, and what QSettings takes it to hold: a save finds out
// from them whether another writer saved in between, and which keys this
// console changed since.
struct Known
{
    QByteArray bytes;
    QSettings::SettingsMap keys;       // of bytes
    QSettings::SettingsMap believed;   // QSettings' own view of the file
};

// QSettings hands its read and write functions a device only: what they
// share lives here, one for the process.
struct Files
{
    QMutex mutex;
    QHash<QString, Known> known;
    QSet<QString> unread; // refused when last read: never written over
};
Files &files()
{
    static Files f;
    return f;
}

// Set while save() syncs: QSettings also syncs on its own (when its object
// goes, or at an open after a failed save), and none of those writes.
thread_local bool saving = false;
// Why the write of the save under way failed: a whole warning line.
thread_local QString failure;
// Whether it wrote: QSettings keeps the first error it met for good.
thread_local bool written = false;

QString nativeName(const QString &name)
{
    return QDir::toNativeSeparators(name);
}

void fail(const QString &name, const QString &reason)
{
    failure = QStringLiteral("Settings not saved, %1 stays as it was: %2").arg(nativeName(name), reason);
}

// config.ini's bytes as they are now, at most maxBytes of them; an empty
// array for no file. False for a file that cannot be read whole.
bool readNow(const QString &name, QByteArray &bytes, QString &reason)
{
    const QFileInfo info(name);
    bytes.clear();
    if (!info.exists())
        return true;
    QFile file(name);
    if (!info.isFile()) {
        reason = QStringLiteral("it is no regular file now");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return false;
    }
    bytes = file.read(maxBytes + 1);
    if (file.error() != QFile::NoError) {
        reason = file.errorString();
        return false;
    }
    if (bytes.size() > maxBytes) {
        reason = QStringLiteral("it is larger than %1 bytes now").arg(maxBytes);
        return false;
    }
    return true;
}

bool readConfig(QIODevice &device, QSettings::SettingsMap &keys)
{
    const auto *file = qobject_cast<QFileDevice *>(&device);
    const QString name = file ? file->fileName() : QString();
    const QByteArray bytes = device.read(maxBytes + 1);
    const bool whole = file && file->error() == QFile::NoError && bytes.size() <= maxBytes;
    if (whole)
        keys = IniCodec::parse(bytes);
    QMutexLocker lock(&files().mutex);
    if (!whole) { // it grew past the bound since open() looked at it
        files().unread.insert(name);
        files().known.remove(name);
        return false;
    }
    files().unread.remove(name);
    files().known.insert(name, Known{bytes, keys, keys});
    return true;
}

// The keys to write: QSettings' own, unless another writer saved since this
// console read the file and QSettings missed it (it compares size and
// modification time only, to the millisecond). Then the file as it is now,
// with the keys this console changed since. QSettings reads an empty or
// missing file without calling readConfig(): it then knows of no key, and
// every key it hands over is a change.
bool mergeNow(const QString &name, const QSettings::SettingsMap &keys, QSettings::SettingsMap &merged)
{
    const Known base = files().known.value(name);
    QByteArray now;
    QString reason;
    if (!readNow(name, now, reason)) {
        fail(name, reason);
        return false;
    }
    merged = keys;
    if (now.isEmpty() || (now == base.bytes && base.keys == base.believed))
        return true;
    merged = now == base.bytes ? base.keys : IniCodec::parse(now);
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        const auto was = base.believed.constFind(it.key());
        if (was == base.believed.cend() || was.value() != it.value())
            merged.insert(it.key(), it.value());
    }
    for (auto it = base.believed.cbegin(); it != base.believed.cend(); ++it) {
        if (!keys.contains(it.key()))
            merged.remove(it.key());
    }
    return true;
}

// The text to save, within maxBytes: without the keys the console does not
// keep when all of them would pass it (named in one line), or none.
bool boundedText(const QString &name, QSettings::SettingsMap &keys, QByteArray &bytes)
{
    bytes = IniCodec::write(keys);
    if (bytes.size() <= maxBytes)
        return true;
    for (auto it = keys.begin(); it != keys.end();)
        it = isOwn(it.key(), it.value()) ? std::next(it) : keys.erase(it);
    bytes = IniCodec::write(keys);
    if (bytes.size() > maxBytes) {
        failure = QStringLiteral("Settings not saved, %1 would be larger than %2 bytes").arg(nativeName(name)).arg(maxBytes);
        return false;
    }
    qWarning("Settings saved without the keys the console does not keep, %s would be larger than %lld bytes with "
             "them",
             qPrintable(nativeName(name)), maxBytes);
    return true;
}

// Every byte is on disk, or the file QSettings renames over config.ini is
// thrown away: each write, the flush and the sync are checked here, because
// QSaveFile::commit() renames even after its own flush failed.
bool writeWhole(QFileDevice &file, const QByteArray &bytes)
{
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        // After a short write Qt knows no reason ("Unknown error"): the
        // system's is the one that says it.
        fail(file.fileName(), errno ? QString::fromLocal8Bit(std::strerror(errno)) : file.errorString());
        return false;
    }
    if (::fsync(file.handle()) != 0) {
        fail(file.fileName(), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

bool writeConfig(QIODevice &device, const QSettings::SettingsMap &keys)
{
    auto *file = qobject_cast<QFileDevice *>(&device);
    if (!saving || !file)
        return false;
    const QString name = file->fileName();
    QMutexLocker lock(&files().mutex);
    if (files().unread.contains(name)) {
        fail(name, QStringLiteral("it was not read whole"));
        return false;
    }
    QSettings::SettingsMap merged;
    QByteArray bytes;
    if (!mergeNow(name, keys, merged) || !boundedText(name, merged, bytes) || !writeWhole(*file, bytes))
        return false;
    files().known.insert(name, Known{bytes, merged, keys});
    written = true;
    return true;
}

QSettings::Format format()
{
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity keyCase = Qt::CaseInsensitive; // as QSettings' own INI there
#else
    const Qt::CaseSensitivity keyCase = Qt::CaseSensitive;
#endif
    static const QSettings::Format registered = QSettings::registerFormat(QStringLiteral("ini"), readConfig,
                                                                         writeConfig, keyCase);
    return registered;
}

// QSettings keeps what it read or wrote of a file while the file's size and
// modification time stay the same, to the millisecond; the system stamps the
// time at its clock's tick, some milliseconds. A file another writer put in
// place within the tick of this console's last read or save, of the same
// size, would be taken for the old one: its time is moved on a millisecond,
// so that QSettings reads it again.
void readAgainIfChanged(QSettings &settings)
{
    const QString name = settings.fileName();
    QByteArray now;
    QString reason;
    {
        QMutexLocker lock(&files().mutex);
        const auto known = files().known.constFind(name);
        if (known == files().known.cend() || !readNow(name, now, reason) || now == known->bytes || now.isEmpty())
            return;
    }
    QFile file(name);
    const QDateTime time = QFileInfo(name).lastModified();
    if (file.open(QIODevice::ReadWrite) && file.setFileTime(time.addMSecs(1), QFileDevice::FileModificationTime)) {
        file.close();
        settings.sync();
    }
}

// Why QSettings wrote nothing, when it did not get as far as the write.
// QSettings reads the file again at a save, so one the user may write but
// not read is not saved either. The checks are made as the files are
// opened, with the effective user.
QString whyNotWritten(const QString &name)
{
    const QFileInfo info(name);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QByteArray file = QFile::encodeName(name);
    if (::eaccess(folder.constData(), W_OK) != 0)
        return QStringLiteral("its folder cannot be written: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    if (info.isSymLink() && !info.exists())
        return QStringLiteral("it links to %1, which is missing").arg(nativeName(info.symLinkTarget()));
    if (info.exists() && (::eaccess(file.constData(), W_OK) != 0 || ::eaccess(file.constData(), R_OK) != 0))
        return QString::fromLocal8Bit(std::strerror(errno));
    return QStringLiteral("it cannot be locked or written");
}

// QSettings locks config.ini with a lock file beside it, which names the
// process that holds it; a lock whose process is gone is taken over at once.
// A console that ended between making the lock file and writing into it
// left an empty one, and QSettings would wait until it is 30 s old. Seconds
// after it was made, an empty lock file is such a remnant.
void removeEmptyLock(const QString &name)
{
    const QFileInfo lock(name + QStringLiteral(".lock"));
    if (lock.isFile() && lock.size() == 0 && lock.lastModified().secsTo(QDateTime::currentDateTime()) > 2)
        QFile::remove(lock.filePath());
}

// The one line of a save that failed; one only while saves keep failing for
// the same reason, as a close saves each window's group in turn.
void report(const QString &line)
{
    static QString reported;
    if (line.isEmpty() || line == reported) {
        reported = line;
        return;
    }
    reported = line;
    qWarning("%s", qPrintable(line));
}

} // namespace

std::unique_ptr<QSettings> open()
{
    // Opening a FIFO blocks until someone writes to it, a device never ends:
    // such a file, one too large and one that cannot be read are left alone.
    // A folder named config.ini cannot be opened at all and needs no care.
    const QFileInfo info(path());
    if (info.isDir())
        return std::make_unique<QSettings>(path(), QSettings::IniFormat);
    if (info.exists()) {
        if (!info.isFile() || tooLarge(info))
            return refused();
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly)) {
            static QString named;
            if (firstTime(named, fileIdentity(info)))
                qWarning("Settings not read or saved, %s cannot be read: %s",
                         qPrintable(QDir::toNativeSeparators(path())), qPrintable(file.errorString()));
            return refused();
        }
    }
    auto settings = std::make_unique<QSettings>(path(), format());
    readAgainIfChanged(*settings);
    return settings;
}

bool save(QSettings &settings)
{
    if (settings.format() != format()) { // refused at open(): nothing of it is written
        settings.sync();
        return false;
    }
    const QString name = settings.fileName();
    Known before;
    {
        QMutexLocker lock(&files().mutex);
        before = files().known.value(name);
    }
    removeEmptyLock(name);
    failure.clear();
    written = false;
    // QSettings keeps the first error it met: only an object without one
    // tells whether this save's rename went through after the write.
    const bool clean = settings.status() == QSettings::NoError;
    saving = true;
    settings.sync();
    saving = false;
    if (clean ? settings.status() == QSettings::NoError : written) {
        report(QString());
        return true;
    }
    {
        // A write that reached the disk but was not put in place leaves the
        // file as QSettings last knew it.
        QMutexLocker lock(&files().mutex);
        files().known.insert(name, before);
    }
    report(failure.isEmpty() ? QStringLiteral("Settings not saved, %1 stays as it was: %2")
                                   .arg(nativeName(name), whyNotWritten(name))
                             : failure);
    return false;
}

bool hasGroup(const QString &group)
{
    if (!fileExists(path()))
        return false;
    return open()->childGroups().contains(group);
}

QStringList readArray(QSettings &settings, const QString &array, const QString &key,
                      const QString &fallback, int maxCount)
{
    QStringList values;
    const int size = std::min(settings.beginReadArray(array), maxCount);
    for (int i = 0; i < size; ++i) {
        settings.setArrayIndex(i);
        values.append(settings.value(key, fallback).toString());
    }
    settings.endArray();
    return values;
}

} // namespace ConfigFile
