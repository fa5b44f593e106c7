#ifndef PICTURECHECK_H
#define PICTURECHECK_H

#include <QByteArray>
#include <QSize>
#include <QString>

// Whether a picture file may be decoded for a label at a cost a start of the
// console can take, in memory and in time. format and size are what a
// QImageReader reports for the file; where that size is not what gets
// decoded (an icon holding a PNG, a JPEG in several scans) the file's own
// bytes are read, in a walk bounded by what it reads. Returns the one line
// that says why the picture is not to be decoded, empty when it may be.
QString pictureRefusal(const QString &file, const QByteArray &format, const QSize &size);

#endif // PICTURECHECK_H
