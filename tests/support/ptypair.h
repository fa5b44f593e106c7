#ifndef PTYPAIR_H
#define PTYPAIR_H

#include <QProcess>
#include <QSerialPort>
#include <QString>
#include <QTemporaryDir>

#include "capturelog.h"

// Two pseudo terminals joined by socat, standing in for a serial cable: the
// link under test opens devicePath(), the test reads what arrives at the
// other end (openFarEnd(), log()). Stopping socat is pulling the cable.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    static bool socatAvailable();
    static QString missingSocatMessage();

    // Starts socat and waits until both device links exist.
    bool start(int timeoutMs = 5000);
    // Closes the far end and kills socat.
    void stop();
    bool isRunning() const { return m_socat.state() != QProcess::NotRunning; }

    QString devicePath() const { return m_dir.filePath(QStringLiteral("a")); }
    QString farPath() const { return m_dir.filePath(QStringLiteral("b")); }

    // Reads the far end into log() from now on.
    bool openFarEnd();
    const CaptureLog &log() const { return m_log; }
    void clearLog() { m_log.clear(); }

    // Pulls the cable once count bytes have arrived at the far end (0: never).
    void stopAfterBytes(qint64 count) { m_stopAfter = count; }

private:
    QTemporaryDir m_dir;
    QProcess m_socat;
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
