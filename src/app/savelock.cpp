#include "savelock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <limits>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "globalobject.h"

namespace {

#ifdef Q_OS_UNIX

// QLockFile clears a lock whose process is gone while it holds a second
// lock, the name with ".rmlock" added, for the moment of the removal. A
// console killed in that moment leaves it; the next one clearing it leaves
// ".rmlock.rmlock" if killed too, and so on, and a kill between two steps
// leaves a deeper one without the shallower. Left alone they would grow
// until the next name is too long, and from then on no save could clear a
// lock of a console that is gone.
const QByteArray removalSuffix = ".rmlock";

// A file system gives a name at most this many bytes.
constexpr int longestName = 255;

// A lock file that has stood unchanged this long while nobody wrote into
// it, or a removal lock this old, was left by a console that was killed:
// QLockFile writes the holder as soon as it makes the file.
constexpr qint64 leftOverMs = 1000;

// A file as it was looked at, to tell it from another of the same name.
struct Identity
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    explicit Identity(const struct stat &info = {})
        : device(info.st_dev), inode(info.st_ino), size(info.st_size), modified(info.st_mtim)
    {
    }
    bool operator==(const Identity &other) const
    {
        return device == other.device && inode == other.inode && size == other.size
               && modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
    }
};

struct Sighting
{
    Identity identity;
    qint64 firstMs = 0; // on the wait's clock
};

// The bytes of a lock file, read only when it is a regular file of a lock's
// size; false for one that is missing, of another kind or larger.
bool readLock(const QByteArray &name, Identity &identity, QByteArray &bytes)
{
    const int file = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return false;
    struct stat info{};
    const bool small = ::fstat(file, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= SaveLock::maxBytes;
    if (small) {
        identity = Identity(info);
        bytes.resize(int(SaveLock::maxBytes));
        const ssize_t got = ::read(file, bytes.data(), size_t(bytes.size()));
        bytes.resize(got > 0 ? int(got) : 0);
    }
    ::close(file);
    return small;
}

// The process id written first in a lock, 0 for none.
qint64 holderPid(const QByteArray &bytes)
{
    bool number = false;
    const qint64 pid = bytes.left(bytes.indexOf('\n')).toLongLong(&number);
    return number && pid > 0 && pid <= std::numeric_limits<pid_t>::max() ? pid : 0;
}

// The holder's process is gone: a process id of this host that no process
// has. A lock with no holder written in it says nothing either way.
bool holderGone(const QByteArray &bytes)
{
    const qint64 pid = holderPid(bytes);
    const QString host = QString::fromUtf8(bytes.split('\n').value(2));
    return pid && (host.isEmpty() || host == QSysInfo::machineHostName()) && ::kill(pid_t(pid), 0) != 0
           && errno == ESRCH;
}

qint64 ageMs(const Identity &identity)
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return (now.tv_sec - identity.modified.tv_sec) * 1000 + (now.tv_nsec - identity.modified.tv_nsec) / 1000000;
}

// Removes the file only when it is still the one looked at: another console
// may have cleared it and made a lock of its own by that name since.
void removeIfSame(const QByteArray &name, const Identity &identity)
{
    struct stat info{};
    if (::lstat(name.constData(), &info) == 0 && Identity(info) == identity)
        ::unlink(name.constData());
}

#endif

} // namespace

SaveLock::SaveLock(const QString &lockName)
    : m_name(lockName)
    , m_lock(lockName)
{
}

bool SaveLock::take(int waitMs, QString &reason)
{
    QElapsedTimer clock;
    clock.start();
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(m_name);
    const int baseLength = QFile::encodeName(QFileInfo(m_name).fileName()).size();
    QHash<QByteArray, Sighting> seen;
    // The lock and its removal locks: refused when one of them is of a kind
    // or a size that no console makes (QLockFile would wait for ever on a
    // FIFO and read a file of any size whole at every try), and cleared
    // where a killed console left them.
    const auto lookAround = [&]() -> QString {
        for (int depth = (longestName - baseLength) / removalSuffix.size(); depth >= 0; --depth) {
            QByteArray path = name;
            for (int i = 0; i < depth; ++i)
                path += removalSuffix;
            struct stat info{};
            if (::lstat(path.constData(), &info) != 0)
                continue;
            if (!S_ISREG(info.st_mode))
                return QStringLiteral("%1 is no regular file").arg(QDir::toNativeSeparators(QFile::decodeName(path)));
            if (info.st_size > maxBytes) {
                return QStringLiteral("%1 is larger than a lock can be: %2 bytes")
                    .arg(QDir::toNativeSeparators(QFile::decodeName(path)))
                    .arg(qint64(info.st_size));
            }
            Identity identity;
            QByteArray bytes;
            if (!readLock(path, identity, bytes))
                continue;
            Sighting &sighting = seen[path];
            if (!(sighting.identity == identity))
                sighting = Sighting{identity, clock.elapsed()};
            const bool stood = clock.elapsed() - sighting.firstMs >= leftOverMs || ageMs(identity) >= leftOverMs;
            // A lock whose holder is gone is QLockFile's to clear, under its
            // removal lock; one with no holder it would wait for for 30 s.
            const bool leftOver = depth > 0 ? stood || holderGone(bytes) : stood && !holderPid(bytes);
            if (leftOver)
                removeIfSame(path, identity);
        }
        return QString();
    };
#endif
    for (;;) {
#ifdef Q_OS_UNIX
        reason = lookAround();
        if (!reason.isEmpty())
            return false;
#endif
        errno = 0;
        if (m_lock.tryLock(0))
            return true;
        const int error = errno;
        if (m_lock.error() != QLockFile::LockFailedError) {
            const QString folderReason = whyNotWritable(QFileInfo(m_name).absolutePath());
            if (!folderReason.isEmpty()) {
                reason = QStringLiteral("its folder cannot be written: %1").arg(folderReason);
                return false;
            }
            // QLockFile tells no reason; the system's last one is that of
            // the write into the lock file that failed (a full disk, a file
            // size limit).
            reason = error ? QStringLiteral("its lock cannot be made: %1").arg(systemReason(error))
                           : QStringLiteral("its lock cannot be made");
            return false;
        }
        const qint64 left = waitMs - clock.elapsed();
        if (left <= 0)
            break;
        QThread::msleep(ulong(std::min<qint64>(left, 20)));
    }
    qint64 pid = 0;
    QString host;
    QString program;
    if (m_lock.getLockInfo(&pid, &host, &program))
        reason = QStringLiteral("another process (%1) holds its lock").arg(pid);
    else
        reason = QStringLiteral("its lock %1 is held").arg(QDir::toNativeSeparators(m_name));
    return false;
}
