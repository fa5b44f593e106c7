#include "picturecheck.h"

#include <QFile>
#include <QVector>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

// The largest picture decoded whole, in pixels (4000 x 4000): it takes no
// more than 64 MB on its way to the label.
const qint64 largestPicturePixels = 16 * 1000 * 1000;
// A JPEG is decoded at down to an eighth of its sides while it is read, so
// a camera photo in one scan costs a few MB: its size keeps a bound too,
// four times the other (a 61-megapixel photo is still shown).
const qint64 largestScaledPicturePixels = 4 * largestPicturePixels;
// A JPEG in several scans (progressive, or with a first scan that leaves a
// component out) keeps every coefficient of the whole picture, 2 bytes a
// sample whatever size it is decoded at, until its last scan: a
// 24-megapixel 4:2:0 photo holds 72 MB, one of 4:4:4 or CMYK twice as much.
const qint64 largestHeldBytes = 80 * 1000 * 1000;
// Each scan is one more pass over the blocks of its components, and a byte
// of scan data costs about half of a block's pass. A 12-megapixel 4:2:0
// photo in the usual ten scans comes to 2 to 5 million (up to 0.4 s to
// decode), a picture at this bound takes some 0.6 s: the logo is decoded
// twice before the main window shows.
const qint64 largestScanWork = 8 * 1000 * 1000;
// An encoder writes about ten scans; more only repeat the work.
const int mostScans = 100;
// The most a walk over a file's markers reads: well past the headers and
// scans of a photo the other bounds let through.
const qint64 longestWalk = 32 * 1000 * 1000;

// A file read forward for a walk: byte by byte through a buffer, never
// further than longestWalk.
class Walk
{
public:
    explicit Walk(QFile &file) : file(file) {}

    bool tooLong() const { return overrun; }
    qint64 position() const { return file.pos() - (buffer.size() - at); }

    // The next byte, -1 at the end of the file or of the walk.
    int next()
    {
        if (at == buffer.size() && !refill())
            return -1;
        return uchar(buffer.at(at++));
    }
    int next16()
    {
        const int high = next();
        const int low = next();
        return high < 0 || low < 0 ? -1 : high << 8 | low;
    }
    void skip(int count)
    {
        while (count > 0 && (at < buffer.size() || refill())) {
            const int step = qMin(count, buffer.size() - at);
            at += step;
            count -= step;
        }
    }
    // Past the next 0xFF byte; false at the end.
    bool pastFF()
    {
        for (;;) {
            if (at == buffer.size() && !refill())
                return false;
            const char *from = buffer.constData() + at;
            const void *found = std::memchr(from, 0xFF, size_t(buffer.size() - at));
            if (found) {
                at += int(static_cast<const char *>(found) - from) + 1;
                return true;
            }
            at = buffer.size();
        }
    }

private:
    bool refill()
    {
        overrun = position() >= longestWalk;
        buffer = overrun ? QByteArray() : file.read(64 * 1024);
        at = 0;
        return !buffer.isEmpty();
    }

    QFile &file;
    QByteArray buffer;
    int at = 0;
    bool overrun = false;
};

