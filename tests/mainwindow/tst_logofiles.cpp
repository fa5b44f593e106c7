#include "hostilestart.h"
#include "logofiles.h"
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
        PictureDecoder::setTimeLimitMs(VW_LOGO_ROOM ? 60000 : PictureDecoder::defaultTimeLimitMs);
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
        // A picture shown may take its decoder long on a busy machine: the
        // row's time has room for a decode of it measured here and now.
        logoDecodeMs = 0;
        if (VW_LOGO_ROOM) {
            QElapsedTimer decoding;
            decoding.start();
            QString refusal;
            PictureDecoder::decode(file, QSize(1024, 576), &refusal);
            logoDecodeMs = decoding.elapsed();
        }
        build(ini.toUtf8());
        QCOMPARE(shownLogo(golden("what")), golden("expected"));
    }
};

VW_TEST_MAIN(TestLogoFiles)
#include "tst_logofiles.moc"
