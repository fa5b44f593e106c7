#ifndef DESKTOPSESSION_H
#define DESKTOPSESSION_H

#include "childprocess.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QProcess>
#include <QHash>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <poll.h>
#include <thread>
#include <xcb/xcb.h>
#include <xcb/xcbext.h> // xcb_poll_for_reply

// The answer X gives to a request sent on the connection, waited for at most
// boundMs; null when none came. A server held by another client answers no
// one else, so a test that asks it then fails with a message instead of
// waiting without end. Generous: only a held or lost server reaches it.
inline void *xAnswer(xcb_connection_t *connection, unsigned int sequence, int boundMs = 20000)
{
    QElapsedTimer waited;
    waited.start();
    xcb_flush(connection);
    for (;;) {
        void *answer = nullptr;
        xcb_generic_error_t *error = nullptr;
        if (xcb_poll_for_reply(connection, sequence, &answer, &error)) {
            std::free(error);
            return answer;
        }
        const qint64 left = boundMs - waited.elapsed();
        if (xcb_connection_has_error(connection) || left <= 0)
            return nullptr;
        pollfd socket{xcb_get_file_descriptor(connection), POLLIN, 0};
        ::poll(&socket, 1, int(left));
    }
}

// Whether the server answers on the connection within the bound: a round
// trip, after which every request sent before it has been carried out.
inline bool xAnswers(xcb_connection_t *connection, int boundMs = 20000)
{
    void *answer = xAnswer(connection, xcb_get_input_focus(connection).sequence, boundMs);
    std::free(answer);
    return answer != nullptr;
}

// A desktop of the test's own, as the operator's is: a virtual X server on a
// free display with the openbox window manager. Made before the
// QApplication, which then runs on it; both programs are stopped by their
// process ids when the session goes, and are started so that the kernel
// kills them when the test process ends however it ends (a crash, a
// sanitizer's abort, a kill). X is asked through xdotool and a connection of
// the session's own, never through the program's own idea of where its
// windows are; every question to X is bounded.
class DesktopSession
{
public:
    // The programs a desktop test needs; the first one missing, or empty.
    static QString missingTool()
    {
        for (const char *tool : {"Xvfb", "openbox", "xdotool", "xprop"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                return QLatin1String(tool);
        return QString();
    }

    // Starts the server and the window manager and points DISPLAY and the
    // Qt platform at them; false (with the reason in error()) when either fails.
    bool start(const QString &screen = QStringLiteral("1600x1000x24"))
    {
        if (!startServer(screen))
            return false;
        qputenv("DISPLAY", m_display.toLatin1());
        qputenv("QT_QPA_PLATFORM", "xcb");

        m_windowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Next to a heavy load the window manager has once been seen not to
        // announce itself within a minute: it gets three tries of 20 s.
        QString why;
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (startWindowManager(&why))
                return true;
            stop(m_windowManager);
        }
        return fail(why);
    }

    // The server alone, without a window manager, leaving DISPLAY as it is:
    // another desktop beside the one the test runs on.
    bool startServer(const QString &screen = QStringLiteral("1600x1000x24"))
    {
        // -displayfd: the server takes the first free display itself and
        // writes its number once it accepts connections.
        m_server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp"});
        // Generous bounds: on a busy machine both take seconds to come up.
        QByteArray number;
        while (!number.contains('\n') && m_server.waitForReadyRead(60000))
            number += m_server.readAllStandardOutput();
        if (!number.contains('\n'))
            return fail(QStringLiteral("Xvfb did not start: ") + QString::fromLocal8Bit(m_server.readAllStandardError()));
        m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
        // The connection the look-ups use, made now, while no client holds
        // the server: a connection made while one does waits for it to let go.
        m_looks = xcb_connect(m_display.toLatin1().constData(), nullptr);
        if (xcb_connection_has_error(m_looks) || !xAnswers(m_looks))
            return fail(QStringLiteral("Xvfb on %1 does not answer").arg(m_display));
        lookups()[m_display] = m_looks;
        return true;
    }

    // The display's name, ":N".
    QString display() const { return m_display; }

    // Maps windows of other clients at `at`: in each of the first `clients`
    // client slots of the server, the first `perClient` window ids of the
    // slot's range. X gives a new client the lowest free slot and its window
    // ids from that slot's range, so a program on another server is likely
    // to have windows with the very same ids. The clients stay until the
    // session goes. False when X could not be reached.
    bool placeWindowsOfOthers(int clients, int perClient, QPoint at)
    {
        for (int slot = 0; slot < clients; ++slot) {
            xcb_connection_t *connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
            m_others.append(connection);
            if (xcb_connection_has_error(connection))
                return false;
            const xcb_setup_t *setup = xcb_get_setup(connection);
            const xcb_screen_t *screen = xcb_setup_roots_iterator(setup).data;
            const quint32 override[] = {1};
            for (int id = 1; id <= perClient; ++id) {
                const xcb_window_t window = setup->resource_id_base | xcb_window_t(id);
                xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, qint16(at.x()), qint16(at.y()),
                                  100, 100, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                                  XCB_CW_OVERRIDE_REDIRECT, override);
                xcb_map_window(connection, window);
            }
            // A round trip: the windows are there on return.
            if (!xAnswers(connection))
                return false;
        }
        return true;
    }

