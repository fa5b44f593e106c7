#include "hostilestart.h"
#include "logofiles.h"
#include "openwatch.h"
#include "picturedecoder.h"

// The logo that config.ini names, as the console shows it at start and in
// the Splice Setting preview: what it costs the console, and the one line
// that says why a picture is not shown. Built for each table (VW_LOGO_ROWS):
// the pictures shown and those shown and named in no line (VW_LOGO_ROOM:
// each decode has room for a busy machine), those that are not, and what
// any costs the console (each decode has the time a start gives it).
class TestLogoFiles : public HostileStart
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        measurePlainStart();
        holdDecodes = true;
        // The decoder's own bound is its CPU time, which load does not move;
        // a picture shown gets room for a slower or busier machine.
        PictureDecoder::setStallLimitMs(VW_LOGO_ROOM ? 120000 : PictureDecoder::defaultStallLimitMs);
        PictureDecoder::setCpuLimitSeconds(VW_LOGO_ROOM ? 10 : PictureDecoder::defaultCpuLimitSeconds);
        // Every file of the table first: making one costs the test far more
        // than the console, and its memory is not the build's.
        QFile rows(QStringLiteral(VW_TEST_DATA "/" VW_LOGO_ROWS));
        QVERIFY(rows.open(QIODevice::ReadOnly));
        const QRegularExpression named(QStringLiteral("Userimage=([^\\\\]+)"));
        for (auto match = named.globalMatch(QString::fromUtf8(rows.readAll())); match.hasNext();)
            LogoFiles::make(match.next().captured(1)); // one that cannot be made skips its rows
    }

    void logo_data() { goldenRows(QStringLiteral(VW_LOGO_ROWS)); }
    void logo()
    {
        const QString ini = golden("ini").replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        const QString file = ini.section(QLatin1String("Userimage="), 1).section(QLatin1Char('\n'), 0, 0);
        if (!QFile::exists(file))
            QSKIP("no image writer for it (apt-get install qt5-image-formats-plugins)");
#if defined(__SANITIZE_ADDRESS__)
        if (golden("bound") == QLatin1String("memory"))
            QSKIP("the sanitized build's decoder has no memory limit of the system's");
        if (golden("what") == QLatin1String("peak"))
            QSKIP("the sanitized build's allocator holds freed memory back: peaks are measured in the Release build");
#endif
        build(ini.toUtf8());
        QCOMPARE(shownLogo(golden("what")), golden("expected"));
    }

#ifdef VW_LOGO_STALL
    // A decoder that is slow to answer, or never does (a share that stopped
    // answering holds its read): the console starts, shows both windows and
    // takes typing at once, and never looks at the file itself; the labels
    // get the picture when the decoder answers, or nothing when it is given up.
    void slowDecoderHoldsNothing_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("stallMs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pixels once let go") << QByteArray("exec head -c $(($3 * $4 * 4)) /dev/zero") << 120000
                                           << "picture and picture";
        QTest::newRow("no answer once let go") << QByteArray("exec sleep 60") << 4000
                                               << "none and none, Picture not shown, it takes too long to decode: logo.gif";
    }
    void slowDecoderHoldsNothing()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, stallMs);
        QFETCH(QString, expected);
        QFile::remove(QStringLiteral("logo.gif"));
        QVERIFY(LogoFiles::make(QStringLiteral("icon.gif")) && QFile::copy(QStringLiteral("icon.gif"), QStringLiteral("logo.gif")));
        const OpenWatch watch(QStringLiteral("logo.gif"));
        QVERIFY(watch.isValid());
        // The stand-in holds its answer until the test lets it go.
        holdDecodes = false;
        QVERIFY(LogoFiles::holdDecoders(script));
        PictureDecoder::setStallLimitMs(stallMs);
        build("[MainSetting]\nUserimage=logo.gif\n");
        holdDecodes = true;
        const QString shown = whileHeld();
        {
            const Capture capture;
            QVERIFY(LogoFiles::letDecodersGo());
            decodesEnded();
        }
        PictureDecoder::setProgram(QString());
        PictureDecoder::setStallLimitMs(PictureDecoder::defaultStallLimitMs);
        QCOMPARE(shown, QStringLiteral("at once"));
        const QStringList lines = messages.filter(QStringLiteral("logo.gif"));
        QCOMPARE((QStringList(bothPictures()) + lines).join(QLatin1String(", ")), expected);
        QVERIFY(!watch.opened());
    }
#endif
};

VW_TEST_MAIN(TestLogoFiles)
#include "tst_logofiles.moc"
