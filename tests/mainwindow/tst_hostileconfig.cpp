#include <sys/stat.h>

#include <QtEndian>

#include "alienadjustwindows.h"
#include "consoletest.h"
#include "fontsetwindows.h"
#include "joinsettingwindows.h"
#include "portsettingwindows.h"
#include "rollcaptionwindows.h"

using namespace WindowTest;

// The console started on a config.ini written by a hostile hand, and number
// fields typed with digits of other scripts: what the windows then hold and
// show, and what they save again.
class TestHostileConfig : public ConsoleTest
{
    Q_OBJECT

    QString startLogo;
    qint64 peakAtStart = 0; // kB
    QElapsedTimer clock;     // from the start of the build
    static QStringList messages; // the debug output of the build

    // Whether the build and what the row then did took no longer than a
    // start of the console may, with room for a busy machine and a sanitized build.
    // A plain start measured here sets the scale: the same row on a busy
    // machine or in a sanitized build gets the room a start takes there.
    QString when() const { return clock.elapsed() < 5000 + 2 * plainStartMs ? "at once" : "late"; }
    qint64 plainStartMs = 0;
    static QString picture(QLabel *label) { return label->pixmap(Qt::ReturnByValue).isNull() ? "none" : "picture"; }

    // The process's peak resident size in kB since the last reset: Linux
    // starts it anew at the present size on a "5" written to clear_refs, so
    // that each build is measured on its own, not under an earlier peak.
    static bool resetPeak()
    {
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    }
    static qint64 peakKb()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray &line : status.readAll().split('\n'))
                if (line.startsWith("VmHWM:")) // "VmHWM:    81234 kB"
                    return line.simplified().split(' ').value(1).toLongLong();
        return -1;
    }

    // While one lives, the debug output goes to messages.
    struct Capture
    {
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &text) { messages += text; });
        ~Capture() { qInstallMessageHandler(previous); }
    };

    // The main window up, and the Splice Setting window opened: the logo
    // shown at its last size and in the preview.
    void showBothLogos()
    {
        window->show();
        window->showJoinSetWindow();
    }

    // "%FIFO%" names a FIFO in the folder; an ini of "FIFO" makes config.ini one.
    // "%HUGE%" is a word of 300,000 characters, "%DIGITS%" a number of 100,000
    // digits.
    void build(QByteArray ini)
    {
        userImagePath = startLogo;
        const QByteArray fifo = QDir::current().filePath(QStringLiteral("logo.fifo")).toUtf8();
        QFile::remove(QString::fromUtf8(fifo));
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        if (ini == "FIFO")
            QVERIFY(::mkfifo(QFile::encodeName(ConfigFile::path()).constData(), 0600) == 0);
        else
            QVERIFY(writeConfig(ini.replace("%FIFO%", fifo)
                                    .replace("%PORT%", QByteArray::number(bridge.port()))
                                    .replace("%HUGE%", QByteArray(300000, 'x'))
                                    .replace("%DIGITS%", QByteArray(100000, '1'))));
        QVERIFY(resetPeak());
        peakAtStart = peakKb();
        QVERIFY(peakAtStart > 0);
        messages.clear();
        const Capture capture;
        clock.start();
        ConsoleTest::build();
    }

    QString shown(const QString &what)
    {
        const QMap<QString, QComboBox *> combos{{"inputs", ui->matrix_type_cb}, {"scenes", ui->scene_cb},
                                                {"ports", child<QComboBox>(window->portSetWindow, "lcd_port_cb")}};
        if (combos.contains(what))
            return QString::number(combos[what]->count());
        // A rise of the process's peak since the build began, against the row's bound ("within 60 MB").
        if (what == QLatin1String("peak")) {
            const int bound = golden("expected").section(QLatin1Char(' '), 1, 1).toInt();
            const qint64 rise = peakKb() - peakAtStart;
            return rise < bound * 1000 ? QStringLiteral("within %1 MB").arg(bound) : QString::number(rise) + " kB";
        }
        if (what.endsWith(QLatin1String("caption"))) { // as loaded, or 300,000 characters pasted
            window->showFontSetWindow();
            auto *text = window->fontSetWindow->findChild<QTextEdit *>();
            QApplication::clipboard()->setText(what == QLatin1String("caption") ? QString() : QString(300000, 'x'));
            text->paste();
            QCoreApplication::processEvents();
            return QString::number(text->toPlainText().size()) + ' ' + when();
        }
        if (what == QLatin1String("ticks")) { // a thousand, of a caption of 300,000 characters
            RollCaptionWindows caption;
            caption.setInterval(1);
            caption.setText(QString(300000, QLatin1Char('x')));
            caption.show();
            QTimerEvent tick(QAbstractEventDispatcher::instance()->registeredTimers(&caption).first().timerId);
            for (int i = 0; i < 1000; ++i)
                QCoreApplication::sendEvent(&caption, &tick);
            return when();
        }
        if (what == QLatin1String("scene length"))
            return QString::number(ui->scene_cb->itemText(0).size());
        if (what == QLatin1String("logo"))
            return picture(ui->show_image);
        if (what == QLatin1String("logo and preview")) {
            showBothLogos();
            return picture(ui->show_image) + " and " + picture(child<QLabel>(window->joinSetWindow, "show_image")) + ' '
                   + when();
        }
        if (what == QLatin1String("debug line"))
            return messages.filter(userImagePath).value(0, QStringLiteral("none"));
        if (what == QLatin1String("debug lines")) { // all that name the logo, the build's and those of showing both
            {
                const Capture capture;
                showBothLogos();
            }
            const QStringList lines = messages.filter(userImagePath);
            return lines.isEmpty() ? QStringLiteral("none") : lines.join(QLatin1String(" / "));
        }
        if (what == QLatin1String("open")) {
            MessageBoxCatcher catcher;
            window->openSerial();
            return GlobalObject::linkOpen ? QStringLiteral("opened") : catcher.lastText();
        }
        // As the program starts, and the bridge the link was handed.
        if (what == QLatin1String("start")) {
            MessageBoxCatcher catcher;
            int attempts = 0;
            const auto spy = connect(lcdCommunication.socket, &QAbstractSocket::stateChanged, this,
                                     [&](QAbstractSocket::SocketState state) { attempts += state == QAbstractSocket::ConnectingState; });
            if (window->autoOpen)
                window->openSerial();
            disconnect(spy);
            const PortSettingRecord record = window->portSetWindow->getPortSetting();
            const QString dialled = attempts ? QStringLiteral("%1:%2").arg(record.ipAddress).arg(record.tcpPort) : QStringLiteral("nothing");
            return GlobalObject::linkOpen ? QStringLiteral("opened") : catcher.lastText() + " Dialled " + dialled;
        }
        // What a label shows, read as a screen reader reads it.
        QLabel *label = what == QLatin1String("user") ? ui->show_username : ui->show_comstatus;
        return QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
    }

    // A colour photo of the given size. Made from a palette, a byte a pixel,
    // it costs a quarter of what decoding one whole would.
    static QImage cameraPhoto(const QSize size)
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

    static bool writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(name);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    // An icon whose one entry claims 256 x 256 pixels (written 0) and holds the PNG given.
    static QByteArray iconHolding(const QByteArray &png)
    {
        QByteArray icon("\0\0\1\0\1\0" "\0\0\0\0\1\0\x20\0", 14);
        const quint32 sizeAndOffset[] = {qToLittleEndian(quint32(png.size())), qToLittleEndian(quint32(6 + 16))};
        return icon.append(reinterpret_cast<const char *>(sizeAndOffset), 8).append(png);
    }

    // A progressive JPEG whose frame claims 8000 x 8000 pixels of the given
    // components, each sampled in full, with one scan of a few bytes: a
    // decoder sets aside the coefficients of the whole picture before it finds
    // the data short.
    static QByteArray progressiveClaim(int components)
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

    static QByteArray progressiveJpeg(const QImage &image)
    {
        QBuffer bytes;
        QImageWriter writer(&bytes, "jpeg");
        writer.setProgressiveScanWrite(true);
        return bytes.open(QIODevice::WriteOnly) && writer.write(image) ? bytes.data() : QByteArray();
    }

    // The progressive JPEG with its scan (from 0, of the usual 10) written
    // again and again after itself: the scan header, its data, up to the
    // marker after it.
    static QByteArray withScanRepeated(QByteArray jpeg, int scan, int times)
    {
        int at = jpeg.indexOf("\xFF\xDA");
        for (int i = 0; i < scan && at >= 0; ++i)
            at = jpeg.indexOf("\xFF\xDA", at + 2);
        int end = at + 2;
        while (at >= 0 && !(jpeg.at(end) == '\xFF' && jpeg.at(end + 1) != 0))
            ++end;
        return at < 0 ? QByteArray() : jpeg.insert(end, jpeg.mid(at, end - at).repeated(times));
    }

    // A PNG chunk: length, type, data and its CRC-32.
    static QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
    {
        quint32 crc = 0xFFFFFFFF;
        for (const char c : type + data) {
            crc ^= uchar(c);
            for (int bit = 0; bit < 8; ++bit)
                crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
        const quint32 length = qToBigEndian(quint32(data.size()));
        const quint32 check = qToBigEndian(~crc);
        return QByteArray(reinterpret_cast<const char *>(&length), 4) + type + data
               + QByteArray(reinterpret_cast<const char *>(&check), 4);
    }

    // zlib's stream of the bytes: qCompress's, past its 4-byte length.
    static QByteArray zlibStream(const QByteArray &bytes) { return qCompress(bytes, 9).mid(4); }

    // A PNG of black pixels, made without encoding a picture: the header
    // fields given, the chunks given, and rows of zeros (with a byte more a
    // row for the filter bytes of an interlaced picture's passes).
    static QByteArray blackPng(int width, int height, int depth, int colourType, bool interlaced,
                               const QByteArray &chunks = QByteArray())
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
               + pngChunk("IDAT", zlibStream(QByteArray(int(rows + (interlaced ? height : 0)), 0)))
               + pngChunk("IEND", QByteArray());
    }

    // A GIF of one picture of the given size, two colours, and the LZW codes
    // given as (code, bits) pairs.
    static QByteArray gif(int width, int height, int minimumCodeSize, const QVector<QPair<int, int>> &codes)
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

    // A GIF of one colour as an encoder writes it, giving the pixels given
    // (more than the picture has: its data runs on). Each code makes the
    // entry one pixel longer than the last, and the next code is that entry,
    // until the table is full; then the longest entry, of 4091 pixels, again
    // and again; then the entry of what is left.
    static QByteArray gifOfOneColour(int width, int height, qint64 pixels)
    {
        QVector<QPair<int, int>> codes{{4, 3}, {0, 3}}; // clear, then the first pixel
        int size = 3;
        for (qint64 left = pixels - 1, next = 6; left > 0;) {
            // The entry about to be made, or once the table is full its last.
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

    void makeGifsAndPngs()
    {
        QVERIFY(writeFile(QStringLiteral("runon.gif"), gifOfOneColour(256, 256, 20000 * 4091)));
        QVERIFY(writeFile(QStringLiteral("gif2000.gif"), gifOfOneColour(2000, 2000, 2000 * 2000)));
        QVERIFY(writeFile(QStringLiteral("gif4000.gif"), gif(4000, 4000, 2, {{4, 3}, {5, 3}})));
        // Three text chunks of 7.9 MB of one letter each, in 23 kB.
        const QByteArray text = pngChunk("zTXt", QByteArray("Comment\0\0", 9) + zlibStream(QByteArray(7900000, 'a')));
        const QByteArray texts = blackPng(16, 16, 8, 6, false, text + text + text);
        QVERIFY(writeFile(QStringLiteral("ztxt.png"), texts));
        QVERIFY(writeFile(QStringLiteral("ztxt.ico"), iconHolding(texts)));
        QVERIFY(writeFile(QStringLiteral("chunks.png"), blackPng(16, 16, 8, 6, false, pngChunk("abCd", "").repeated(150000))));
        // Grey with alpha, which decodes to as much as colour with alpha.
        QVERIFY(writeFile(QStringLiteral("grey16bit.png"), blackPng(4000, 4000, 16, 4, false)));
        QVERIFY(writeFile(QStringLiteral("interlaced.png"), blackPng(4000, 4000, 8, 4, true)));
        QVERIFY(writeFile(QStringLiteral("rgb8bit.png"), blackPng(4000, 4000, 8, 2, false)));
        // A baseline JPEG with 200 MB of zeros before its end, in a sparse file.
        QBuffer jpeg;
        QImage tile(64, 64, QImage::Format_RGB32);
        tile.fill(Qt::red);
        QVERIFY(jpeg.open(QIODevice::WriteOnly) && tile.save(&jpeg, "jpeg"));
        QFile padded(QStringLiteral("padded.jpg"));
        QVERIFY(padded.open(QIODevice::WriteOnly) && padded.write(jpeg.data().chopped(2)) == jpeg.size() - 2);
        QVERIFY(padded.resize(200 * 1000 * 1000) && padded.seek(padded.size()) && padded.write("\xFF\xD9", 2) == 2);
    }

    void makeIconsAndScans()
    {
        QFile huge(QStringLiteral("white20000.png"));
        QVERIFY(huge.open(QIODevice::ReadOnly));
        QVERIFY(writeFile(QStringLiteral("lying.ico"), iconHolding(huge.readAll())));
        QBuffer png;
        QImage icon(256, 256, QImage::Format_ARGB32);
        icon.fill(Qt::blue);
        QVERIFY(png.open(QIODevice::WriteOnly) && icon.save(&png, "png"));
        QVERIFY(writeFile(QStringLiteral("png256.ico"), iconHolding(png.data())));
        QVERIFY(icon.scaled(32, 32).save(QStringLiteral("icon.ico")) && icon.save(QStringLiteral("icon.bmp")));
        // A GIF of one white pixel.
        QVERIFY(writeFile(QStringLiteral("icon.gif"), QByteArray("GIF89a\1\0\1\0\x80\0\0\xFF\xFF\xFF\0\0\0"
                                                                 ",\0\0\0\0\1\0\1\0\0\2\2\x44\1\0;", 35)));
        QVERIFY(writeFile(QStringLiteral("claim444.jpg"), progressiveClaim(3)));
        QVERIFY(writeFile(QStringLiteral("claimcmyk.jpg"), progressiveClaim(4)));

        // Progressive pictures of 4000 x 3000 (4:2:0): a photo, and one colour
        // with a scan written again and again after itself, the first AC scan
        // of the luminance or its last refinement (the slowest kind to decode).
        QVERIFY(writeFile(QStringLiteral("progressive12mp.jpg"), progressiveJpeg(cameraPhoto(QSize(4000, 3000)))));
        QImage colour(4000, 3000, QImage::Format_RGB32);
        colour.fill(QColor(30, 120, 200));
        const QByteArray plain = progressiveJpeg(colour);
        QVERIFY(writeFile(QStringLiteral("scan1x1000.jpg"), withScanRepeated(plain, 1, 1000)));
        QVERIFY(writeFile(QStringLiteral("scan9x60.jpg"), withScanRepeated(plain, 9, 60)));
        // Of 64 x 64 pixels: a scan costs its own start whatever the size.
        colour = colour.copy(0, 0, 64, 64);
        QVERIFY(writeFile(QStringLiteral("tilescan1x30000.jpg"), withScanRepeated(progressiveJpeg(colour), 1, 30000)));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(bridge.listen());
        startLogo = userImagePath;
        build("[PortConfig]\n");
        plainStartMs = clock.elapsed();
        WindowTest::endTest(window);
        // Files of a few hundred kB; 4000 x 4000 is the largest shown of a
        // picture decoded whole.
        for (const QSize size : {QSize(20000, 20000), QSize(4000, 4000), QSize(8000, 5000)}) {
            QImage white(size, QImage::Format_Mono);
            white.fill(0);
            QVERIFY(white.save(QStringLiteral("white%1.png").arg(size.width())));
        }
        // Colour JPEGs of a camera's sizes.
        for (const QSize size : {QSize(5472, 3648), QSize(6000, 4000)})
            QVERIFY(cameraPhoto(size).save(QStringLiteral("photo%1.jpg").arg(size.width())));
        // A small progressive JPEG whose header claims 30000 x 30000 pixels:
        // its decoder would hold every coefficient of them.
        QImage tile(64, 64, QImage::Format_RGB32);
        tile.fill(Qt::red);
        QByteArray claim = progressiveJpeg(tile);
        const int frame = claim.indexOf("\xFF\xC2"); // height and width stand 5 bytes after
        QVERIFY(frame > 0);
        claim.replace(frame + 5, 4, "\x75\x30\x75\x30");
        QVERIFY(writeFile(QStringLiteral("claim30000.jpg"), claim));
        makeIconsAndScans();
        makeGifsAndPngs();
    }

    void hostileValues_data() { goldenRows(QStringLiteral("hostileconfig.tsv")); }

    void hostileValues()
    {
        QFETCH(QString, savedKey);
        build(golden("ini").replace(QStringLiteral("\\n"), QStringLiteral("\n")).toUtf8());
        QCOMPARE(shown(golden("what")),
                 golden("expected").replace(QStringLiteral("%FIFO%"), QDir::current().filePath("logo.fifo")));
        // Renaming works on whatever lists the file left, empty ones too.
        window->updateSceneName(QStringLiteral("x"));
        window->updateMInputName(QStringLiteral("x"));
        // Closing the main window closes the open set-up windows: each saves.
        window->showPortSetWindow();
        window->showMatrixSetWindow();
        window->close();
        if (!savedKey.isEmpty())
            QCOMPARE(QSettings(ConfigFile::path(), QSettings::IniFormat).value(savedKey).toString(), golden("saved"));
    }

    void typedNumbers_data() { goldenRows(QStringLiteral("typednumbers.tsv")); }

    void typedNumbers()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        build(QByteArray("[PortConfig]\nConMethod=1\n")); // the bridge fields are live
        child<QCheckBox>(window->alienAdjustWindow, "startadjust_cb")->setChecked(true); // and the special ones
        QLineEdit *edit = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            edit = edit ? edit : top->findChild<QLineEdit *>(field);
        QVERIFY(edit && edit->isEnabled());
        edit->clear();
        // Character by character, as typed: each goes through the field's validator.
        for (const QChar c : typed)
            edit->insert(c);
        QCOMPARE(edit->text(), golden("kept"));
    }
};

QStringList TestHostileConfig::messages;

VW_TEST_MAIN(TestHostileConfig)
#include "tst_hostileconfig.moc"
