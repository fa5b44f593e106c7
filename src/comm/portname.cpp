#include "portname.h"

#include <QRegularExpression>

QString serialDeviceName(const QString &portName)
{
#ifdef Q_OS_WIN
    return portName;
#else
    static const QRegularExpression comName(QStringLiteral("^COM([1-9][0-9]*)$"));
    const QRegularExpressionMatch m = comName.match(portName);
    if (!m.hasMatch())
        return portName;
    return QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toInt() - 1);
#endif
}
