#ifndef OPENWATCH_H
#define OPENWATCH_H

#include <QFile>
#include <QString>

#include <sys/inotify.h>
#include <unistd.h>

// Tells whether anything opened a file since the watch began: a file that
// the program must never read is watched, not trusted to stay unread.
class OpenWatch
{
public:
    explicit OpenWatch(const QString &path)
        : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (m_fd >= 0 && ::inotify_add_watch(m_fd, QFile::encodeName(path).constData(), IN_OPEN) < 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~OpenWatch()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenWatch(const OpenWatch &) = delete;
    OpenWatch &operator=(const OpenWatch &) = delete;

    bool isValid() const { return m_fd >= 0; }
    bool opened() const
    {
        char events[4096];
        return ::read(m_fd, events, sizeof events) > 0;
    }

private:
    int m_fd;
};

#endif // OPENWATCH_H
