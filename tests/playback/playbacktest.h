#ifndef PLAYBACKTEST_H
#define PLAYBACKTEST_H

#include <QCoreApplication>
#include <QTest>
#include <QWidget>

#include "communication.h"
#include "globalobject.h"
#include "tcpcaptureserver.h"

// The playback windows' tests send on a real TCP link to a local stand-in
// for the wireless bridge and read what arrived there.
namespace PlaybackTest {

inline bool openBridge(TcpCaptureServer &bridge)
{
    if (!bridge.listen() || !lcdCommunication.connectTcp(bridge.host(), bridge.port()))
        return false;
    GlobalObject::wirelessMode = true;
    GlobalObject::linkOpen = true;
    return true;
}

inline void closeBridge()
{
    GlobalObject::linkOpen = false;
    GlobalObject::wirelessMode = false;
    lcdCommunication.closeTcp();
}

template <typename T>
T *child(QWidget *window, const char *name)
{
    T *widget = window->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

} // namespace PlaybackTest

#endif // PLAYBACKTEST_H