    ~DesktopSession()
    {
        for (xcb_connection_t *connection : m_others)
            xcb_disconnect(connection);
        if (m_looks) {
            lookups().remove(m_display);
            xcb_disconnect(m_looks);
        }
        stop(m_windowManager);
        stop(m_server);
    }

    QString error() const { return m_error; }

    // Tells the window, as a window manager does, that X shows it at
    // `place` (a synthetic configure notice), while X shows it where it is:
    // the wrong answer X gives a window it reads while the manager frames it.
    // False when X could not be reached.
    bool tellPlace(WId window, QRect place) const
    {
        xcb_connection_t *connection = m_looks;
        xcb_configure_notify_event_t notice = {};
        notice.response_type = XCB_CONFIGURE_NOTIFY;
        notice.event = notice.window = xcb_window_t(window);
        notice.x = qint16(place.x());
        notice.y = qint16(place.y());
        notice.width = quint16(place.width());
        notice.height = quint16(place.height());
        xcb_send_event(connection, false, xcb_window_t(window), XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&notice));
        // A round trip: the notice is on its way to the window on return.
        return xAnswers(connection);
    }

    // Stops the window manager for a while, as a busy or hung one is: what
    // it is asked meanwhile waits for it to go on. Stopped while it holds
    // the server (as it does while it takes on a window), it would leave X
    // answering no one, the test included, until it goes on: then it goes
    // on at once and is stopped again a little later. False when it never
    // stopped outside such a hold.
    bool pauseWindowManager()
    {
        for (int attempt = 0; attempt < 10; ++attempt) {
            signalProgram(m_windowManager, SIGSTOP);
            if (xAnswers(m_looks, 2000))
                return true;
            resumeWindowManager();
            QThread::msleep(200);
        }
        return fail(QStringLiteral("openbox held the server whenever it was stopped"));
    }
    void resumeWindowManager() { signalProgram(m_windowManager, SIGCONT); }

    // The look-ups below ask the server DISPLAY names, or the one given.

    // Where X has the window's top left corner, in root coordinates.
    static QPoint windowPosition(WId window, const QString &display = QString())
    {
        return windowGeometry(window, display).topLeft();
    }

    // Where X has the window, its top left corner in root coordinates, as
    // xwininfo gives it (asked directly: a busy machine takes long to start
    // a program for each look); far off the screen when X did not say.
    static QRect windowGeometry(WId window, const QString &display = QString())
    {
        const QRect unknown(-100000, -100000, 0, 0);
        xcb_connection_t *connection =
            lookups().value(display.isEmpty() ? QString::fromLocal8Bit(qgetenv("DISPLAY")) : display);
        if (!connection)
            return unknown;
        const xcb_window_t id = xcb_window_t(window);
        auto *size = static_cast<xcb_get_geometry_reply_t *>(
            xAnswer(connection, xcb_get_geometry(connection, id).sequence));
        if (!size)
            return unknown;
        const QSize extent(size->width, size->height);
        const qint16 border = qint16(size->border_width);
        const xcb_window_t root = size->root;
        std::free(size);
        auto *at = static_cast<xcb_translate_coordinates_reply_t *>(
            xAnswer(connection, xcb_translate_coordinates(connection, id, root, -border, -border).sequence));
        if (!at)
            return unknown;
        const QPoint corner(at->dst_x, at->dst_y);
        std::free(at);
        return QRect(corner, extent);
    }

    // The shown windows of a process (by the process id it gives X).
    static QList<WId> windowsOf(qint64 pid, const QString &display = QString())
    {
        QList<WId> windows;
        const QByteArray ids =
            run(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid", QString::number(pid)}, display);
        for (const QByteArray &id : ids.split('\n'))
            if (!id.trimmed().isEmpty())
                windows.append(WId(id.trimmed().toULongLong()));
        return windows;
    }

    // The pointer and its left button, as a hand moves them.
    static void pointerTo(QPoint at) { xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())}); }
    static void press() { xdotool({"mousedown", "1"}); }
    static void release() { xdotool({"mouseup", "1"}); }
    static void click(QPoint at)
    {
        pointerTo(at);
        xdotool({"click", "1"});
    }
    // A key or a chord ("Tab", "alt+Down") to the window that has the focus.
    static void key(const QString &keys) { xdotool({"key", keys}); }

