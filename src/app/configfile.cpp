#include "configfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <csignal>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/xattr.h>
#endif

#include "globalobject.h"
#include "initext.h"
#include "savelock.h"

namespace ConfigFile {

QString path()
{
    return appDirPath + QStringLiteral("/config.ini");
}

namespace {

using IniText::Keys;
using IniText::Value;

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

bool isOwn(const QString &key, const Value &value)
{
    const QStringList parts = key.split(QLatin1Char('/'));
    const auto own = std::find_if(std::begin(ownGroups), std::end(ownGroups),
                                  [&](const OwnGroup &g) { return parts.first() == QLatin1String(g.group); });
    return parts.size() > 1 && own != std::end(ownGroups)
           && QString::fromLatin1(own->keys).split(QLatin1Char(' ')).contains(parts.at(1))
           && value.parts.join(QStringLiteral(", ")).size() <= longestValue;
}

QString nativeName(const QString &name)
{
    return QDir::toNativeSeparators(name);
}

// What the session read and changed. `known` is what config.ini held for
// each key when the session read it or last wrote the key: a key whose
// value differs from it is the session's change. `untouched` is what each
// window would save unchanged, its own form of what it read (a value it
// refuses shown empty, a text it normalises, a result it works out again):
// that form is no change of the operator's, written only where config.ini
// still holds what the session read. Once a save lands, the keys it changed
// lose that form: a value set back afterwards is a change again.
struct Session
{
    QString path;
    QString notRead; // why config.ini was not read, when it was not
    Keys known;
    Keys untouched;
    Keys current;
    QSet<QString> set; // keys set since the last save that landed
    // Keys a save wrote into a config.ini whose folder could not be synced
    // afterwards: written again by the next save unless the file holds them.
    QSet<QString> unsynced;
};

int heldSaves = 0; // HeldSaves alive

std::unique_ptr<Session> &sessionSlot()
{
    static std::unique_ptr<Session> session;
    return session;
}

// config.ini's bytes as they are now, at most maxBytes of them; an empty
// array for no file. False, with the reason, for a file that cannot be read
// whole.
bool readNow(const QString &name, QByteArray &bytes, QString &reason)
{
    const QFileInfo info(name);
    bytes.clear();
    if (!info.exists())
        return true;
    // Opening a FIFO blocks until someone writes to it, a device never ends.
    if (!info.isFile()) {
        reason = QStringLiteral("it is no regular file");
        return false;
    }
    if (info.size() > maxBytes) {
        reason = QStringLiteral("it is larger than %1 bytes: %2 bytes").arg(maxBytes).arg(info.size());
        return false;
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return false;
    }
    bytes = file.read(maxBytes + 1);
    if (file.error() != QFile::NoError) {
        reason = file.errorString();
        return false;
    }
    if (bytes.size() > maxBytes) { // it grew since it was looked at
        reason = QStringLiteral("it is larger than %1 bytes").arg(maxBytes);
        return false;
    }
    return true;
}

Session &session()
{
    std::unique_ptr<Session> &slot = sessionSlot();
    if (slot && slot->path == path())
        return *slot;
    slot = std::make_unique<Session>();
    slot->path = path();
    QByteArray bytes;
    QString reason;
    if (readNow(slot->path, bytes, reason)) {
        slot->known = IniText::read(bytes);
        slot->current = slot->known;
    } else {
        slot->notRead = reason;
        qWarning("Settings not read or saved, %s %s", qPrintable(nativeName(slot->path)),
                 qPrintable(reason.startsWith(QLatin1String("it ")) ? reason.mid(3)
                                                                      : QStringLiteral("cannot be read: ") + reason));
    }
    return *slot;
}

// The text to save, within maxBytes: without the keys the console does not
// keep when all of them would pass it (named in one line), or none.
bool boundedText(const QString &name, Keys &keys, QByteArray &bytes, QString &reason)
{
    bytes = IniText::write(keys);
    if (bytes.size() <= maxBytes)
        return true;
    for (auto it = keys.begin(); it != keys.end();)
        it = isOwn(it.key(), it.value()) ? std::next(it) : keys.erase(it);
    bytes = IniText::write(keys);
    if (bytes.size() > maxBytes) {
        reason = QStringLiteral("would be larger than %1 bytes").arg(maxBytes);
        return false;
    }
    qWarning("Settings saved without the keys the console does not keep, %s would be larger than %lld bytes with "
             "them",
             qPrintable(nativeName(name)), maxBytes);
    return true;
}

// Why the staged file could not be made: the system's reason where there
// is one, checked as the effective user.
QString whyNotOpened(const QFileInfo &old, const QFileDevice &file)
{
    const QString folderReason = whyNotWritable(old.absolutePath());
    if (!folderReason.isEmpty())
        return QStringLiteral("its folder cannot be written: %1").arg(folderReason);
    const QString fileReason = old.exists() ? whyNotWritable(old.absoluteFilePath()) : QString();
    return fileReason.isEmpty() ? file.errorString() : fileReason;
}

#ifdef Q_OS_LINUX
// The ACL, which says who else may read or write config.ini.
const char aclAttribute[] = "system.posix_acl_access";

// An attribute the saver may not set: a namespace of the system's (EPERM),
// one a security policy refuses (EACCES), or one a file system lists but
// does not take (ENOTSUP). It is left, as the owner is when the saver may
// not give it; else no setting could ever be saved on such a file. The ACL
// is never left: without it the new file would let others read or write it
// whom the old one kept out.
bool attributeRefused(const QByteArray &attribute, int error)
{
    return attribute != aclAttribute
           && (error == EPERM || error == EACCES || error == ENOTSUP || error == EOPNOTSUPP);
}

// The extended attributes of the file replaced, its ACL among them
// ("system.posix_acl_access"), on the staged file: another user the ACL lets
// read config.ini still can.
bool copyAttributes(const QString &from, int to, QString &reason)
{
    const QByteArray name = QFile::encodeName(from);
    QByteArray names(XATTR_LIST_MAX, Qt::Uninitialized);
    const ssize_t listed = ::listxattr(name.constData(), names.data(), size_t(names.size()));
    if (listed < 0 && (errno == ENOTSUP || errno == ENOENT))
        return true;
    QByteArray value(XATTR_SIZE_MAX, Qt::Uninitialized);
    for (const QByteArray &attribute : names.left(int(std::max<ssize_t>(listed, 0))).split('\0')) {
        if (attribute.isEmpty())
            continue;
        const ssize_t size = ::getxattr(name.constData(), attribute.constData(), value.data(), size_t(value.size()));
        if (size < 0 && errno == ENODATA) // removed since it was listed
            continue;
        if (size < 0
            || (::fsetxattr(to, attribute.constData(), value.constData(), size_t(size), 0) != 0
                && !attributeRefused(attribute, errno))) {
            const int error = errno;
            reason = QStringLiteral("its %1 %2 cannot be kept: %3")
                         .arg(attribute == aclAttribute ? QStringLiteral("ACL") : QStringLiteral("attribute"),
                              QString::fromUtf8(attribute), systemReason(error));
            return false;
        }
    }
    if (listed < 0) {
        reason = QStringLiteral("its attributes cannot be read: %1").arg(systemReason(errno));
        return false;
    }
    return true;
}
#endif

// The file a save replaces, where QSaveFile puts the new one: config.ini,
// or the file it links to. Its lock stands beside it, so that consoles whose
// config.ini links to one file share the lock.
QString replacedFile(const QString &name)
{
    const QFileInfo info(name);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    return info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
}

#ifdef Q_OS_UNIX
// The owner and group of the file replaced on the staged file; either one
// the saver may not give is left as the saver's own.
bool keepOwner(int to, const QFileInfo &old, QString &reason)
{
    if (::fchown(to, old.ownerId(), old.groupId()) == 0)
        return true;
    if (errno == EPERM && (::fchown(to, uid_t(-1), old.groupId()) == 0 || errno == EPERM))
        return true;
    reason = systemReason(errno);
    return false;
}
#endif

enum class Written { Whole, Not, Unsynced };

// Every byte on disk before the staged file takes config.ini's place, with
// the owner, mode and attributes of the file it replaces; the folder of
// replaced (name, or the file name links to) synced after.
Written writeWhole(const QString &name, const QString &replaced, const QByteArray &bytes, QString &reason)
{
#ifdef SIGXFSZ
    // Past a file size limit a write fails with EFBIG instead of ending the
    // console, and the save is reported like any other that failed.
    static const bool ignored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    Q_UNUSED(ignored)
#endif
    const QFileInfo old(name);
    QSaveFile file(name);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        reason = whyNotOpened(old, file);
        return Written::Not;
    }
    if (old.exists()) {
        file.setPermissions(old.permissions());
#ifdef Q_OS_UNIX
        // Only root may give the owner; a member of the file's group may
        // still give the group, so that the others of that group can save.
        if (!keepOwner(file.handle(), old, reason)) {
            file.cancelWriting();
            return Written::Not;
        }
#endif
#ifdef Q_OS_LINUX
        if (!copyAttributes(name, file.handle(), reason)) {
            file.cancelWriting();
            return Written::Not;
        }
#endif
    }
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        // After a short write Qt knows no reason ("Unknown error"): the
        // system's is the one that says it.
        reason = errno ? systemReason(errno) : file.errorString();
        file.cancelWriting();
        return Written::Not;
    }
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0) {
        reason = systemReason(errno);
        file.cancelWriting();
        return Written::Not;
    }
