#include "goldenrows.h"
#include "logofiles.h"
#include "picturedecoder.h"
#include "testmain.h"

#include <csignal>

// An operator's picture decoded in a process of its own: what comes back
// for ordinary and hostile files, and the line that says why not.
class TestPictureDecoder : public QObject
{
    Q_OBJECT

    // This process's decoder, stopped (SIGSTOP) while it holds the file open
    // part read; 0 when its read was whole first (then it goes on).
    static qint64 stoppedMidRead(const QString &file, qint64 length)
    {
        QDeadlineTimer patience(60000);
        while (!patience.hasExpired()) {
            for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
                QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
                if (!stat.open(QIODevice::ReadOnly)
                    || stat.readAll().split(')').value(1).split(' ').value(2).toLongLong() != QCoreApplication::applicationPid())
                    continue;
                const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
                for (const QString &fd : fds.entryList(QDir::Files | QDir::System)) {
                    if (QFile::symLinkTarget(fds.filePath(fd)) != file)
                        continue;
                    const auto position = [&] {
                        QFile info(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid, fd));
                        return info.open(QIODevice::ReadOnly) ? info.readLine().mid(4).trimmed().toLongLong() : -1;
                    };
                    if (position() <= 0)
                        continue;
                    ::kill(pid.toInt(), SIGSTOP);
                    // Stopped once the kernel says so, its read where it stands.
                    for (QDeadlineTimer settle(10000); !settle.hasExpired();) {
                        QFile now(QStringLiteral("/proc/%1/stat").arg(pid));
                        if (now.open(QIODevice::ReadOnly) && now.readAll().split(')').value(1).startsWith(" T"))
                            break;
                    }
                    if (position() < length)
                        return pid.toLongLong();
                    ::kill(pid.toInt(), SIGCONT);
                    return 0;
                }
            }
        }
        return 0;
    }

    // What a decode of a small file comes to with a stand-in decoder running
    // the script (none for a null one), its stall limit a second: "picture"
    // or the line of its refusal; ms, when asked, is how long it took.
    static QString decodedBy(const QString &script, qint64 *ms = nullptr)
    {
        if (!LogoFiles::make(QStringLiteral("icon.gif")))
            return QStringLiteral("no icon.gif made");
        const QString program = QDir::current().filePath(QStringLiteral("decoder.sh"));
        QFile::remove(program);
        if (!script.isNull()
            && !(LogoFiles::writeFile(program, "#!/bin/sh\n" + script.toUtf8() + '\n')
                 && QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner)))
            return QStringLiteral("no decoder.sh made");
        PictureDecoder::setProgram(program);
        PictureDecoder::setStallLimitMs(1000);
        QElapsedTimer clock;
        clock.start();
        QString refusal;
        const QImage image = LogoFiles::decodeWaiting(QStringLiteral("icon.gif"), QSize(4, 4), &refusal);
        if (ms)
            *ms = clock.elapsed();
        PictureDecoder::setProgram(QString());
        PictureDecoder::setStallLimitMs(PictureDecoder::defaultStallLimitMs);
        return image.isNull() ? refusal : QStringLiteral("picture");
    }

