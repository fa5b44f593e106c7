#ifndef SAVELOCK_H
#define SAVELOCK_H

#include <QLockFile>
#include <QString>

// The lock beside a file that consoles sharing it take while they save it.
// QLockFile makes and reads the lock, so that consoles of older builds
// and this one exclude each other; around it, what a killed console left
// behind is cleared once it is known to be left over and no live process
// holds it, and a lock file that no console made is refused without being
// read.
class SaveLock
{
public:
    // The largest lock file read: QLockFile writes a few short lines (a
    // process id, a program name, a host name and two ids).
    static constexpr qint64 maxBytes = 4096;

    explicit SaveLock(const QString &lockName);

    // Takes the lock, waiting at most waitMs for another console to let it
    // go. False, with why in reason, when it was not taken.
    bool take(int waitMs, QString &reason);

private:
    QString m_name;
    QLockFile m_lock;
};

#endif // SAVELOCK_H