#endif
    if (!file.commit()) {
        reason = file.errorString();
        return Written::Not;
    }
#ifdef Q_OS_UNIX
    // The rename is on disk once its folder is: the folder of the file a
    // link leads to, where the staged file was put.
    const QString folderName = QFileInfo(replaced).absolutePath();
    const int folder = ::open(QFile::encodeName(folderName).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = folder >= 0 && ::fsync(folder) == 0;
    const int error = errno;
    if (folder >= 0)
        ::close(folder);
    if (!synced) {
        reason = QStringLiteral("its folder %1 cannot be synced: %2")
                     .arg(nativeName(folderName), systemReason(error));
        return Written::Unsynced;
    }
#endif
    return Written::Whole;
}

// Whether a value is its window's own form of what the session read.
bool windowsForm(const Session &s, const QString &key, const Value &value)
{
    const auto form = s.untouched.constFind(key);
    return form != s.untouched.cend() && *form == value;
}

bool changedInSession(const Session &s, const QString &key, const Value &value)
{
    const auto known = s.known.constFind(key);
    return known != s.known.cend() ? *known != value : !windowsForm(s, key, value);
}

// A window's own form of a value is no change of the operator's: where
// another writer changed the key since the session read it, that writer's
// value stays. Where the file still holds what was read, the form is written.
bool anotherWritersValueStays(const Session &s, const Keys &file, const QString &key, const Value &value)
{
    const auto now = file.constFind(key);
    const auto known = s.known.constFind(key);
    return windowsForm(s, key, value) && now != file.cend() && (known == s.known.cend() || *known != *now);
}

