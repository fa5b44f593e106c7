#include "tcpcaptureserver.h"

#include "communication.h"
#include "globalobject.h"

TcpCaptureServer::TcpCaptureServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] { acceptClient(); });
}

bool TcpCaptureServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

bool TcpCaptureServer::openMainLink()
{
    if (!m_server.isListening() && !listen())
        return false;
    const bool open = lcdCommunication.connectTcp(host(), port());
    GlobalObject::wirelessMode = open;
    GlobalObject::linkOpen = open;
    return open;
}

void TcpCaptureServer::acceptClient()
{
    while (QTcpSocket *next = m_server.nextPendingConnection()) {
        if (m_client) {
            m_client->abort();
            m_client->deleteLater();
        }
        m_client = next;
        m_clientBytes = 0;
        ++m_connections;
        next->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(next, &QTcpSocket::readyRead, this, [this] { readClient(); });
    }
}

void TcpCaptureServer::readClient()
{
    const QByteArray bytes = m_client->readAll();
    m_log.add(bytes);
    m_clientBytes += bytes.size();
    if (m_closeAfter > 0 && m_clientBytes >= m_closeAfter)
        m_client->close();
}
