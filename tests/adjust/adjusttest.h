#ifndef ADJUSTTEST_H
#define ADJUSTTEST_H

#include <QAbstractButton>
#include <QByteArray>
#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include "communication.h"
#include "globalobject.h"
#include "tcpcaptureserver.h"

// What the adjustment window tests share: widgets by object name, values
// typed as "name=value", and the main link opened on a local TCP capture.
namespace AdjustTest {

template <typename T>
T *child(QWidget *window, const QString &name)
{
    T *widget = window->findChild<T *>(name);
    if (!widget)
        qFatal("no widget %s", qPrintable(name));
    return widget;
}

// "r_sb=255" sets a spin box, "had_le=640" an edit, "startadjust_cb=1" ticks.
inline void enter(QWidget *window, const QStringList &values)
{
    for (const QString &entry : values) {
        const QString name = entry.section(QLatin1Char('='), 0, 0);
        const QString value = entry.section(QLatin1Char('='), 1);
        QWidget *widget = child<QWidget>(window, name);
        if (auto *spin = qobject_cast<QSpinBox *>(widget))
            spin->setValue(value.toInt());
        else if (auto *edit = qobject_cast<QLineEdit *>(widget))
            edit->setText(value);
        else if (auto *box = qobject_cast<QCheckBox *>(widget))
            box->setChecked(value == QLatin1String("1"));
    }
}

inline bool openCaptureLink(TcpCaptureServer &server)
{
    if (!server.listen() || !lcdCommunication.connectTcp(server.host(), server.port()))
        return false;
    GlobalObject::wirelessMode = true;
    GlobalObject::linkOpen = true;
    return QTest::qWaitFor([&] { return server.hasClient(); }, 5000);
}

// A frame to a fixed address pair after the ones under test: once it has
// arrived, everything sent before it has too.
inline QByteArray sendSentinel()
{
    lcdCommunication.sendData(lcdCommunication.makeCommand(QStringLiteral("AA"), QStringLiteral("55"), false, 1), 0,
                              false);
    return QByteArray::fromHex("C611FFAA55BB");
}

} // namespace AdjustTest

#endif // ADJUSTTEST_H