// The keys config.ini holds now with the session's changes over them, the
// keys set since the last save that config.ini lacks, and the keys a save
// whose folder was not synced wrote.
Keys merged(const Session &s, const QByteArray &now)
{
    const Keys file = IniText::read(now);
    Keys keys = file;
    for (auto it = s.current.cbegin(); it != s.current.cend(); ++it) {
        const QString &key = it.key();
        if (s.unsynced.contains(key)
            || (changedInSession(s, key, it.value()) && !anotherWritersValueStays(s, file, key, it.value()))
            || (s.set.contains(key) && !file.contains(key)))
            keys.insert(key, it.value());
    }
    for (auto it = s.known.cbegin(); it != s.known.cend(); ++it) {
        if (!s.current.contains(it.key()))
            keys.remove(it.key());
    }
    for (const QString &key : s.unsynced) {
        if (!s.current.contains(key))
            keys.remove(key);
    }
    return keys;
}

// After a save that replaced config.ini, or found it holding every change:
// the session stands for what it saved, and the keys it changed have no
// window's form any more.
void standForSaved(Session &s)
{
    for (auto it = s.current.cbegin(); it != s.current.cend(); ++it) {
        const auto known = s.known.constFind(it.key());
        if (known == s.known.cend() || *known != it.value())
            s.untouched.remove(it.key());
    }
    for (auto it = s.known.cbegin(); it != s.known.cend(); ++it) {
        if (!s.current.contains(it.key()))
            s.untouched.remove(it.key());
    }
    s.known = s.current;
    s.set.clear();
}

