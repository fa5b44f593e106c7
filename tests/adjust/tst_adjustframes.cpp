#include <QPushButton>

#include "adjusttest.h"
#include "alienadjustwindows.h"
#include "edgemeltingwindows.h"
#include "picturecontrolwindows.h"
#include "testmain.h"

using namespace AdjustTest;

// Each button family's frames as they reach the wall, for a sample of its
// buttons.
class TestAdjustFrames : public QObject
{
    Q_OBJECT

private:
    TcpCaptureServer server;
    PictureControlWindows *picture = nullptr;
    AlienAdjustWindows *alien = nullptr;
    EdgeMeltingWindows *edge = nullptr;

    QWidget *window(const QString &name)
    {
        if (name == QLatin1String("alien"))
            return alien;
        return name == QLatin1String("edge") ? static_cast<QWidget *>(edge) : picture;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(openCaptureLink(server));
        picture = new PictureControlWindows;
        alien = new AlienAdjustWindows;
        edge = new EdgeMeltingWindows;
    }

    void cleanupTestCase()
    {
        delete picture;
        delete alien;
        delete edge;
    }

    void framesOnTheWire_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("screens");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("frames");

        const QStringList one{"11"};
        const QStringList range{"11", "22"};
        QTest::newRow("VIDEO brightness plus") << "picture" << one << QStringList() << "brightadd_btn"
                                               << "C6 11 11 31 01 BB";
        QTest::newRow("VIDEO brightness minus") << "picture" << one << QStringList() << "brightsub_btn"
                                                << "C6 11 11 31 00 BB";
        QTest::newRow("VGA contrast minus, one frame over 11..32")
            << "picture" << QStringList{"11", "21", "32"} << QStringList() << "contrastsub_btn2"
            << "C6 11 32 40 00 BB";
        QTest::newRow("DVI brightness plus sends the VGA code") << "picture" << one << QStringList()
                                                                << "brightadd_btn3" << "C6 11 11 41 01 BB";
        QTest::newRow("bright grey minus raises all three")
            << "picture" << one << QStringList() << "bgraysub_btn"
            << "C6 11 11 38 01 BB C6 11 11 39 01 BB C6 11 11 3A 01 BB";
        QTest::newRow("dark yellow plus") << "picture" << one << QStringList() << "dyellowadd_btn"
                                          << "C6 11 11 35 01 BB C6 11 11 36 01 BB C6 11 11 37 00 BB";
        QTest::newRow("back light plus") << "picture" << one << QStringList() << "bladd_btn"
                                         << "C6 11 11 50 01 BB C6 11 11 7C 01 BB";
        QTest::newRow("auto colour") << "picture" << one << QStringList() << "autocolor_btn" << "C6 11 11 4D 01 BB";
        QTest::newRow("red, green, blue values")
            << "picture" << one << QStringList{"r_sb=255", "g_sb=0", "b_sb=10"} << "rgbadjust_btn"
            << "C6 11 11 6B FF BB C6 11 11 6C 00 BB C6 11 11 6D 0A BB";
        QTest::newRow("first yellow swatch") << "picture" << range << QStringList() << "rg_color_0"
                                             << "C6 11 22 6B 6E BB C6 11 22 6C 6E BB";
        QTest::newRow("last magenta swatch") << "picture" << range << QStringList() << "r_bcolor_35"
                                             << "C6 11 22 6B 91 BB C6 11 22 6D 91 BB";
        QTest::newRow("middle red swatch") << "picture" << range << QStringList() << "r__color_18"
                                           << "C6 11 22 6B 80 BB";
        QTest::newRow("white grey swatch") << "picture" << range << QStringList() << "rgbcolor_0"
                                           << "C6 11 22 6B 92 BB C6 11 22 6C 92 BB C6 11 22 6D 92 BB";
        QTest::newRow("darkest grey swatch") << "picture" << range << QStringList() << "rgbcolor_35"
                                             << "C6 11 22 6B 6F BB C6 11 22 6C 6F BB C6 11 22 6D 6F BB";
        QTest::newRow("nothing selected sends nothing") << "picture" << QStringList() << QStringList()
                                                        << "brightadd_btn" << "";
        QTest::newRow("horizontal start 640") << "alien" << range << QStringList{"startadjust_cb=1", "had_le=640"}
                                              << "hok_btn" << "C6 11 22 F4 02 BB C6 11 22 F5 80 BB";
        QTest::newRow("vertical size 65535") << "alien" << one << QStringList{"startadjust_cb=1", "vsize_ld=65535"}
                                             << "vsizeok_btn" << "C6 11 11 FA FF BB C6 11 11 FB FF BB";
        QTest::newRow("vertical start 0") << "alien" << one << QStringList{"startadjust_cb=1", "vad_le=0"}
                                          << "vok_btn" << "C6 11 11 F8 00 BB C6 11 11 F9 00 BB";
        QTest::newRow("70000 is beyond two bytes") << "alien" << one
                                                   << QStringList{"startadjust_cb=1", "had_le=70000"} << "hok_btn"
                                                   << "";
        QTest::newRow("empty size sends nothing") << "alien" << one << QStringList{"startadjust_cb=1", "hsize_le="}
                                                  << "hsizeok_btn" << "";
        QTest::newRow("starting adjustment on") << "alien" << range << QStringList{"startadjust_cb=0"}
                                                << "startadjust_cb" << "C6 11 22 F3 01 BB";
        QTest::newRow("border amounts 20 and 100")
            << "edge" << range << QStringList{"enable_cb=1", "hadjust_sb=20", "vadjust_sb=100"} << "apply_btn"
            << "C6 11 22 54 14 BB C6 11 22 55 64 BB";
    }

    void framesOnTheWire()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, screens);
        QFETCH(QStringList, values);
        QFETCH(QString, button);
        QFETCH(QString, frames);

        server.clearLog();
        enter(this->window(window), values);
        // Whatever the set-up sent is through before the capture starts.
        const QByteArray setUpDone = sendSentinel();
        QTRY_VERIFY_WITH_TIMEOUT(server.log().bytes().endsWith(setUpDone), 5000);
        server.clearLog();

        GlobalObject::targetAddressList = screens;
        child<QAbstractButton>(this->window(window), button)->click();
        GlobalObject::targetAddressList = {QStringLiteral("11")};
        const QByteArray expected = QByteArray::fromHex(frames.toLatin1()) + sendSentinel();
        QTRY_COMPARE_WITH_TIMEOUT(server.log().bytes(), expected, 5000);
    }
};

VW_TEST_MAIN(TestAdjustFrames)
#include "tst_adjustframes.moc"
