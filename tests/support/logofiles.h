#ifndef LOGOFILES_H
#define LOGOFILES_H

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QPair>
#include <QString>
#include <QVector>
#include <QtEndian>

#include <array>
#include <functional>

#include "picturedecoder.h"

// Picture files an operator could name as the logo, ordinary and hostile,
// made by name in the current folder when first asked for. Most are a few
// hundred bytes; the long ones are sparse files.
namespace LogoFiles {

inline bool writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A colour photo of the given size. Made from a palette, a byte a pixel, it
// costs a quarter of what making one whole would.
inline QImage cameraPhoto(const QSize size)
{
    QImage photo(size, QImage::Format_Indexed8);
    for (int i = 0; i < 256; ++i)
        photo.setColor(i, qRgb(i, 255 - i, (i * 7) & 255));
    for (int y = 0; y < size.height(); ++y) {
        uchar *line = photo.scanLine(y);
        for (int x = 0; x < size.width(); ++x)
            line[x] = uchar((x / 7) ^ (y / 5));
    }
    return photo;
}

inline QByteArray encoded(const QImage &image, const char *format, bool progressive = false, int quality = -1,
                          int compression = 0)
{
    QBuffer bytes;
    QImageWriter writer(&bytes, format);
    writer.setProgressiveScanWrite(progressive);
    writer.setQuality(quality);
    writer.setCompression(compression);
    return bytes.open(QIODevice::WriteOnly) && writer.write(image) ? bytes.data() : QByteArray();
}

inline QImage oneColour(const QSize size, QImage::Format format = QImage::Format_RGB32, QColor colour = QColor(30, 120, 200))
{
    QImage image(size, format);
    image.fill(colour);
    return image;
}

// An icon whose one entry claims 256 x 256 pixels (written 0) and holds the PNG given.
inline QByteArray iconHolding(const QByteArray &png)
{
    QByteArray icon("\0\0\1\0\1\0" "\0\0\0\0\1\0\x20\0", 14);
    const quint32 sizeAndOffset[] = {qToLittleEndian(quint32(png.size())), qToLittleEndian(quint32(6 + 16))};
    return icon.append(reinterpret_cast<const char *>(sizeAndOffset), 8).append(png);
}

// A progressive JPEG whose frame claims 8000 x 8000 pixels of the given
// components, each sampled in full, with one scan of a few bytes: a decoder
// sets aside the coefficients of the whole picture before it finds the data short.
inline QByteArray progressiveClaim(int components)
{
    QByteArray jpeg("\xFF\xD8" "\xFF\xDB\0\x43\0", 7); // quantisation table 0, all ones
    jpeg += QByteArray(64, 1);
    jpeg += QByteArray("\xFF\xC4\0\x14\0\x01", 6) + QByteArray(16, 0); // DC table 0: one code, for 0
    jpeg += QByteArray("\xFF\xC2\0", 3) + char(8 + 3 * components) + QByteArray("\x08\x1F\x40\x1F\x40", 5);
    jpeg += char(components);
    for (char id = 1; id <= components; ++id)
        jpeg += id + QByteArray("\x11\0", 2);
    jpeg += QByteArray("\xFF\xDA\0", 3) + char(6 + 2 * components) + char(components);
    for (char id = 1; id <= components; ++id)
        jpeg += id + QByteArray(1, 0);
    // A first DC scan (spectral 0 to 0, point transform 1), of 4 bytes.
    return jpeg + QByteArray("\0\0\x01" "\0\0\0\0" "\xFF\xD9", 9);
}

// The progressive JPEG with its scan (from 0, of the usual 10) written again
// and again after itself: the scan header, its data, up to the marker after it.
inline QByteArray withScanRepeated(QByteArray jpeg, int scan, int times)
{
    int at = jpeg.indexOf("\xFF\xDA");
    for (int i = 0; i < scan && at >= 0; ++i)
        at = jpeg.indexOf("\xFF\xDA", at + 2);
    int end = at + 2;
    while (at >= 0 && !(jpeg.at(end) == '\xFF' && jpeg.at(end + 1) != 0))
        ++end;
    return at < 0 ? QByteArray() : jpeg.insert(end, jpeg.mid(at, end - at).repeated(times));
}

inline quint32 crc32(const QByteArray &bytes, quint32 crc = 0)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int bit = 0; bit < 8; ++bit)
                c = c & 1 ? (c >> 1) ^ 0xEDB88320u : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (const char c : bytes)
        crc = table[(crc ^ uchar(c)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

// A PNG chunk: length, type, data and its CRC-32.
inline QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    const quint32 length = qToBigEndian(quint32(data.size()));
    const quint32 check = qToBigEndian(crc32(type + data));
    return QByteArray(reinterpret_cast<const char *>(&length), 4) + type + data
           + QByteArray(reinterpret_cast<const char *>(&check), 4);
}

// zlib's stream of the bytes: qCompress's, past its 4-byte length.
inline QByteArray zlibStream(const QByteArray &bytes) { return qCompress(bytes, 9).mid(4); }

// A PNG of black pixels, made without encoding a picture: the header fields
// given, the chunks given, and rows of zeros (with a byte more a row for the
// filter bytes of an interlaced picture's passes), or the picture data given.
inline QByteArray blackPng(int width, int height, int depth, int colourType, bool interlaced,
                           const QByteArray &chunks = QByteArray(), const QByteArray &data = QByteArray())
{
    const int channels[] = {1, 0, 3, 1, 2, 0, 4};
    QByteArray header(13, 0);
    qToBigEndian(quint32(width), header.data());
    qToBigEndian(quint32(height), header.data() + 4);
    header[8] = char(depth);
    header[9] = char(colourType);
    header[12] = char(interlaced);
    const qint64 rows = qint64(height) * (1 + (qint64(width) * channels[colourType] * depth + 7) / 8);
    return "\x89PNG\r\n\x1A\n" + pngChunk("IHDR", header) + chunks
           + pngChunk("IDAT", data.isNull() ? zlibStream(QByteArray(int(rows + (interlaced ? height : 0)), 0)) : data)
           + pngChunk("IEND", QByteArray());
}

// A zlib stream of about the given length that gives far more zeros than
// it holds: a fixed-code block of a zero and then matches of 258 bytes at
// distance 1, 13 bits each (every 13 bytes give 2064 zeros), a last empty
// block and the check of what it gave.
inline QByteArray manyZeros(int length)
{
    QByteArray stream("\x78\x01", 2);
    quint64 bits = 0b010; // not the last block, fixed codes
    int count = 3;
    quint64 zeros = 1;
    auto put = [&](quint32 code, int length, bool huffman) {
        for (int i = 0; i < length; ++i, ++count) // Huffman codes go most significant bit first
            bits |= quint64((code >> (huffman ? length - 1 - i : i)) & 1) << count;
        for (; count >= 8; count -= 8, bits >>= 8)
            stream += char(bits & 0xFF);
    };
    put(0b00110000, 8, true);
    // Eight matches fill 13 bytes and leave the bits pending as they were:
    // the rest repeats those bytes.
    const int before = stream.size();
    for (int i = 0; i < 8; ++i) {
        put(0b11000101, 8, true);
        put(0, 5, true);
    }
    const int times = qMax(0, (length - stream.size()) / 13);
    stream += stream.mid(before).repeated(times);
    zeros += quint64(8) * 258 * (1 + times);
    put(0, 7, true);      // end of block
    put(0b011, 3, false); // the last block, fixed codes
    put(0, 7, true);      // and its end
    put(0, 8 - count, false);
    // Adler-32 of that many zeros.
    const quint32 check = quint32(zeros % 65521) << 16 | 1;
    const quint32 big = qToBigEndian(check);
    return stream + QByteArray(reinterpret_cast<const char *>(&big), 4);
}

// A GIF of one picture of the given size, two colours, and the LZW codes
// given as (code, bits) pairs.
inline QByteArray gif(int width, int height, int minimumCodeSize, const QVector<QPair<int, int>> &codes)
{
    QByteArray data;
    quint32 bits = 0;
    int count = 0;
    for (const auto &code : codes)
        for (bits |= quint32(code.first) << count, count += code.second; count >= 8; count -= 8, bits >>= 8)
            data += char(bits);
    if (count > 0)
        data += char(bits);
    const char size[] = {char(width), char(width >> 8), char(height), char(height >> 8)};
    QByteArray bytes = "GIF89a" + QByteArray(size, 4) + QByteArray("\x80\0\0" "\0\0\0\xFF\xFF\xFF" ",\0\0\0\0", 14)
                       + QByteArray(size, 4) + QByteArray(1, 0) + char(minimumCodeSize);
    for (int at = 0; at < data.size(); at += 255)
        bytes += char(qMin(255, data.size() - at)) + data.mid(at, 255);
    return bytes + QByteArray("\0;", 2);
}

// A GIF of one colour as an encoder writes it, giving the pixels given (more
// than the picture has: its data runs on). Each code makes the entry one
// pixel longer than the last, and the next code is that entry, until the
// table is full; then the longest entry, of 4091 pixels, again and again;
// then the entry of what is left.
inline QByteArray gifOfOneColour(int width, int height, qint64 pixels)
{
    QVector<QPair<int, int>> codes{{4, 3}, {0, 3}}; // clear, then the first pixel
    int size = 3;
    for (qint64 left = pixels - 1, next = 6; left > 0;) {
        const int entry = int(qMin<qint64>(next, 4095));
        const int code = left >= entry - 4 ? entry : left > 1 ? int(left) + 4 : 0;
        codes.append({code, size});
        left -= qMin<qint64>(left, entry - 4);
        if (next < 4096 && ++next >= 1 << size && size < 12)
            ++size;
    }
    codes.append({5, size});
    return gif(width, height, 2, codes);
}

// A file of the given length: the head, zeros (a hole), and the tail at its end.
inline bool sparseFile(const QString &name, const QByteArray &head, qint64 length, const QByteArray &tail)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(head) == head.size() && file.resize(length - tail.size())
           && file.seek(length - tail.size()) && file.write(tail) == tail.size();
}