// Whether a text of config.ini reads as the number a window sets, read as
// the window reads it back (QVariant's own conversion, as value().toInt()
// and the like make it): "03", "+3" and "3" are all the number 3. Only a
// number is judged so; a text set stays a text, and "03" renamed to "3" is a
// change.
bool sameNumber(const Value &held, const QVariant &value)
{
    static const int numberTypes[] = {QMetaType::Int,      QMetaType::UInt,      QMetaType::Long,  QMetaType::ULong,
                                      QMetaType::LongLong, QMetaType::ULongLong, QMetaType::Short, QMetaType::UShort,
                                      QMetaType::SChar,    QMetaType::UChar,     QMetaType::Double, QMetaType::Float};
    const int type = value.userType();
    if (held.kind != Value::Text
        || std::find(std::begin(numberTypes), std::end(numberTypes), type) == std::end(numberTypes))
        return false;
    QVariant read(held.parts.value(0));
    return read.convert(type) && read == value;
}

// What a window's value is kept as: the text the session holds for the key,
// or read for it, where that is the same number in another spelling, so
// that setting it is no change and the file keeps its own spelling.
Value heldSpelling(const Session &s, const QString &key, const QVariant &value)
{
    for (const Keys *keys : {&s.current, &s.known}) {
        const auto held = keys->constFind(key);
        if (held != keys->cend() && sameNumber(*held, value))
            return *held;
    }
    return Value::fromVariant(value);
}

bool hasChanges(const Session &s)
{
    return !s.set.isEmpty() || !s.unsynced.isEmpty() || s.known != s.current;
}

} // namespace

// Settings ------------------------------------------------------------------

QString Settings::prefix() const
{
    QString text;
    for (const QString &group : m_groups)
        text += group + QLatin1Char('/');
    if (m_array) {
        text += m_array->name + QLatin1Char('/');
        if (m_array->index >= 0)
            text += QString::number(m_array->index + 1) + QLatin1Char('/');
    }
    return text;
}

QString Settings::fullKey(const QString &key) const
{
    return prefix() + key;
}

void Settings::beginGroup(const QString &group)
{
    m_groups.append(group);
}

void Settings::endGroup()
{
    if (!m_groups.isEmpty())
        m_groups.removeLast();
}

QVariant Settings::value(const QString &key, const QVariant &fallback) const
{
    const Keys &keys = session().current;
    const auto found = keys.constFind(fullKey(key));
    if (found == keys.cend())
        return fallback;
    const QVariant value = found->toVariant();
    return value.isValid() ? value : fallback;
}

void Settings::setValue(const QString &key, const QVariant &value)
{
    Session &s = session();
    const QString name = fullKey(key);
    if (!m_untouched) {
        s.current.insert(name, heldSpelling(s, name, value));
        s.set.insert(name);
    } else if (!s.untouched.contains(name)) {
        s.untouched.insert(name, Value::fromVariant(value));
    }
}

void Settings::remove(const QString &key)
{
    if (m_untouched)
        return;
    Session &s = session();
    QString name = fullKey(key);
    if (key.isEmpty() && name.endsWith(QLatin1Char('/')))
        name.chop(1);
    const QString below = name.isEmpty() ? QString() : name + QLatin1Char('/');
    for (auto it = s.current.begin(); it != s.current.end();) {
        if (it.key() == name || it.key().startsWith(below))
            it = s.current.erase(it);
        else
            ++it;
    }
}

bool Settings::contains(const QString &key) const
{
    return session().current.contains(fullKey(key));
}

QStringList Settings::childGroups() const
{
    const QString start = prefix();
    QStringList groups;
    const Keys &keys = session().current;
    for (auto it = keys.lowerBound(start); it != keys.cend() && it.key().startsWith(start); ++it) {
        const int slash = it.key().indexOf(QLatin1Char('/'), start.size());
        if (slash > start.size()) {
            const QString group = it.key().mid(start.size(), slash - start.size());
            if (groups.isEmpty() || groups.last() != group)
                groups.append(group);
        }
    }
    groups.removeDuplicates();
    return groups;
}

