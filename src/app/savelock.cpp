#include "savelock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <optional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
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

// A file as it was opened, to tell it from another of the same name.
bool sameFile(const struct stat &one, const struct stat &other)
{
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

// The bytes of an open lock file, read only when it is a regular file of a
// lock's size; false for one of another kind or larger.
bool readLock(int file, struct stat &info, QByteArray &bytes)
{
    if (::fstat(file, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > SaveLock::maxBytes)
        return false;
    bytes.resize(int(SaveLock::maxBytes));
    const ssize_t got = ::pread(file, bytes.data(), size_t(bytes.size()), 0);
    bytes.resize(got > 0 ? int(got) : 0);
    return got >= 0;
}

// The process id written first in a lock, 0 for none.
qint64 holderPid(const QByteArray &bytes)
{
    bool number = false;
    const qint64 pid = bytes.left(bytes.indexOf('\n')).toLongLong(&number);
    return number && pid > 0 && pid <= std::numeric_limits<pid_t>::max() ? pid : 0;
}

// The host written third in a lock, empty for none.
QString holderHost(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes.split('\n').value(2));
}

qint64 ageMs(const struct stat &info)
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return (now.tv_sec - info.st_mtim.tv_sec) * 1000 + (now.tv_nsec - info.st_mtim.tv_nsec) / 1000000;
}

// The host a lock names: none written counts as this one.
bool thisHost(const QString &host)
{
    return host.isEmpty() || host == QSysInfo::machineHostName();
}

// A process of this host that runs.
bool running(qint64 pid, const QString &host)
{
    return pid > 0 && thisHost(host) && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

// A lock is known to be left over when it names a holder of this host that
// no process has, or names none and is older than QLockFile's stale time. A
// lock with no holder written may be a live console's in its first steps
// (QLockFile makes the file, then takes its flock, then writes its id, and
// a console swapped out or on a stalled share may stay between two steps
// for long), however long it has been watched; a holder of another host
// cannot be asked.
bool leftOver(const QByteArray &bytes, const struct stat &info, int staleMs)
{
    const qint64 pid = holderPid(bytes);
    if (!pid)
        return ageMs(info) >= staleMs;
    return thisHost(holderHost(bytes)) && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// Removes a lock file known to be left over. It is looked at first without
// its flock: taking the flock of a live console's fresh lock, even for a
// moment, would make that console's own flock fail. A file that looks left
// over is removed only under guard, the removal lock one level deeper taken
// as QLockFile takes it (so that no QLockFile clearing the same file at the
// same time removes the lock this console makes next), and under the
// file's own flock, held by no live console, with its bytes read again then
// and its name still leading to it. The deepest name has no deeper one: no
// QLockFile can clear it, so its flock alone guards it.
void clearIfLeftOver(const QByteArray &path, bool deepest, int staleMs)
{
    const int file = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return;
    const auto closeFile = qScopeGuard([file] { ::close(file); });
    struct stat opened{};
    QByteArray bytes;
    if (!readLock(file, opened, bytes) || !leftOver(bytes, opened, staleMs))
        return;
    std::optional<QLockFile> guard;
    if (!deepest) {
        guard.emplace(QFile::decodeName(path + removalSuffix));
        if (!guard->tryLock(0))
            return;
    }
    struct stat held{};
    struct stat named{};
    if (::flock(file, LOCK_EX | LOCK_NB) == 0 && readLock(file, held, bytes) && leftOver(bytes, held, staleMs)
        && ::lstat(path.constData(), &named) == 0 && sameFile(named, held))
        ::unlink(path.constData());
    if (guard)
        guard->unlock();
}

// Who clears the lock now, from its removal lock: the process it names when
// that one runs, 0 when it names none that runs, -1 when there is none.
qint64 clearingPid(const QByteArray &lockPath)
{
    const int file = ::open((lockPath + removalSuffix).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return -1;
    struct stat info{};
    QByteArray bytes;
    const bool read = readLock(file, info, bytes);
    ::close(file);
    const qint64 pid = read ? holderPid(bytes) : 0;
    return running(pid, holderHost(bytes)) ? pid : 0;
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
    const int deepest = (longestName - baseLength) / removalSuffix.size();
    // The lock and its removal locks: refused when one of them is of a kind
    // or a size that no console makes (QLockFile would wait for ever on a
    // FIFO and read a file of any size whole at every try), and cleared,
    // the deepest first, where a console that is gone left them.
    const auto lookAround = [&]() -> QString {
        for (int depth = deepest; depth >= 0; --depth) {
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
            clearIfLeftOver(path, depth == deepest, m_lock.staleLockTime());
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
    // The line names what holds the save back: the lock's holder while it
    // runs; else the console clearing the lock of one that ended, as the
    // holder named is gone.
    qint64 pid = 0;
    QString host;
    QString program;
    const bool named = m_lock.getLockInfo(&pid, &host, &program);
#ifdef Q_OS_UNIX
    if (named && (!thisHost(host) || running(pid, host))) {
        reason = QStringLiteral("another process (%1) holds its lock").arg(pid);
        return false;
    }
    const qint64 clearing = clearingPid(QFile::encodeName(m_name));
    if (clearing > 0)
        reason = QStringLiteral("another process (%1) is clearing its lock").arg(clearing);
    else if (clearing == 0)
        reason = QStringLiteral("another process is clearing its lock %1").arg(QDir::toNativeSeparators(m_name));
    else
        reason = QStringLiteral("its lock %1 is held").arg(QDir::toNativeSeparators(m_name));
#else
    reason = named ? QStringLiteral("another process (%1) holds its lock").arg(pid)
                   : QStringLiteral("its lock %1 is held").arg(QDir::toNativeSeparators(m_name));
#endif
    return false;
}
