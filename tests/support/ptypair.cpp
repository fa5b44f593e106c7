#include "ptypair.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

PtyPair::PtyPair()
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

PtyPair::~PtyPair()
{
    stop();
}

bool PtyPair::socatAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty();
}

QString PtyPair::missingSocatMessage()
{
    return QStringLiteral("socat is not installed; install it (e.g. apt-get install socat) to run the serial tests");
}

bool PtyPair::start(int timeoutMs)
{
    if (!m_dir.isValid() || isRunning())
        return false;
    // Links left behind by an earlier, killed socat must not look ready.
    QFile::remove(devicePath());
    QFile::remove(farPath());

    const QString end = QStringLiteral("pty,raw,echo=0,link=%1");
    m_socat.start(QStringLiteral("socat"), {end.arg(devicePath()), end.arg(farPath())});
    if (!m_socat.waitForStarted(timeoutMs))
        return false;

    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(devicePath()) || !QFileInfo::exists(farPath())) {
        if (clock.elapsed() > timeoutMs || !isRunning())
            return false;
        QThread::msleep(5);
    }
    return true;
}

void PtyPair::stop()
{
    if (m_far.isOpen())
        m_far.close();
    if (isRunning()) {
        m_socat.kill();
        m_socat.waitForFinished(3000);
    }
}

bool PtyPair::openFarEnd()
{
    m_far.setPortName(farPath());
    return m_far.open(QIODevice::ReadWrite);
}