int Settings::beginReadArray(const QString &array)
{
    const int size = value(array + QStringLiteral("/size")).toInt();
    m_array = std::make_unique<Array>(Array{array, -1, -1, size, false});
    return size;
}

void Settings::beginWriteArray(const QString &array, int size)
{
    m_array = std::make_unique<Array>(Array{array, -1, -1, size, true});
}

void Settings::setArrayIndex(int index)
{
    if (!m_array)
        return;
    m_array->index = index;
    m_array->highest = std::max(m_array->highest, index);
}

void Settings::endArray()
{
    if (!m_array)
        return;
    const Array array = *m_array;
    m_array.reset();
    if (array.writing)
        setValue(array.name + QStringLiteral("/size"), array.size >= 0 ? array.size : array.highest + 1);
}

// The file ------------------------------------------------------------------

std::unique_ptr<Settings> open()
{
    session();
    return std::make_unique<Settings>();
}

std::unique_ptr<Settings> untouched()
{
    auto settings = open();
    settings->m_untouched = true;
    return settings;
}

HeldSaves::HeldSaves()
{
    ++heldSaves;
}

HeldSaves::~HeldSaves()
{
    --heldSaves;
}

bool save(const Settings &)
{
    Session &s = session();
    const QString name = s.path;
    const auto fail = [&name](const QString &reason) {
        qWarning("Settings not saved, %s stays as it was: %s", qPrintable(nativeName(name)), qPrintable(reason));
        return false;
    };
    if (heldSaves > 0)
        return true;
    if (!s.notRead.isEmpty())
        return fail(QStringLiteral("it was not read at start (%1)").arg(s.notRead));
    if (!hasChanges(s))
        return true;
    const QFileInfo info(name);
    if (info.isSymLink() && !info.exists() && !QFileInfo(QFileInfo(info.symLinkTarget()).absolutePath()).isDir())
        return fail(QStringLiteral("it links to %1, which is missing").arg(nativeName(info.symLinkTarget())));
    QByteArray now;
    QString reason;
    if (!readNow(name, now, reason))
        return fail(reason);
    // A close that changed nothing, with every key the windows set in the
    // file already, needs no lock and writes nothing.
    if (merged(s, now) == IniText::read(now)) {
        s.unsynced.clear();
        standForSaved(s);
        return true;
    }
    const QString replaced = replacedFile(name);
    SaveLock lock(replaced + QStringLiteral(".lock"));
    if (!lock.take(2000, reason))
        return fail(reason);
    if (!readNow(name, now, reason)) // as it is now that no other console writes it
        return fail(reason);
    Keys keys = merged(s, now);
    QByteArray bytes;
    if (!boundedText(name, keys, bytes, reason)) {
        qWarning("Settings not saved, %s %s", qPrintable(nativeName(name)), qPrintable(reason));
        return false;
    }
    if (bytes != now) {
        switch (writeWhole(name, replaced, bytes, reason)) {
        case Written::Whole:
            break;
        case Written::Not:
            return fail(reason);
        case Written::Unsynced: { // written again unless config.ini holds it then
            const Keys before = IniText::read(now);
            for (auto it = s.current.cbegin(); it != s.current.cend(); ++it) {
                if (keys.value(it.key()) == it.value() && before.value(it.key()) != it.value())
                    s.unsynced.insert(it.key());
            }
            for (auto it = s.known.cbegin(); it != s.known.cend(); ++it) {
                if (!s.current.contains(it.key()) && before.contains(it.key()))
                    s.unsynced.insert(it.key());
            }
            standForSaved(s);
            qWarning("Settings may not be on disk, %s was replaced but %s", qPrintable(nativeName(name)),
                     qPrintable(reason));
            return false;
        }
        }
    }
    s.unsynced.clear();
    standForSaved(s);
    return true;
}

bool hasGroup(const QString &group)
{
    return Settings().childGroups().contains(group);
}

QStringList readArray(Settings &settings, const QString &array, const QString &key, const QString &fallback,
                      int maxCount)
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

void readAgain()
{
    sessionSlot().reset();
}

} // namespace ConfigFile
