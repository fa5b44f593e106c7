#include "startprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTextStream>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#ifdef Q_OS_WIN
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

namespace {

// Watches the whole application, so the filter is in place before show()
// creates the native window and whatever platform delivers the expose.
class ExposeWatch : public QObject
{
public:
    explicit ExposeWatch(QWidget *window)
        : QObject(window)
        , m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && !m_done) {
            auto *handle = qobject_cast<QWindow *>(watched);
            if (handle && handle == m_window->windowHandle() && handle->isExposed()) {
                m_done = true;
                // Queued: the window paints in answer to this very event.
                QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_window;
    bool m_done = false;
};

qint64 peakResidentKb()
{
#ifdef Q_OS_WIN
    PROCESS_MEMORY_COUNTERS counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return qint64(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage;
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return -1;
#ifdef Q_OS_MACOS
    return usage.ru_maxrss / 1024; // bytes there, KiB on Linux
#else
    return usage.ru_maxrss;
#endif
#endif
}

} // namespace

void quitWhenExposed(QWidget *window)
{
    new ExposeWatch(window);
}

void printPeakMemory()
{
    QTextStream(stdout) << "peak_rss_kb " << peakResidentKb() << "\n";
}
