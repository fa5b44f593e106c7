#include "picturecheck.h"

#include <QFile>
#include <QImageReader>
#include <QVector>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// The longest file read: a 64-megapixel camera photo takes some 30 MB, and
// every byte of a file can be one a decoder reads and skips.
const qint64 largestFileBytes = 100 * 1000 * 1000;
// The largest picture decoded whole, in pixels (4000 x 4000): it takes no
// more than 64 MB on its way to the label.
const qint64 largestPicturePixels = 16 * 1000 * 1000;
// The GIF decoder takes some 25 ns a pixel here, many times what the others
// do: a GIF of this many pixels (2000 x 2000) is decoded in about 0.1 s.
const qint64 largestGifPixels = 4 * 1000 * 1000;
// A JPEG is decoded at down to an eighth of its sides while it is read, so
// a camera photo in one scan costs a few MB: its size keeps a bound too,
// four times the other (a 61-megapixel photo is still shown).
const qint64 largestScaledPicturePixels = 4 * largestPicturePixels;
// A JPEG in several scans (progressive, or with a first scan that leaves a
// component out) keeps every coefficient of the whole picture, 2 bytes a
// sample whatever size it is decoded at, until its last scan: a
// 24-megapixel 4:2:0 photo holds 72 MB, one of 4:4:4 or CMYK twice as much.
// A PNG decoded whole is held to the same.
const qint64 largestHeldBytes = 80 * 1000 * 1000;
// What a PNG's picture and the text and other chunks its reader keeps beside
// it may take together: a start may take 100 MB in all.
const qint64 largestPngBytes = 96 * 1000 * 1000;
// An encoder writes a picture's data in chunks of 8 kB or more, or in one a
// row; each chunk costs its reader some 150 ns, on each read of the header.
const int mostPngChunks = 100 * 1000;
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
// further than its limit.
class Walk
{
public:
    explicit Walk(QFile &file, qint64 limit = longestWalk) : file(file), limit(limit) {}

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
    // A long run is skipped by moving the file on, not by reading it.
    void skip(qint64 count)
    {
        const int buffered = buffer.size() - at;
        if (count <= buffered) {
            at += int(qMax<qint64>(count, 0));
            return;
        }
        at = buffer.size();
        file.seek(qMin(file.pos() + count - buffered, file.size()));
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
        overrun = position() >= limit;
        buffer = overrun ? QByteArray() : file.read(64 * 1024);
        at = 0;
        return !buffer.isEmpty();
    }