// A baseline JPEG of 64 x 64 pixels with segments of the given marker, each
// of the longest length and of zeros, filling the given length before its
// picture: a sparse file, but for the segments' headers.
inline bool jpegAfterSegments(const QString &name, char marker, qint64 length)
{
    const QByteArray jpeg = encoded(oneColour(QSize(64, 64)), "jpeg");
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(jpeg.left(2)) != 2)
        return false;
    const char header[] = {'\xFF', marker, '\xFF', '\xFF'};
    for (qint64 at = 2; at + 65537 < length; at += 65537)
        if (!file.seek(at) || file.write(header, 4) != 4)
            return false;
    const qint64 end = 2 + (length - 2) / 65537 * 65537;
    return file.resize(end) && file.seek(end) && file.write(jpeg.mid(2)) == jpeg.size() - 2;
}

// A 32-bit BMP of the given size with an alpha mask (a version-4 header),
// every pixel zero: a sparse file past its header.
inline bool bmpWithAlpha(const QString &name, int width, int height)
{
    const quint32 pixels = quint32(width) * quint32(height) * 4;
    QByteArray head(14 + 108, 0);
    auto put32 = [&](int at, quint32 value) { qToLittleEndian(value, head.data() + at); };
    head[0] = 'B';
    head[1] = 'M';
    put32(2, 14 + 108 + pixels);
    put32(10, 14 + 108);
    put32(14, 108);
    put32(18, quint32(width));
    put32(22, quint32(height));
    head[26] = 1;  // planes
    head[28] = 32; // bits a pixel
    put32(30, 3);  // bit fields
    put32(34, pixels);
    put32(54, 0x00FF0000);
    put32(58, 0x0000FF00);
    put32(62, 0x000000FF);
    put32(66, 0xFF000000);
    return sparseFile(name, head, 14 + 108 + pixels, QByteArray());
}