private:
    // The connections the look-ups use, by display, one a session.
    static QHash<QString, xcb_connection_t *> &lookups()
    {
        static QHash<QString, xcb_connection_t *> connections;
        return connections;
    }

    // The window manager is up once it has announced itself on the root window.
    bool startWindowManager(QString *why)
    {
        m_windowManager.start(QStringLiteral("openbox"), {"--sm-disable"});
        m_windowManager.waitForStarted(10000);
        QElapsedTimer waited;
        waited.start();
        QByteArray answer;
        while (waited.elapsed() < 20000) {
            if (m_windowManager.state() == QProcess::NotRunning) {
                *why = QStringLiteral("openbox did not start");
                return false;
            }
            answer = run(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"});
            if (answer.contains("window id"))
                return true;
            QThread::msleep(100);
        }
        *why = QStringLiteral("openbox did not take display %1 in %2 ms (Xvfb %3; xprop: %4)")
                   .arg(m_display)
                   .arg(waited.elapsed())
                   .arg(m_server.state() == QProcess::Running ? "running" : "ended")
                   .arg(QString::fromLocal8Bit(answer.trimmed()));
        return false;
    }

    static void stop(QProcess &process)
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        // A paused window manager takes the signal only once it goes on.
        signalProgram(process, SIGCONT);
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }

    static QByteArray run(const QString &program, const QStringList &arguments, const QString &display = QString())
    {
        ChildProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        if (!display.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("DISPLAY"), display);
            process.setProcessEnvironment(environment);
        }
        process.start(program, arguments);
        process.waitForFinished(10000);
        return process.readAll();
    }
    static void xdotool(const QStringList &arguments) { run(QStringLiteral("xdotool"), arguments); }

    bool fail(const QString &why)
    {
        m_error = why;
        return false;
    }

    ChildProcess m_server;
    ChildProcess m_windowManager;
    QList<xcb_connection_t *> m_others;
    xcb_connection_t *m_looks = nullptr;
    QString m_display;
    QString m_error;
};

// Another client holds the X server, as a window manager or a screen locker
// may for a while: the server answers no other client until it lets go. It
// lets go when this goes, or by itself after `bound` ms, so that a program
// that asks X meanwhile waits no longer than that; held() says false from
// just before it lets go.
class ServerHold
{
public:
    explicit ServerHold(const QString &display, int bound = 20000)
        : connection(xcb_connect(display.toLatin1().constData(), nullptr))
    {
        if (xcb_connection_has_error(connection))
            return;
        xcb_grab_server(connection);
        // A round trip: the server is held on return.
        if (!xAnswers(connection))
            return;
        m_held = true;
        letter = std::thread([this, bound] {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait_for(lock, std::chrono::milliseconds(bound), [this] { return done; });
            m_held = false;
            xcb_ungrab_server(connection);
            xcb_flush(connection);
        });
    }
    ~ServerHold()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            done = true;
        }
        wake.notify_one();
        if (letter.joinable())
            letter.join();
        xcb_disconnect(connection);
    }

    bool held() const { return m_held; }

private:
    xcb_connection_t *const connection;
    std::atomic<bool> m_held{false};
    std::mutex mutex;
    std::condition_variable wake;
    bool done = false;
    std::thread letter;
};

#endif // DESKTOPSESSION_H
