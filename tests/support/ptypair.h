#ifndef PTYPAIR_H
#define PTYPAIR_H

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "capturelog.h"
#include "childprocess.h"

// Two pseudo terminals joined by socat, standing in for a serial cable: the
// link under test opens devicePath(), the test reads what arrives at the
// other end (openFarEnd(), log()). Stopping socat is pulling the cable.
class PtyPair
{
public:
    PtyPair()
    {
        m_socat.setProcessChannelMode(QProcess::MergedChannels);
        m_socat.setStandardOutputFile(QProcess::nullDevice());
        QObject::connect(&m_far, &QSerialPort::readyRead, &m_far, [this] {
            m_log.add(m_far.readAll());
            // Stopped from the event loop, not from inside the port's own signal.
            if (m_stopAfter > 0 && m_log.bytes().size() >= m_stopAfter) {
                m_stopAfter = 0;
                QTimer::singleShot(0, &m_far, [this] { stop(); });
            }
        });
    }
    ~PtyPair() { stop(); }
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    static bool socatAvailable() { return !QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty(); }
    static QString missingSocatMessage()
    {
        return QStringLiteral("socat is not installed; install it (e.g. apt-get install socat) to run the serial tests");
    }

    // Starts socat and waits until both device links exist.
    bool start(int timeoutMs = 5000)
    {
        if (!m_dir.isValid() || isRunning())
            return false;
        // Links left behind by an earlier, killed socat must not look ready.
        QFile::remove(devicePath());
        QFile::remove(farPath());
        const QString end = QStringLiteral("pty,raw,echo=0,link=%1");
        // A ChildProcess: a crash or a kill of the test leaves no cable behind.
        m_socat.start(QStringLiteral("socat"), {end.arg(devicePath()), end.arg(farPath())});
        if (!m_socat.waitForStarted(timeoutMs))
            return false;
        QElapsedTimer clock;
        clock.start();
        while (!QFile::exists(devicePath()) || !QFile::exists(farPath())) {
            if (clock.elapsed() > timeoutMs || !isRunning())
                return false;
            QThread::msleep(5);
        }
        return true;
    }
    // Closes the far end and kills socat.
    void stop()
    {
        if (m_far.isOpen())
            m_far.close();
        if (isRunning()) {
            m_socat.kill();
            m_socat.waitForFinished(3000);
        }
    }
    bool isRunning() const { return m_socat.state() != QProcess::NotRunning; }
    // Started with the far end read into log().
    bool startListening() { return start() && openFarEnd(); }

    QString devicePath() const { return m_dir.filePath(QStringLiteral("a")); }
    QString farPath() const { return m_dir.filePath(QStringLiteral("b")); }

    // Reads the far end into log() from now on.
    bool openFarEnd()
    {
        m_far.setPortName(farPath());
        return m_far.open(QIODevice::ReadWrite);
    }
    const CaptureLog &log() const { return m_log; }
    void clearLog() { m_log.clear(); }

    // Pulls the cable once count bytes have arrived at the far end (0: never).
    void stopAfterBytes(qint64 count) { m_stopAfter = count; }

private:
    QTemporaryDir m_dir;
    ChildProcess m_socat;
    QSerialPort m_far;
    CaptureLog m_log;
    qint64 m_stopAfter = 0;
};

// Skips the test, saying what to install, when socat is missing.
#define VW_REQUIRE_SOCAT()                                          \
    do {                                                            \
        if (!PtyPair::socatAvailable())                             \
            QSKIP(qPrintable(PtyPair::missingSocatMessage()));      \
    } while (false)

#endif // PTYPAIR_H
