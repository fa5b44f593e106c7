#include "goldenrows.h"
#include "logofiles.h"
#include "picturedecoder.h"
#include "testmain.h"

// An operator's picture decoded in a process of its own: what comes back
// for ordinary and hostile files, and the line that says why not.
class TestPictureDecoder : public QObject
{
    Q_OBJECT

private slots:
    void decodedOrRefused_data() { goldenRows(QStringLiteral("logodecode.tsv")); }
    void decodedOrRefused()
    {
        const QString file = golden("file");
        if (!LogoFiles::make(file))
            QSKIP("no image writer for it (apt-get install qt5-image-formats-plugins)");
#if defined(__SANITIZE_ADDRESS__)
        if (golden("bound") == QLatin1String("memory"))
            QSKIP("the sanitized build's decoder has no memory limit of the system's");
#endif
        const QString expected = golden("expected");
        // How long a decode may take is measured in bench/logobench: here a
        // picture that is shown gets room for a busy machine.
        const bool picture = expected.startsWith(QLatin1Char('#'));
        PictureDecoder::setTimeLimitMs(picture ? 60000 : PictureDecoder::defaultTimeLimitMs);
        QString refusal;
        const QImage image = PictureDecoder::decode(file, QSize(320, 180), &refusal);
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

    // A decoder past its time is killed then, not when it is done.
    void killedAtItsTime()
    {
        QVERIFY(LogoFiles::make(QStringLiteral("runon16mb.png")));
        PictureDecoder::setTimeLimitMs(300);
        QElapsedTimer clock;
        clock.start();
        QString refusal;
        QVERIFY(PictureDecoder::decode(QStringLiteral("runon16mb.png"), QSize(64, 64), &refusal).isNull());
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(refusal, QStringLiteral("Picture not shown, it takes too long to decode: runon16mb.png"));
        PictureDecoder::setTimeLimitMs(PictureDecoder::defaultTimeLimitMs);
    }
};

VW_TEST_MAIN(TestPictureDecoder)
#include "tst_picturedecoder.moc"