// A camera photo saved progressive with every chroma sample kept (4:4:4):
// Qt's JPEG writer always halves the chroma, libjpeg's cjpeg is told not to.
inline bool fullChromaJpeg(const QString &name, const QSize size)
{
    const QString pixels = name + QStringLiteral(".ppm");
    if (!cameraPhoto(size).convertToFormat(QImage::Format_RGB888).save(pixels, "ppm"))
        return false;
    QProcess cjpeg;
    cjpeg.start(QStringLiteral("cjpeg"), {"-sample", "1x1", "-progressive", "-quality", "90", "-outfile", name, pixels});
    const bool made = cjpeg.waitForFinished(120000) && cjpeg.exitStatus() == QProcess::NormalExit && cjpeg.exitCode() == 0;
    QFile::remove(pixels);
    if (!made)
        QFile::remove(name);
    return made;
}

// The components of a JPEG's frame, each as "id:HxV" (its sampling factors),
// after the frame's marker (C0 baseline, C2 progressive); empty without one.
inline QString jpegFrame(const QByteArray &jpeg)
{
    for (int at = 2; at + 4 <= jpeg.size() && jpeg.at(at) == '\xFF';) {
        const uchar marker = uchar(jpeg.at(at + 1));
        const int length = uchar(jpeg.at(at + 2)) << 8 | uchar(jpeg.at(at + 3));
        if (marker == 0xC0 || marker == 0xC2) {
            QString frame = QString::number(marker, 16).toUpper();
            for (int c = 0, count = uchar(jpeg.at(at + 9)); c < count && at + 12 + 3 * c < jpeg.size(); ++c) {
                const uchar sampling = uchar(jpeg.at(at + 11 + 3 * c));
                frame += QStringLiteral(" %1:%2x%3").arg(uchar(jpeg.at(at + 10 + 3 * c))).arg(sampling >> 4).arg(sampling & 15);
            }
            return frame;
        }
        at += 2 + length;
    }
    return QString();
}

