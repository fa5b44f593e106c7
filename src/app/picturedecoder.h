#ifndef PICTUREDECODER_H
#define PICTUREDECODER_H

#include <QImage>
#include <QSize>
#include <QString>

// An operator's picture file is decoded in a short-lived process of the
// executable's own, under a limit on its memory that the operating system
// holds and a limit on its time after which it is killed: whatever a file
// makes an image reader do, the console only ever receives the pixels it
// asked for. Pictures of the program's own resources need none of this.
namespace PictureDecoder {

// The largest file handed to a decoder: a 64-megapixel camera photo takes
// some 30 MB, and every byte of a file can be one a decoder reads and skips.
constexpr qint64 largestFileBytes = 100 * 1000 * 1000;
// What the decoding process may take besides the executable's own code.
constexpr qint64 memoryLimitBytes = 160 * 1024 * 1024;
// From the start of the process to the last pixel received.
constexpr int defaultTimeLimitMs = 2000;

// Whether the command line asks for the decoder; then decoderMain() is the
// whole of the process: call both before any application object exists.
bool isDecoderCall(int argc, char **argv);
int decoderMain(int argc, char **argv);

// The picture in file scaled to size (ignoring its aspect), decoded in a
// process of its own; a null image and why in refusal (one line naming the
// file) when the file is too long to read, is not a picture, or takes too
// much memory or too long to decode.
QImage decode(const QString &file, const QSize &size, QString *refusal);

// The wall-clock bound of a decode; defaultTimeLimitMs unless set.
void setTimeLimitMs(int ms);

// The program started as the decoder, with the decoder's switch, the file
// and the size: the executable itself unless set (tests set a stand-in).
void setProgram(const QString &program);

} // namespace PictureDecoder

#endif // PICTUREDECODER_H