// JPEG markers, as a decoder reads them.
const int startOfImage = 0xD8;
const int endOfImage = 0xD9;
const int startOfScan = 0xDA;
bool isFrame(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}
bool isProgressiveFrame(int marker)
{
    return marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
}
bool standsAlone(int marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The next marker's code, past the stray bytes a decoder skips and the 0xFF
// fill bytes that may lead a marker; -1 at the end.
int nextMarker(Walk &walk)
{
    while (walk.pastFF()) {
        int code = walk.next();
        while (code == 0xFF)
            code = walk.next();
        if (code != 0)
            return code;
    }
    return -1;
}

// The marker that ends a scan's data (a stuffed 0xFF and a restart marker
// are part of the data); -1 at the end.
int markerAfterScan(Walk &walk)
{
    int code;
    do
        code = nextMarker(walk);
    while (standsAlone(code));
    return code;
}

struct FrameComponent
{
    int id;
    qint64 blocks; // as the decoder keeps them for the whole picture
};

// The components of a frame header (the walk past its length), empty for
// one a decoder refuses.
QVector<FrameComponent> frameComponents(Walk &walk, int length)
{
    walk.skip(1); // sample precision
    const int height = walk.next16();
    const int width = walk.next16();
    const int count = walk.next();
    if (height <= 0 || width <= 0 || count <= 0 || length != 8 + 3 * count)
        return {};
    struct Sampling
    {
        int id, h, v;
    };
    QVector<Sampling> sampling;
    int hMax = 1;
    int vMax = 1;
    for (int i = 0; i < count; ++i) {
        const int id = walk.next();
        const int factors = walk.next();
        walk.skip(1); // quantisation table
        const Sampling s{id, factors >> 4, factors & 15};
        if (factors < 0 || s.h < 1 || s.h > 4 || s.v < 1 || s.v > 4)
            return {};
        sampling.append(s);
        hMax = qMax(hMax, s.h);
        vMax = qMax(vMax, s.v);
    }
    const auto roundUp = [](qint64 value, qint64 unit) { return (value + unit - 1) / unit; };
    QVector<FrameComponent> components;
    for (const Sampling &s : sampling) {
        const qint64 columns = roundUp(roundUp(qint64(width) * s.h, hMax * 8), s.h) * s.h;
        const qint64 rows = roundUp(roundUp(qint64(height) * s.v, vMax * 8), s.v) * s.v;
        components.append({s.id, columns * rows});
    }
    return components;
}

QString jpegRefusal(const QString &file, const QSize &size)
{
    QFile jpeg(file);
    if (!jpeg.open(QIODevice::ReadOnly))
        return QString();
    Walk walk(jpeg);
    const QString pixels = QStringLiteral("%1 x %2 pixels").arg(size.width()).arg(size.height());
    const QString tooLong = QStringLiteral("Picture not shown, a JPEG of %1 takes too long to decode: %2").arg(pixels, file);
    if (walk.next() != 0xFF || walk.next() != startOfImage)
        return QString();
    QVector<FrameComponent> components;
    bool progressive = false;
    int scans = 0;
    qint64 work = 0;
    int marker = nextMarker(walk);
    // Whatever the walk cannot follow stops the decoder at the same place:
    // what it cost up to there is what the picture costs.
    while (marker >= 0 && marker != endOfImage) {
        if (standsAlone(marker)) {
            marker = nextMarker(walk);
            continue;
        }
        const int length = walk.next16();
        if (length < 2)
            break;
        if (isFrame(marker)) {
            if (!components.isEmpty())
                break; // a second frame
            components = frameComponents(walk, length);
            progressive = isProgressiveFrame(marker);
            if (components.isEmpty())
                break;
        } else if (marker == startOfScan) {
            const int count = walk.next();
            if (components.isEmpty() || count <= 0 || count > 4 || length != 6 + 2 * count)
                break;
            for (int i = 0; i < count; ++i) {
                const int id = walk.next();
                walk.skip(1); // entropy tables
                const auto component = std::find_if(components.cbegin(), components.cend(),
                                                     [id](const FrameComponent &c) { return c.id == id; });
                if (component == components.cend())
                    return QString();
                work += component->blocks;
            }
            walk.skip(3); // spectral selection and approximation
            if (++scans == 1) {
                // One scan of every component is decoded as it is read, and
                // a decoder takes no scan after it.
                if (!progressive && count == components.size())
                    return QString();
                qint64 held = 0;
                for (const FrameComponent &c : components)
                    held += c.blocks * 64 * 2;
                if (held > largestHeldBytes)
                    return QStringLiteral("Picture not shown, a JPEG of %1 in several scans holds %2 MB while it is "
                                          "decoded: %3")
                        .arg(pixels)
                        .arg(held / 1000000)
                        .arg(file);
            }
            const qint64 dataFrom = walk.position();
            marker = markerAfterScan(walk);
            work += (walk.position() - dataFrom) / 2;
            if (scans > mostScans || work > largestScanWork || walk.tooLong())
                return tooLong;
            continue;
        } else {
            walk.skip(length - 2);
        }
        marker = nextMarker(walk);
    }
    return walk.tooLong() ? tooLong : QString();
}

// An icon's directory claims a size for each picture, at most 256 x 256
// (0 stands for 256), and that is the size a reader reports; a PNG in it is
// decoded at the size of its own header, whatever the directory says.
QString iconRefusal(const QString &file)
{
    QFile icon(file);
    if (!icon.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray directory = icon.read(6 + 16); // the header and the first picture's entry, the one read
    if (directory.size() < 6 + 16)
        return QString();
    const auto *entry = reinterpret_cast<const uchar *>(directory.constData()) + 6;
    const quint32 claimedWidth = entry[0] ? entry[0] : 256;
    const quint32 claimedHeight = entry[1] ? entry[1] : 256;
    if (!icon.seek(qFromLittleEndian<quint32>(entry + 12)))
        return QString();
    const QByteArray png = icon.read(8 + 8 + 8); // signature, header chunk's length and type, width and height
    if (png.size() < 24 || !png.startsWith("\x89PNG\r\n\x1A\n") || png.mid(12, 4) != "IHDR")
        return QString();
    const quint32 width = qFromBigEndian<quint32>(png.constData() + 16);
    const quint32 height = qFromBigEndian<quint32>(png.constData() + 20);
    if (width <= claimedWidth && height <= claimedHeight)
        return QString();
    return QStringLiteral("Picture not shown, an icon claims %1 x %2 pixels but holds %3 x %4: %5")
        .arg(claimedWidth)
        .arg(claimedHeight)
        .arg(width)
        .arg(height)
        .arg(file);
}

} // namespace

QString pictureRefusal(const QString &file, const QByteArray &format, const QSize &size)
{
    // The PNG reader also takes a scaled size but decodes the whole picture
    // first, so only a JPEG counts as decoded scaled while it is read.
    const bool jpeg = format == "jpeg";
    if (qint64(size.width()) * size.height() > (jpeg ? largestScaledPicturePixels : largestPicturePixels))
        return QStringLiteral("Picture not shown, %1 x %2 pixels are too many to decode: %3")
            .arg(size.width())
            .arg(size.height())
            .arg(file);
    if (jpeg)
        return jpegRefusal(file, size);
    if (format == "ico" || format == "cur")
        return iconRefusal(file);
    return QString();
}