// Makes the named file in the current folder unless it is there; false when
// it cannot be made (an image writer missing), or the name is not known.
inline bool make(const QString &name)
{
    static const QHash<QString, std::function<bool(const QString &)>> makers = {
        {"white20000.png", [](const QString &n) { return oneColour({20000, 20000}, QImage::Format_Mono, Qt::white).save(n); }},
        {"white10000.png", [](const QString &n) { return oneColour({10000, 6000}, QImage::Format_Mono, Qt::white).save(n); }},
        {"white8000.png", [](const QString &n) { return oneColour({8000, 5000}, QImage::Format_Mono, Qt::white).save(n); }},
        {"white5400.png", [](const QString &n) { return oneColour({5400, 5400}, QImage::Format_Mono, Qt::white).save(n); }},
        {"white4000.png", [](const QString &n) { return oneColour({4000, 4000}, QImage::Format_Mono, Qt::white).save(n); }},
        {"photo5472.jpg", [](const QString &n) { return cameraPhoto({5472, 3648}).save(n); }},
        {"photo6000.jpg", [](const QString &n) { return cameraPhoto({6000, 4000}).save(n); }},
        {"photo64mp.jpg", [](const QString &n) { return writeFile(n, encoded(oneColour({9248, 6936}), "jpeg")); }},
        {"claim30000.jpg", [](const QString &n) {
             // A small progressive JPEG whose header claims 30000 x 30000 pixels.
             QByteArray claim = encoded(oneColour({64, 64}, QImage::Format_RGB32, Qt::red), "jpeg", true);
             const int frame = claim.indexOf("\xFF\xC2"); // height and width stand 5 bytes after
             return frame > 0 && writeFile(n, claim.replace(frame + 5, 4, "\x75\x30\x75\x30"));
         }},
        {"lying.ico", [](const QString &n) {
             QFile huge(QStringLiteral("white20000.png"));
             return make(huge.fileName()) && huge.open(QIODevice::ReadOnly) && writeFile(n, iconHolding(huge.readAll()));
         }},
        {"png256.ico", [](const QString &n) { return writeFile(n, iconHolding(encoded(oneColour({256, 256}, QImage::Format_ARGB32, Qt::blue), "png"))); }},
        {"icon.ico", [](const QString &n) { return oneColour({32, 32}, QImage::Format_ARGB32, Qt::blue).save(n); }},
        {"halfred.png", [](const QString &n) { return oneColour({64, 64}, QImage::Format_ARGB32, QColor(255, 0, 0, 128)).save(n); }},
        {"icon.bmp", [](const QString &n) { return oneColour({256, 256}, QImage::Format_ARGB32, Qt::blue).save(n); }},
        // A GIF of one white pixel.
        {"icon.gif", [](const QString &n) {
             return writeFile(n, QByteArray("GIF89a\1\0\1\0\x80\0\0\xFF\xFF\xFF\0\0\0" ",\0\0\0\0\1\0\1\0\0\2\2\x44\1\0;", 35));
         }},
        // A GIF whose screen is 0 x 0 and whose one pixel stands at (3999, 3999).
        {"farpixel.gif", [](const QString &n) {
             return writeFile(n, QByteArray("GIF89a\0\0\0\0\x80\0\0\xFF\xFF\xFF\0\0\0" ",\x9F\x0F\x9F\x0F\1\0\1\0\0\2\2\x44\1\0;", 35));
         }},
        {"claim444.jpg", [](const QString &n) { return writeFile(n, progressiveClaim(3)); }},
        {"claimcmyk.jpg", [](const QString &n) { return writeFile(n, progressiveClaim(4)); }},
        {"progressive12mp.jpg", [](const QString &n) { return writeFile(n, encoded(cameraPhoto({4000, 3000}), "jpeg", true)); }},
        {"progressive24mp.jpg", [](const QString &n) { return writeFile(n, encoded(oneColour({6000, 4000}), "jpeg", true)); }},
        {"progressive24mp444.jpg", [](const QString &n) { return fullChromaJpeg(n, {6000, 4000}); }},
        {"progressive30mp444.jpg", [](const QString &n) { return fullChromaJpeg(n, {6720, 4480}); }},
        {"progressive36mp.jpg", [](const QString &n) { return writeFile(n, encoded(cameraPhoto({7360, 4912}), "jpeg", true, 90)); }},
        // Progressive pictures with a scan written again and again after
        // itself: the first AC scan of the luminance, or its last refinement
        // (the slowest kind to decode).
        {"scan1x1000.jpg", [](const QString &n) { return writeFile(n, withScanRepeated(encoded(oneColour({4000, 3000}), "jpeg", true), 1, 1000)); }},
        {"scan9x60.jpg", [](const QString &n) { return writeFile(n, withScanRepeated(encoded(oneColour({4000, 3000}), "jpeg", true), 9, 60)); }},
        {"tilescan1x30000.jpg", [](const QString &n) { return writeFile(n, withScanRepeated(encoded(oneColour({64, 64}), "jpeg", true), 1, 30000)); }},
        {"runon.gif", [](const QString &n) { return writeFile(n, gifOfOneColour(256, 256, 20000 * 4091)); }},
        {"gif2000.gif", [](const QString &n) { return writeFile(n, gifOfOneColour(2000, 2000, 2000 * 2000)); }},
        {"gif4000.gif", [](const QString &n) { return writeFile(n, gif(4000, 4000, 2, {{4, 3}, {5, 3}})); }},
        // Three text chunks of 7.9 MB of one letter each, in 23 kB.
        {"ztxt.png", [](const QString &n) {
             const QByteArray text = pngChunk("zTXt", QByteArray("Comment\0\0", 9) + zlibStream(QByteArray(7900000, 'a')));
             return writeFile(n, blackPng(16, 16, 8, 6, false, text + text + text));
         }},
        {"ztxt.ico", [](const QString &n) {
             QFile png(QStringLiteral("ztxt.png"));
             return make(png.fileName()) && png.open(QIODevice::ReadOnly) && writeFile(n, iconHolding(png.readAll()));
         }},
        {"chunks.png", [](const QString &n) { return writeFile(n, blackPng(16, 16, 8, 6, false, pngChunk("abCd", "").repeated(150000))); }},
        // Grey with alpha, which decodes to as much as colour with alpha.
        {"grey16bit.png", [](const QString &n) { return writeFile(n, blackPng(4000, 4000, 16, 4, false)); }},
        {"interlaced.png", [](const QString &n) { return writeFile(n, blackPng(4000, 4000, 8, 4, true)); }},
        {"rgb8bit.png", [](const QString &n) { return writeFile(n, blackPng(4000, 4000, 8, 2, false)); }},
        // A palette picture of 4000 x 4000 with a compressed comment of 3 kB.
        {"palettetext.png", [](const QString &n) {
             QByteArray random;
             for (quint32 x = 1; random.size() < 3000; x = x * 1103515245u + 12345u)
                 random += char(x >> 16);
             const QByteArray text = pngChunk("zTXt", QByteArray("Comment\0\0", 9) + zlibStream(random.toBase64()));
             return writeFile(n, blackPng(4000, 4000, 8, 3, false, pngChunk("PLTE", QByteArray(3, 0)) + text));
         }},
        // Pictures of 100 x 100 whose compressed data run on past the last row:
        // 16 MB of them give some 2.5 GB of zeros to read past.
        {"runon16mb.png", [](const QString &n) { return writeFile(n, blackPng(100, 100, 8, 2, false, {}, manyZeros(16 * 1000 * 1000))); }},
        {"runon.ico", [](const QString &n) { return writeFile(n, iconHolding(blackPng(100, 100, 8, 2, false, {}, manyZeros(16 * 1000 * 1000)))); }},
        // A JPEG of 64 x 64 after 95 MB of comments, or of application data.
        {"comments.jpg", [](const QString &n) { return jpegAfterSegments(n, '\xFE', 95 * 1000 * 1000); }},
        {"appdata.jpg", [](const QString &n) { return jpegAfterSegments(n, '\xE1', 95 * 1000 * 1000); }},
        {"alpha4000.bmp", [](const QString &n) { return bmpWithAlpha(n, 4000, 4000); }},
        {"lossless4000.webp", [](const QString &n) {
             const QByteArray webp = encoded(oneColour({4000, 4000}, QImage::Format_ARGB32), "webp", false, 100);
             return !webp.isEmpty() && writeFile(n, webp);
         }},
        // 12 megapixels of 16 bits a channel, half transparent: a common export of photo editors.
        {"deep12mp.png", [](const QString &n) {
             return writeFile(n, encoded(oneColour({4000, 3000}, QImage::Format_RGBA64, QColor(30, 120, 200, 128)), "png"));
         }},
        {"deep12mp.tif", [](const QString &n) {
             const QByteArray tiff = encoded(oneColour({4000, 3000}, QImage::Format_RGBA64), "tiff", false, -1, 1); // LZW
             return !tiff.isEmpty() && writeFile(n, tiff);
         }},
        {"deep4000.tif", [](const QString &n) {
             const QByteArray tiff = encoded(oneColour({4000, 4000}, QImage::Format_RGBA64), "tiff", false, -1, 1); // LZW
             return !tiff.isEmpty() && writeFile(n, tiff);
         }},
        // A JPEG with 200 MB of zeros before its end.
        {"padded.jpg", [](const QString &n) {
             const QByteArray jpeg = encoded(oneColour({64, 64}, QImage::Format_RGB32, Qt::red), "jpeg");
             return sparseFile(n, jpeg.chopped(2), 200 * 1000 * 1000, "\xFF\xD9");
         }},
        // A PNG followed by zeros to the longest file a decoder is given, and one byte past it.
        {"atbound.png", [](const QString &n) { return sparseFile(n, encoded(oneColour({64, 64}), "png"), 100 * 1000 * 1000, QByteArray(1, 0)); }},
        {"pastbound.png", [](const QString &n) { return sparseFile(n, encoded(oneColour({64, 64}), "png"), 100 * 1000 * 1000 + 1, QByteArray(1, 0)); }},
        {"text.png", [](const QString &n) { return writeFile(n, "not a picture\n"); }},
        {"folder.png", [](const QString &n) { return QDir().mkdir(n); }},
    };
    if (QFile::exists(name))
        return true;
    const auto maker = makers.constFind(name);
    return maker != makers.constEnd() && (*maker)(name);
}

