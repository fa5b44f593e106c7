#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <memory>

#include "adjusttest.h"
#include "alienadjustwindows.h"
#include "configfile.h"
#include "edgemeltingwindows.h"
#include "picturecontrolwindows.h"
#include "testmain.h"

using namespace AdjustTest;

namespace {

std::unique_ptr<QWidget> makeWindow(const QString &kind)
{
    if (kind == QLatin1String("picture"))
        return std::make_unique<PictureControlWindows>();
    if (kind == QLatin1String("alien"))
        return std::make_unique<AlienAdjustWindows>();
    return std::make_unique<EdgeMeltingWindows>();
}

QString shown(QWidget *window, const QString &name)
{
    QWidget *widget = child<QWidget>(window, name);
    if (auto *spin = qobject_cast<QSpinBox *>(widget))
        return QString::number(spin->value());
    return qobject_cast<QLineEdit *>(widget)->text();
}

} // namespace

class TestAdjustWindows : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("results");
        QTest::newRow("1920 x 1080 over 3 x 2")
            << QStringList{"RW=1920", "RH=1080", "PL=3", "PH=2", "OPL=1", "OPH=1", "IL=1", "IH=1"}
            << QStringList{"640", "640", "540", "540"};
        QTest::newRow("13 of 20 over 1440 keeps its pixel")
            << QStringList{"RW=1440", "RH=1440", "PL=20", "PH=20", "OPL=7", "OPH=13", "IL=13", "IH=7"}
            << QStringList{"936", "504", "504", "936"};
        QTest::newRow("decimal resolutions")
            << QStringList{"RW=1920.5", "RH=1080.5", "PL=4", "PH=1", "OPL=4", "OPH=1", "IL=0", "IH=1"}
            << QStringList{"0", "1920", "1080", "1080"};
        QTest::newRow("zero totals leave the results empty")
            << QStringList{"RW=1920", "RH=1080", "PL=0", "PH=0", "OPL=1", "OPH=1", "IL=1", "IH=1"}
            << QStringList{"", "", "", ""};
        QTest::newRow("negative span leaves its result empty")
            << QStringList{"RW=1920", "RH=1080", "PL=3", "PH=3", "OPL=1", "OPH=1", "IL=-1", "IH=1"}
            << QStringList{"", "640", "360", "360"};
    }

    void geometry()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, results);
        AlienAdjustWindows window;
        enter(&window, inputs);
        const QStringList names{"had_le", "hsize_le", "vad_le", "vsize_ld"};
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(shown(&window, names.at(i)), results.at(i));
    }

    void groupsRoundTrip_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("picture control") << "picture" << QStringList{"r_sb=255", "g_sb=7", "b_sb=10"}
                                         << "PictureSetting" << QStringList{"Red=255", "Green=7", "Blue=10"};
        QTest::newRow("special regulation")
            << "alien" << QStringList{"RW=1920", "RH=1080", "PL=3", "PH=2", "OPL=1", "OPH=1", "IL=2", "IH=1"}
            << "AlienSetting"
            << QStringList{"HorizontalStart=1280", "HorizontalSize=640", "VerticalStart=540", "VerticalSize=540",
                           "WResolution=1920", "HResolution=1080", "TotalLenghtL=3", "TotalLenghtH=2",
                           "SingleLenghtL=1", "SingleLenghtH=1", "IntervalLength=2", "IntervalHeight=1"};
        QTest::newRow("border effect") << "edge" << QStringList{"hadjust_sb=37", "vadjust_sb=100"} << "EdgeSetting"
                                       << QStringList{"HAdjust=37", "VAdjust=100"};
    }

    void groupsRoundTrip()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, values);
        QFETCH(QString, group);
        QFETCH(QStringList, stored);
        QFile::remove(ConfigFile::path());
        {
            QSettings other(ConfigFile::path(), QSettings::IniFormat);
            other.setValue(QStringLiteral("MainSetting/Language"), 1);
        }
        auto window = makeWindow(kind);
        enter(window.get(), values);
        window->close();

        QSettings file(ConfigFile::path(), QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("MainSetting/Language")).toInt(), 1);
        file.beginGroup(group);
        for (const QString &entry : stored)
            QCOMPARE(file.value(entry.section('=', 0, 0)).toString(), entry.section('=', 1));

        auto loaded = makeWindow(kind);
        for (const QString &entry : values)
            QCOMPARE(shown(loaded.get(), entry.section('=', 0, 0)), entry.section('=', 1));
    }

    void swatchTooltips_data()
    {
        QTest::addColumn<QString>("swatch");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("last yellow") << "rg_color_35" << "255,255,115";
        QTest::newRow("last magenta") << "r_bcolor_35" << "255,115,255";
        QTest::newRow("middle grey") << "rgbcolor_18" << "183,183,183";
        QTest::newRow("first cyan") << "_gbcolor_0" << "255,255,255";
    }

    void swatchTooltips()
    {
        QFETCH(QString, swatch);
        QFETCH(QString, tooltip);
        PictureControlWindows window;
        QCOMPARE(child<QPushButton>(&window, swatch)->toolTip(), tooltip);
    }

    void applyWaitsForThePairOnItsWay()
    {
        TcpCaptureServer server;
        QVERIFY(openCaptureLink(server));
        AlienAdjustWindows window;
        enter(&window, {"startadjust_cb=1", "had_le=640", "vad_le=540"});
        QTRY_COMPARE_WITH_TIMEOUT(server.log().bytes(), QByteArray::fromHex("C61111F301BB"), 5000);
        server.clearLog();

        // The second Apply comes while the first pair waits after its high byte.
        QTimer::singleShot(10, child<QPushButton>(&window, "vok_btn"), &QPushButton::click);
        child<QPushButton>(&window, "hok_btn")->click();
        QTRY_COMPARE_WITH_TIMEOUT(server.log().bytes(),
                                  QByteArray::fromHex("C61111F402BB C61111F580BB C61111F802BB C61111F91CBB"), 5000);
        lcdCommunication.closeTcp();
        GlobalObject::linkOpen = false;
    }
};

VW_TEST_MAIN(TestAdjustWindows)
#include "tst_adjustwindows.moc"