    QFile &file;
    const qint64 limit;
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

QString tooManyPixels(qint64 width, qint64 height, const QString &file)
{
    return QStringLiteral("Picture not shown, %1 x %2 pixels are too many to decode: %3").arg(width).arg(height).arg(file);
}

// A PNG's reader keeps some chunks beside the picture, each for as long as
// the picture is decoded; each byte of one, once expanded, takes this many:
// a text is kept by the PNG library and as two strings of two bytes a
// character, and made once more on its way; the others are kept once and
// copied once. The rest are skipped as they are read. A compressed chunk's
// size once expanded is not known without expanding it: it counts as the
// most it can come to.
struct KeptChunk
{
    const char *type;
    int bytesPerByte;
};
const KeptChunk keptChunks[] = {{"tEXt", 7}, {"zTXt", 7}, {"iTXt", 7}, {"sPLT", 2},
                                {"iCCP", 2}, {"eXIf", 2}, {"pCAL", 2}, {"sCAL", 2}};
// The PNG library drops a chunk that comes to more than this once expanded,
// and zlib expands a byte to at most 1032.
const qint64 longestKeptChunk = 8 * 1000 * 1000;
const qint64 mostExpansion = 1032;

// What a PNG decoded whole holds per pixel. Colour at 8 bits a sample and
// not interlaced is read a row at a time, each scaled as it is read; grey
// and a palette take a byte a pixel and a copy of 4 bytes to be scaled;
// interlaced colour 4 bytes and a premultiplied copy to be scaled; 16 bits
// a sample twice as much.
int pngBytesPerPixel(int depth, int colourType, bool interlaced)
{
    if (depth > 8)
        return 16;
    if (colourType == 0 || colourType == 3)
        return 5;
    return interlaced ? 8 : 0;
}

// The PNG from the file's present position: its header, then each chunk's
// length and type (and the compression flag of an international text),
// the rest skipped. Its reader goes through every chunk, those after the
// picture too.
QString pngRefusal(QFile &png, const QString &file)
{
    Walk walk(png, largestFileBytes);
    const auto next32 = [&walk]() -> qint64 {
        const int high = walk.next16();
        const int low = walk.next16();
        return high < 0 || low < 0 ? -1 : qint64(high) << 16 | low;
    };
    const auto nextType = [&walk] {
        QByteArray type;
        for (int i = 0; i < 4; ++i)
            type += char(walk.next());
        return type;
    };
    for (const char c : QByteArray("\x89PNG\r\n\x1A\n"))
        if (walk.next() != uchar(c))
            return QString();
    if (next32() != 13 || nextType() != "IHDR")
        return QString();
    const qint64 width = next32();
    const qint64 height = next32();
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return QString(); // a size the PNG library refuses
    const int depth = walk.next();
    const int colourType = walk.next();
    walk.skip(2); // compression and filter methods
    const bool interlaced = walk.next() == 1;
    walk.skip(4); // the chunk's check
    if (width * height > largestPicturePixels)
        return tooManyPixels(width, height, file);
    const QString pixels = QStringLiteral("%1 x %2 pixels").arg(width).arg(height);
    const qint64 held = width * height * pngBytesPerPixel(depth, colourType, interlaced);
    if (held > largestHeldBytes)
        return QStringLiteral("Picture not shown, a PNG of %1 takes %2 MB to decode: %3")
            .arg(pixels)
            .arg(held / 1000000)
            .arg(file);
    qint64 kept = 0;
    for (int chunks = 1;; ++chunks) {
        const qint64 length = next32();
        const QByteArray type = nextType();
        if (length < 0 || type == "IEND")
            break;
        if (chunks > mostPngChunks)
            return QStringLiteral("Picture not shown, a PNG of %1 in more than %2 chunks takes too long to read: %3")
                .arg(pixels)
                .arg(mostPngChunks)
                .arg(file);
        const auto chunk = std::find_if(std::begin(keptChunks), std::end(keptChunks),
                                        [&type](const KeptChunk &k) { return type == k.type; });
        qint64 read = 0;
        if (chunk != std::end(keptChunks)) {
            bool compressed = type == "zTXt" || type == "iCCP";
            if (type == "iTXt") {
                // A keyword of up to 79 characters, then its flag; a chunk
                // without one is counted as compressed.
                int c = 1;
                while (c != 0 && read < qMin<qint64>(length - 1, 80)) {
                    c = walk.next();
                    ++read;
                }
                compressed = c != 0 || walk.next() != 0;
                read += c == 0;
            }
            kept += qMin(compressed ? length * mostExpansion : length, longestKeptChunk) * chunk->bytesPerByte;
        }
        walk.skip(length - read + 4); // the data and the chunk's check
    }
    if (held + kept > largestPngBytes)
        return QStringLiteral("Picture not shown, a PNG of %1 holds text or other data that take up to %2 MB to "
                              "read: %3")
            .arg(pixels)
            .arg(kept / 1000000)
            .arg(file);
    return QString();
}

// Whether the LZW codes of a GIF's picture of the given pixels, in the
// sub-blocks that follow, give no more pixels than it has, read as its
// decoder reads them. The decoder does not stop at the last pixel: each code
// after it still gives its string, up to some 4000 pixels, at a few ns each.
// A string is its code's entry in the table, as long as the entry it was
// made from and one more; a clear code empties the table. Codes no encoder
// writes (one past the next entry, or an entry where a clear code needs a
// pixel) are not followed: such a picture does not fit.
bool lzwFits(Walk &walk, int minimumCodeSize, qint64 pixels)
{
    const int tableSize = 4096;
    if (minimumCodeSize < 0 || minimumCodeSize > 11)
        return false;
    const int clearCode = 1 << minimumCodeSize;
    const int endCode = clearCode + 1;
    std::array<qint64, tableSize> stringLength;
    stringLength.fill(1);
    const auto lengthOf = [&](int code) { return code < clearCode + 2 ? 1 : stringLength[size_t(code)]; };
    int codeSize = 0;
    int nextEntry = 0;
    int growAt = 0;
    bool needFirst = true;
    int previous = 0;
    qint64 given = 0;
    qint64 codes = 0;
    quint32 bits = 0;
    int bitCount = 0;
    const auto clear = [&] {
        codeSize = minimumCodeSize + 1;
        nextEntry = clearCode + 2;
        growAt = 2 * clearCode;
        needFirst = true;
    };
    clear();
    for (int block = walk.next(); block > 0; block = walk.next()) {
        for (int i = 0; i < block; ++i) {
            const int byte = walk.next();
            if (byte < 0)
                return true;
            bits |= quint32(byte) << bitCount;
            bitCount += 8;
            while (bitCount >= codeSize) {
                const int code = int(bits & ((1u << codeSize) - 1));
                bits >>= codeSize;
                bitCount -= codeSize;
                // A clear code before each pixel at most.
                if (++codes > 2 * pixels + tableSize)
                    return false;
                if (code == clearCode) {
                    clear();
                    continue;
                }
                if (code == endCode)
                    return true; // the rest is skipped
                if (code > nextEntry || (needFirst && code > clearCode))
                    return false;
                if (needFirst) {
                    given += 1;
                    needFirst = false;
                } else {
                    given += code == nextEntry ? lengthOf(previous) + 1 : lengthOf(code);
                    if (nextEntry < tableSize) {
                        stringLength[size_t(nextEntry)] = lengthOf(previous) + 1;
                        if (++nextEntry >= growAt && growAt < tableSize) {
                            growAt *= 2;
                            ++codeSize;
                        }
                    }
                }
                previous = code;
                // An encoder writes the pixels and no more; a string's length
                // is allowed past them.
                if (given > pixels + tableSize)
                    return false;
            }
        }
    }
    return true;
}

// A GIF's header, its screen and colour table, the blocks before its first
// picture and that picture's data: the decoder of a reader decodes the
// first picture only, on a screen of the size the header gives.
QString gifRefusal(const QString &file)
{
    QFile gif(file);
    if (!gif.open(QIODevice::ReadOnly))
        return QString();
    Walk walk(gif, largestFileBytes);
    const auto next16 = [&walk] {
        const int low = walk.next();
        const int high = walk.next();
        return low < 0 || high < 0 ? -1 : high << 8 | low;
    };
    const auto skipColourTable = [&walk](int flags) {
        if (flags >= 0 && (flags & 0x80))
            walk.skip(3 << ((flags & 7) + 1));
    };
    walk.skip(6); // signature and version
    const int screenWidth = next16();
    const int screenHeight = next16();
    const int flags = walk.next();
    walk.skip(2); // background and aspect
    if (qint64(screenWidth) * screenHeight > largestGifPixels)
        return tooManyPixels(screenWidth, screenHeight, file);
    skipColourTable(flags);
    for (;;) {
        const int introducer = walk.next();
        if (introducer == '!') {
            walk.skip(1); // the label
            for (int block = walk.next(); block > 0; block = walk.next())
                walk.skip(block);
        } else if (introducer == ',') {
            walk.skip(4); // left and top
            const int width = next16();
            const int height = next16();
            skipColourTable(walk.next());
            const qint64 pixels = qint64(width) * height;
            if (pixels > largestGifPixels)
                return tooManyPixels(width, height, file);
            if (lzwFits(walk, walk.next(), pixels))
                return QString();
            return QStringLiteral("Picture not shown, a GIF of %1 x %2 pixels holds more picture data than its pixels "
                                  "need: %3")
                .arg(width)
                .arg(height)
                .arg(file);
        } else {
            return QString(); // the end, or no picture the decoder reads
        }
    }
}

// An icon's directory claims a size for each picture, at most 256 x 256
// (0 stands for 256), and that is the size a reader reports; a PNG in it is
// decoded whole at the size of its own header, whatever the directory says.
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
    const quint32 offset = qFromLittleEndian<quint32>(entry + 12);
    if (!icon.seek(offset))
        return QString();
    const QByteArray png = icon.read(8 + 8 + 8); // signature, header chunk's length and type, width and height
    if (png.size() < 24 || !png.startsWith("\x89PNG\r\n\x1A\n") || png.mid(12, 4) != "IHDR")
        return QString();
    const quint32 width = qFromBigEndian<quint32>(png.constData() + 16);
    const quint32 height = qFromBigEndian<quint32>(png.constData() + 20);
    if (width > claimedWidth || height > claimedHeight)
        return QStringLiteral("Picture not shown, an icon claims %1 x %2 pixels but holds %3 x %4: %5")
            .arg(claimedWidth)
            .arg(claimedHeight)
            .arg(width)
            .arg(height)
            .arg(file);
    return icon.seek(offset) ? pngRefusal(icon, file) : QString();
}

} // namespace

QString pictureRefusal(QImageReader &reader)
{
    const QString file = reader.fileName();
    QFile picture(file);
    if (picture.size() > largestFileBytes)
        return QStringLiteral("Picture not shown, a file of %1 MB is too long to read: %2")
            .arg(picture.size() / 1000000)
            .arg(file);
    // The format is asked before the size, which moves an icon reader past
    // what it tells the format by.
    const QByteArray format = reader.format();
    // A PNG's reader reads the text before its picture with the size: the
    // walk comes first, and its header gives the size.
    if (format == "png") {
        if (!picture.open(QIODevice::ReadOnly))
            return QString();
        return pngRefusal(picture, file);
    }
    const QSize size = reader.size();
    // A JPEG is decoded at down to an eighth of its sides while it is read.
    const bool jpeg = format == "jpeg";
    if (qint64(size.width()) * size.height() > (jpeg ? largestScaledPicturePixels : largestPicturePixels))
        return tooManyPixels(size.width(), size.height(), file);
    if (jpeg)
        return jpegRefusal(file, size);
    if (format == "ico" || format == "cur")
        return iconRefusal(file);
    if (format == "gif")
        return gifRefusal(file);
    return QString();
}