// Decodes started from now on are held, before the decoder reads anything,
// until letDecodersGo(); then each goes on as the script given, or as the
// real decoder (this program). The stand-in is the decoder's process, under
// its limits: it ends with the test however the test ends.
inline QString decoderGate() { return QDir::current().filePath(QStringLiteral("decoders.go")); }
inline bool holdDecoders(const QByteArray &then = QByteArray())
{
    const QString program = QDir::current().filePath(QStringLiteral("held.sh"));
    QFile::remove(decoderGate());
    QFile::remove(program);
    const QByteArray decoder = then.isEmpty()
                                   ? "exec '" + QFile::encodeName(QCoreApplication::applicationFilePath()) + "' \"$@\""
                                   : then;
    if (!writeFile(program, "#!/bin/sh\nwhile [ ! -e '" + QFile::encodeName(decoderGate()) + "' ]; do sleep 0.02; done\n"
                                + decoder + '\n')
        || !QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner))
        return false;
    PictureDecoder::setProgram(program);
    return true;
}
inline bool letDecodersGo() { return writeFile(decoderGate(), QByteArray()); }

// A decode waited for in an event loop of its own, as a test or a benchmark
// may; refusal tells why there is no picture.
inline QImage decodeWaiting(const QString &file, const QSize &size, QString *refusal)
{
    PictureDecode decode(file, size);
    QEventLoop loop;
    QObject::connect(&decode, &PictureDecode::finished, &loop, &QEventLoop::quit);
    decode.start();
    if (!decode.isFinished())
        loop.exec();
    *refusal = decode.refusal();
    return decode.image();
}

} // namespace LogoFiles

#endif // LOGOFILES_H
