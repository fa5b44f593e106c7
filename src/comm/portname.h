#ifndef PORTNAME_H
#define PORTNAME_H

#include <QString>

// The port names the operator sees are the Windows ones ("COM1".."COM15").
// Where there are no COM ports, "COMn" stands for the n-th standard serial
// device; any other name (a found port such as "ttyUSB0", or a full device
// path) is opened as it is.
QString serialDeviceName(const QString &portName);

#endif // PORTNAME_H
