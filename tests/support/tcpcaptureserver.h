#ifndef TCPCAPTURESERVER_H
#define TCPCAPTURESERVER_H

#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include "capturelog.h"

// A local stand-in for the wireless serial bridge: listens on 127.0.0.1 on
// an ephemeral port, takes one client at a time (a new one replaces the old)
// and records every chunk it receives with its arrival time.
class TcpCaptureServer : public QObject
{
public:
    explicit TcpCaptureServer(QObject *parent = nullptr);

    bool listen();
    // Opens the main link to this server as the wireless bridge and marks
    // it open, as the main window does (listening first if need be).
    bool openMainLink();
    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_server.serverPort(); }

    const CaptureLog &log() const { return m_log; }
    void clearLog() { m_log.clear(); }
    int connectionCount() const { return m_connections; }
    bool hasClient() const { return m_client && m_client->state() == QAbstractSocket::ConnectedState; }

    // Drops the client once count bytes have arrived on its connection
    // (0: never), as a bridge that goes away.
    void closeAfterBytes(qint64 count) { m_closeAfter = count; }

private:
    void acceptClient();
    void readClient();

    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    CaptureLog m_log;
    qint64 m_closeAfter = 0;
    qint64 m_clientBytes = 0;
    int m_connections = 0;
};

#endif // TCPCAPTURESERVER_H
