#ifndef PICTURECHECK_H
#define PICTURECHECK_H

#include <QString>

class QImageReader;

// Whether the picture a reader is set on may be decoded for a label at a
// cost a start of the console can take, in memory and in time. The file's
// length and format are asked first. Where what the reader reports is not
// what gets decoded (an icon holding a PNG, a JPEG in several scans, the
// data of a GIF), or where asking it already costs (a PNG's header is read
// with the text before its picture), the file's own bytes are read, in a
// walk bounded by what it reads; the reader is asked for the size only once
// that is cheap. Returns the one line that says why the picture is not to be
// decoded, empty when it may be.
QString pictureRefusal(QImageReader &reader);

#endif // PICTURECHECK_H