private slots:
    void decodedOrRefused_data() { goldenRows(QStringLiteral("logodecode.tsv")); }
    void decodedOrRefused()
    {
        const QString file = golden("file");
        if (!LogoFiles::make(file))
            QSKIP("no writer for it (apt-get install qt5-image-formats-plugins libjpeg-turbo-progs)");
#if defined(__SANITIZE_ADDRESS__)
        if (golden("bound") == QLatin1String("memory"))
            QSKIP("the sanitized build's decoder has no memory limit of the system's");
#endif
        const QString expected = golden("expected");
        const bool picture = expected.startsWith(QLatin1Char('#'));
        // The decoder's time is its CPU time, whatever the machine's load; a
        // picture shown (bench/logobench measures what each costs) gets room
        // for a slower or busier machine.
        PictureDecoder::setStallLimitMs(picture ? 120000 : PictureDecoder::defaultStallLimitMs);
        PictureDecoder::setCpuLimitSeconds(picture ? 10 : PictureDecoder::defaultCpuLimitSeconds);
        QString refusal = QStringLiteral("a line left from before");
        const QImage image = LogoFiles::decodeWaiting(file, QSize(320, 180), &refusal);
        PictureDecoder::setStallLimitMs(PictureDecoder::defaultStallLimitMs);
        PictureDecoder::setCpuLimitSeconds(PictureDecoder::defaultCpuLimitSeconds);
        QCOMPARE(image.isNull(), !picture);
        if (picture) {
            QCOMPARE(refusal, QString());
            QCOMPARE(image.size(), QSize(320, 180));
            // Each corner as the picture has it: the pixels arrive in their order.
            QStringList corners;
            for (const QPoint at : {QPoint(0, 0), QPoint(319, 0), QPoint(0, 179), QPoint(319, 179)})
                corners += image.pixelColor(at).name(QColor::HexArgb);
            QCOMPARE(corners.join(QLatin1Char(' ')), expected);
            return;
        }
        QCOMPARE(refusal, QStringLiteral("Picture not shown, %1: %2").arg(expected, file));
    }

    // The photos said to keep every chroma sample do: each component of
    // their progressive frame is sampled 1 x 1 (4:4:4), as a camera or an
    // editor saves at its best; Qt's writer would have halved the chroma.
    void fullChromaPhotos_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("24 megapixels") << "progressive24mp444.jpg";
        QTest::newRow("30 megapixels") << "progressive30mp444.jpg";
    }
    void fullChromaPhotos()
    {
        QFETCH(QString, file);
        if (!LogoFiles::make(file))
            QSKIP("no cjpeg to make it (apt-get install libjpeg-turbo-progs)");
        QFile jpeg(file);
        QVERIFY(jpeg.open(QIODevice::ReadOnly));
        QCOMPARE(LogoFiles::jpegFrame(jpeg.read(64 * 1024)), QStringLiteral("C2 1:1x1 2:1x1 3:1x1"));
    }

    // What the console believes of a decoder: a stand-in that misbehaves as
    // a decoder gone wrong would.
    void decoderBelievedOnlyAsAsked_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the pixels asked for") << "head -c 64 /dev/zero" << "picture";
        QTest::newRow("a byte short") << "head -c 63 /dev/zero" << "it is not a picture that can be read";
        QTest::newRow("a byte more") << "head -c 65 /dev/zero" << "it is not a picture that can be read";
        QTest::newRow("without end") << "cat /dev/zero" << "it is not a picture that can be read";
        QTest::newRow("the pixels, then a crash") << "head -c 64 /dev/zero; kill -SEGV $$" << "it is not a picture that can be read";
        QTest::newRow("the pixels, then a refusal") << "head -c 64 /dev/zero; exit 3" << "it is not a picture that can be read";
        QTest::newRow("out of memory") << "exit 4" << "it takes too much memory to decode";
        QTest::newRow("killed at its CPU time") << "head -c 64 /dev/zero; kill -XCPU $$" << "it takes too long to decode";
        QTest::newRow("a file too long, as the decoder found it") << "printf 123456789; exit 5" << "a file of 123 MB is too long to read";
        QTest::newRow("a file too long, in no number") << "printf 12x; exit 5" << "it is not a picture that can be read";
        QTest::newRow("no regular file, as the decoder found it") << "exit 6" << "";
        QTest::newRow("no regular file, and then pixels") << "head -c 64 /dev/zero; exit 6" << "it is not a picture that can be read";
        QTest::newRow("the pixels, and no end") << "head -c 64 /dev/zero; exec sleep 60" << "it takes too long to decode";
        QTest::newRow("nothing, and no end") << "exec sleep 60" << "it takes too long to decode";
        // Bursts of about 40 ms of CPU a quarter of a second apart, for some
        // 3 s and 0.5 s of CPU: never a second without work, however busy the machine.
        QTest::newRow("the pixels after slow work past the stall limit")
            << "i=0; while [ $i -lt 12 ]; do j=0; while [ $j -lt 40000 ]; do j=$((j+1)); done; sleep 0.25; i=$((i+1)); done; "
               "head -c 64 /dev/zero"
            << "picture";
        QTest::newRow("a file written while it was read, as the decoder found it") << "exit 7" << "the file changed while it was read";
        QTest::newRow("a file written while it was read, and pixels") << "head -c 64 /dev/zero; exit 7" << "it is not a picture that can be read";
        QTest::newRow("no decoder at all") << QString() << "its decoder could not be started";
    }
    void decoderBelievedOnlyAsAsked()
    {
        QFETCH(QString, script);
        QFETCH(QString, expected);
        qint64 ms = 0;
        QCOMPARE(decodedBy(script, &ms),
                 expected == QLatin1String("picture") || expected.isEmpty()
                     ? expected
                     : QStringLiteral("Picture not shown, %1: icon.gif").arg(expected));
        // Given up at its time, not at its end.
        QVERIFY2(ms < 10000, qPrintable(QString::number(ms)));
    }

    // Some 1.5 s of work in the kernel alone (reading zeroes, no time of its
    // own) is work all the same: a decoder doing it is not taken for stalled.
    // It ends without pixels. Its CPU time grows on a busy machine, so it
    // has room for that.
    void kernelWorkIsWork()
    {
        PictureDecoder::setCpuLimitSeconds(30);
        const QString result = decodedBy(QStringLiteral("exec dd if=/dev/zero of=/dev/null bs=16M count=4700 status=none"));
        PictureDecoder::setCpuLimitSeconds(PictureDecoder::defaultCpuLimitSeconds);
        QCOMPARE(result, QStringLiteral("Picture not shown, it is not a picture that can be read: icon.gif"));
    }

    // The console goes on while a decoder works, and a decode given up is
    // not waited for: the decoder is killed and reaped when it has ended.
    void neverWaitedFor()
    {
        QVERIFY(LogoFiles::make(QStringLiteral("icon.gif")));
        const QString program = QDir::current().filePath(QStringLiteral("sleeper.sh"));
        QVERIFY(LogoFiles::writeFile(program, "#!/bin/sh\necho $$ > sleeper.pid\nexec sleep 60\n"));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
        QFile::remove(QStringLiteral("sleeper.pid"));
        PictureDecoder::setProgram(program);
        QElapsedTimer clock;
        clock.start();
        auto *decode = new PictureDecode(QStringLiteral("icon.gif"), QSize(4, 4));
        decode->start();
        PictureDecoder::setProgram(QString());
        QVERIFY(!decode->isFinished());
        QTRY_VERIFY(QFile::exists(QStringLiteral("sleeper.pid")) && QFile(QStringLiteral("sleeper.pid")).size() > 1);
        QFile pidFile(QStringLiteral("sleeper.pid"));
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        const QString proc = QStringLiteral("/proc/%1").arg(pidFile.readAll().trimmed().toInt());
        QVERIFY(QFileInfo::exists(proc));
        delete decode;
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
        // Killed, then reaped by the event loop: no zombie stays behind, nor
        // anything the console kept of it.
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(proc) && PictureDecoder::decodersAlive() == 0, 20000);
    }

    // A file copied over in place while the decoder reads it (the decoder
    // stopped midway through its read, the file rewritten, the decoder let
    // go): not shown, named in the one line; never the top of one picture
    // over the bottom of another. On a share the kernel keeps the file's
    // attributes for a while: its length and time look as before the copy,
    // as here where the copy is of the same length and its time is set back.
    void fileWrittenWhileReadIsNotShown_data()
    {
        QTest::addColumn<bool>("sameLook");
        QTest::newRow("copied over by another picture") << false;
        QTest::newRow("copied over on a share by one of the same length and another colour") << true;
    }
    void fileWrittenWhileReadIsNotShown()
    {
        QFETCH(bool, sameLook);
        QVERIFY(LogoFiles::make(QStringLiteral("progressive12mp.jpg")) && LogoFiles::make(QStringLiteral("icon.bmp")));
        QFile source(QStringLiteral("progressive12mp.jpg")), other(QStringLiteral("icon.bmp"));
        QVERIFY(source.open(QIODevice::ReadOnly) && other.open(QIODevice::ReadOnly));
        QByteArray before = source.readAll(), after = other.readAll();
        const QDateTime time = QDateTime::fromSecsSinceEpoch(1700000000);
        if (sameLook) {
            // The photo in other colours, both padded with zeros past their
            // end to one length.
            QImage photo = LogoFiles::cameraPhoto({4000, 3000});
            photo.setColorTable(photo.rgbSwapped().colorTable());
            after = LogoFiles::encoded(photo, "jpeg", true);
            const int length = std::max(before.size(), after.size());
            before = before.leftJustified(length, '\0');
            after = after.leftJustified(length, '\0');
        }
        const auto stamped = [&] {
            QFile file(QStringLiteral("changing.jpg"));
            return !sameLook || (file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
        };
        PictureDecoder::setCpuLimitSeconds(10);
        // A read already whole when the decoder is stopped proves nothing: again.
        QString caught;
        for (int attempt = 0; attempt < 10 && caught.isEmpty(); ++attempt) {
            QVERIFY(LogoFiles::writeFile(QStringLiteral("changing.jpg"), before) && stamped());
            PictureDecode decode(QStringLiteral("changing.jpg"), QSize(320, 180));
            decode.start();
            const qint64 pid = stoppedMidRead(QDir::current().absoluteFilePath(QStringLiteral("changing.jpg")), before.size());
            if (pid > 0)
                QVERIFY(LogoFiles::writeFile(QStringLiteral("changing.jpg"), after) && stamped() && ::kill(pid_t(pid), SIGCONT) == 0);
            QTRY_VERIFY_WITH_TIMEOUT(decode.isFinished(), 60000);
            if (pid > 0)
                caught = decode.image().isNull() ? decode.refusal() : QStringLiteral("a picture");
        }
        PictureDecoder::setCpuLimitSeconds(PictureDecoder::defaultCpuLimitSeconds);
        QCOMPARE(caught, QStringLiteral("Picture not shown, the file changed while it was read: changing.jpg"));
    }

    // An update may remove or replace the executable while the console
    // runs: the decoder is the running image all the same. A copy of this
    // test removes its own file, then decodes.
    void decoderIsTheRunningImage()
    {
        QVERIFY(LogoFiles::make(QStringLiteral("icon.gif")));
        if (qEnvironmentVariableIsSet("VW_SELF_REMOVED")) {
            QVERIFY(QFile::remove(QCoreApplication::applicationFilePath()));
            QString refusal;
            QCOMPARE(LogoFiles::decodeWaiting(QStringLiteral("icon.gif"), QSize(4, 4), &refusal).size(), QSize(4, 4));
            return;
        }
        const QString copy = QDir::current().filePath(QStringLiteral("updated"));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
        QProcess test;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VW_SELF_REMOVED"), QStringLiteral("1"));
        test.setProcessEnvironment(environment);
        test.setProcessChannelMode(QProcess::ForwardedChannels);
        test.start(copy, {QStringLiteral("decoderIsTheRunningImage")});
        QVERIFY(test.waitForFinished(60000));
        QCOMPARE(test.exitCode(), 0);
        QVERIFY(!QFile::exists(copy));
    }

    // The sizes a decoder is asked for and takes: no side past 8192 pixels.
    void sizesAsked_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("taken");
        QTest::newRow("8192 wide, the widest") << QSize(8192, 1) << true;
        QTest::newRow("8192 high, the highest") << QSize(1, 8192) << true;
        QTest::newRow("8193 wide") << QSize(8193, 1) << false;
        QTest::newRow("8193 high") << QSize(1, 8193) << false;
        QTest::newRow("no width") << QSize(0, 1) << false;
    }
    void sizesAsked()
    {
        QFETCH(QSize, size);
        QFETCH(bool, taken);
        QVERIFY(LogoFiles::make(QStringLiteral("icon.gif")));
        QString refusal;
        QCOMPARE(LogoFiles::decodeWaiting(QStringLiteral("icon.gif"), size, &refusal).size(), taken ? size : QSize(0, 0));
        // A label too large is no fault of the file: no line names it.
        QCOMPARE(refusal, QString());
        // The decoder asked directly holds to the same.
        QProcess decoder;
        decoder.start(QCoreApplication::applicationFilePath(),
                      {"--decode-picture", "icon.gif", QString::number(size.width()), QString::number(size.height())});
        QVERIFY(decoder.waitForFinished(30000));
        QCOMPARE(decoder.exitCode(), taken ? 0 : 3);
        QCOMPARE(decoder.readAllStandardOutput().size(), taken ? size.width() * size.height() * 4 : 0);
    }

    // A decoder past its CPU time is killed then, not when it is done, and
    // however long the machine's load makes that on the wall clock.
    void killedAtItsTime()
    {
        QVERIFY(LogoFiles::make(QStringLiteral("runon16mb.png")));
        PictureDecoder::setCpuLimitSeconds(1);
        PictureDecoder::setStallLimitMs(120000);
        QElapsedTimer clock;
        clock.start();
        QString refusal;
        QVERIFY(LogoFiles::decodeWaiting(QStringLiteral("runon16mb.png"), QSize(64, 64), &refusal).isNull());
        const qint64 ms = clock.elapsed();
        PictureDecoder::setCpuLimitSeconds(PictureDecoder::defaultCpuLimitSeconds);
        PictureDecoder::setStallLimitMs(PictureDecoder::defaultStallLimitMs);
        QVERIFY2(ms < 120000, qPrintable(QString::number(ms)));
        QCOMPARE(refusal, QStringLiteral("Picture not shown, it takes too long to decode: runon16mb.png"));
    }
};

VW_TEST_MAIN(TestPictureDecoder)
#include "tst_picturedecoder.moc"
