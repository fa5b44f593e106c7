#ifndef TCPCAPTURESERVER_H
#define TCPCAPTURESERVER_H

#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include "capturelog.h"
#include "communication.h"
#include "globalobject.h"

// A local stand-in for the wireless serial bridge: listens on 127.0.0.1 on
// an ephemeral port, takes one client at a time (a new one replaces the old)
// and records every chunk it receives with its arrival time.
class TcpCaptureServer : public QObject
{
public:
    explicit TcpCaptureServer(QObject *parent = nullptr) : QObject(parent)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &TcpCaptureServer::acceptClient);
    }

    bool listen() { return m_server.listen(QHostAddress::LocalHost, 0); }
    // Opens the main link to this server as the wireless bridge and marks
    // it open, as the main window does (listening first if need be).
    bool openMainLink()
    {
        const bool open = (m_server.isListening() || listen()) && lcdCommunication.connectTcp(host(), port());
        GlobalObject::wirelessMode = open;
        GlobalObject::linkOpen = open;
        return open;
    }
    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_server.serverPort(); }

    const CaptureLog &log() const { return m_log; }
    void clearLog() { m_log.clear(); }
    int connectionCount() const { return m_connections; }
    bool hasClient() const { return m_client && m_client->state() == QAbstractSocket::ConnectedState; }

    // Drops the client once count bytes have arrived on its connection
    // (0: never), as a bridge that goes away.
    void closeAfterBytes(qint64 count) { m_closeAfter = count; }
    // The present client is read no more, as a bridge that hangs: its bytes
    // back up in the kernel and then in the link. A new client is read.
    void stopReading()
    {
        if (!m_client)
            return;
        disconnect(m_client, &QTcpSocket::readyRead, this, nullptr);
        // Qt's own buffer full, the socket leaves the rest in the kernel.
        m_client->setReadBufferSize(1);
    }

private:
    void acceptClient()
    {
        while (QTcpSocket *next = m_server.nextPendingConnection()) {
            if (m_client) {
                m_client->abort();
                m_client->deleteLater();
            }
            m_client = next;
            ++m_connections;
            m_clientBytes = 0;
            next->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            connect(next, &QTcpSocket::readyRead, this, &TcpCaptureServer::readClient);
        }
    }
    void readClient()
    {
        const QByteArray bytes = m_client->readAll();
        m_log.add(bytes);
        m_clientBytes += bytes.size();
        if (m_closeAfter > 0 && m_clientBytes >= m_closeAfter)
            m_client->close();
    }

    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    int m_connections = 0;
    CaptureLog m_log;
    qint64 m_closeAfter = 0;
    qint64 m_clientBytes = 0;
};

#endif // TCPCAPTURESERVER_H
