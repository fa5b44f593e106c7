
#include <memory>

#include "alienadjustwindows.h"
#include "communication.h"
#include "configfile.h"
#include "edgemeltingwindows.h"
#include "formfields.h"
#include "globalobject.h"
#include "goldenrows.h"
#include "picturecontrolwindows.h"
#include "playsetwindows.h"
#include "remotecontrolwindows.h"
#include "tcpcaptureserver.h"
#include "testmain.h"

namespace {

std::unique_ptr<QWidget> makeWindow(const QString &kind)
{
    if (kind == QLatin1String("picture"))
        return std::make_unique<PictureControlWindows>();
    if (kind == QLatin1String("alien"))
        return std::make_unique<AlienAdjustWindows>();
    if (kind == QLatin1String("playback"))
        return std::make_unique<PlaySetWindows>();
    if (kind == QLatin1String("remote"))
        return std::make_unique<RemoteControlWindows>();
    return std::make_unique<EdgeMeltingWindows>();
}

// A frame to a fixed address pair after the ones under test: once it has
// arrived, everything sent before it has too.
QByteArray sendSentinel()
{
    lcdCommunication.sendData(lcdCommunication.makeCommand("AA", "55", false, 1), 0, false);
    return QByteArray::fromHex("C611FFAA55BB");
}

// Blank-separated "Group/Key=value" entries written to config.ini.
void writeSettings(const QString &entries)
{
    QSettings file(ConfigFile::path(), QSettings::IniFormat);
    for (const QString &entry : entries.split(' '))
        file.setValue(entry.section('=', 0, 0), entry.section('=', 1));
}

// The same entries with the values config.ini holds now.
QStringList settingsNow(const QString &entries)
{
    QSettings file(ConfigFile::path(), QSettings::IniFormat);
    QStringList now;
    for (const QString &entry : entries.split(' '))
        now.append(entry.section('=', 0, 0) + '=' + file.value(entry.section('=', 0, 0)).toString());
    return now;
}

} // namespace

// The adjustment, playback and remote windows: their frames on a real link;
// the geometry and the groups the adjustment windows keep in config.ini.
class TestAdjust : public QObject
{
    Q_OBJECT

    TcpCaptureServer server;

    // Clicks the window's button with the screens selected and compares the
    // frames that arrive (hex), each told once in the log.
    void compareFramesOfClick(QWidget *window, const QString &screens, const QString &button, const QString &frames)
    {
        // Whatever the set-up sent is through before the capture starts.
        const QByteArray setUpDone = sendSentinel();
        QTRY_VERIFY_WITH_TIMEOUT(server.log().bytes().endsWith(setUpDone), 5000);
        server.clearLog();
        QSignalSpy echoed(&lcdCommunication, &Communication::sendComData);
        GlobalObject::targetAddressList = screens.split(' ', Qt::SkipEmptyParts);
        child<QAbstractButton>(window, button)->click();
        GlobalObject::targetAddressList = {QStringLiteral("11")};
        const QByteArray expected = QByteArray::fromHex(frames.toLatin1()) + sendSentinel();
        QTRY_COMPARE_WITH_TIMEOUT(server.log().bytes(), expected, 5000);
        QCOMPARE(echoed.count(), expected.size() / 6);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.openMainLink());
        QTRY_VERIFY(server.hasClient());
    }
    // A window built by the next test loads nothing this one stored.
    void cleanup() { QFile::remove(ConfigFile::path()); ConfigFile::readAgain(); }

    void framesOnTheWire_data() { goldenRows(QStringLiteral("windowframes.tsv")); }

    void framesOnTheWire()
    {
        server.clearLog();
        const auto shownWindow = makeWindow(golden("window"));
        enter(shownWindow.get(), golden("values").split(' ', Qt::SkipEmptyParts));
        compareFramesOfClick(shownWindow.get(), golden("screens"), golden("button"), golden("frames"));
    }

    // Stored inputs of special regulation keep to what their fields take:
    // what Apply sends after the load, and what the close saves again.
    void storedSpecialInputs_data() { goldenRows(QStringLiteral("alienstored.tsv")); }

    void storedSpecialInputs()
    {
        QFile::remove(ConfigFile::path()); ConfigFile::readAgain();
        writeSettings(golden("stored"));
        AlienAdjustWindows window;
        enter(&window, {"startadjust_cb=1"});
        compareFramesOfClick(&window, QStringLiteral("11"), golden("button"), golden("frames"));
        window.close();
        QCOMPARE(settingsNow(golden("saved")), golden("saved").split(' '));
    }

    void geometry_data() { goldenRows(QStringLiteral("adjustgeometry.tsv")); }

    void geometry()
    {
        AlienAdjustWindows window;
        enter(&window, golden("inputs").split(' '));
        QStringList got;
        for (const char *name : {"had_le", "hsize_le", "vad_le", "vsize_ld"})
            got << shown(&window, name);
        QCOMPARE(got.join(' '), golden("results"));
    }

    void groupsRoundTrip_data() { goldenRows(QStringLiteral("adjustgroups.tsv")); }

    void groupsRoundTrip()
    {
        QFETCH(QString, kind);
        QFETCH(QString, values);
        QFile::remove(ConfigFile::path()); ConfigFile::readAgain();
        QSettings(ConfigFile::path(), QSettings::IniFormat).setValue("MainSetting/Language", 1);
        auto window = makeWindow(kind);
        enter(window.get(), values.split(' '));
        window->close();
        QCOMPARE(settingsNow(golden("stored")), golden("stored").split(' '));
        QCOMPARE(QSettings(ConfigFile::path(), QSettings::IniFormat).value("MainSetting/Language").toInt(), 1);
        auto loaded = makeWindow(kind);
        QCOMPARE(shownNow(loaded.get(), values.split(' ')), values.split(' '));
    }

    // The swatches show the colours they stand for: yellow lacks blue at the
    // end of its row, cyan lacks red.
    void swatchesShowTheirColours()
    {
        PictureControlWindows window;
        window.show();
        const auto swatch = [&window](const char *name) { return child<QPushButton>(&window, name); };
        const auto centre = [&swatch](const char *name) {
            const QImage image = swatch(name)->grab().toImage();
            return image.pixelColor(image.rect().center());
        };
        const QColor yellow = centre("rg_color_35"), cyan = centre("_gbcolor_10");
        QVERIFY(yellow.blue() < yellow.red() - 50 && yellow.red() == yellow.green());
        QVERIFY(cyan.red() < cyan.green() && cyan.green() == cyan.blue());
        // Only the first 18 swatches of the red row take focus by click alone.
        QVERIFY(swatch("r__color_17")->focusPolicy() == Qt::ClickFocus && swatch("r__color_18")->focusPolicy() == Qt::StrongFocus);
        // Seven rows of 36 swatches, each laid out as the square the rows are
        // drawn for, not a button's own width: a 37th would send a level past
        // the palette's range.
        const auto swatches = window.findChildren<QPushButton *>(QRegularExpression(QStringLiteral("color_\\d+$")));
        QCOMPARE(swatches.size(), 7 * 36);
        for (const QPushButton *each : swatches)
            QCOMPARE(each->size(), QSize(31, 31));
        // Beside them, the colour chart they are picked from.
        QVERIFY(!child<QLabel>(&window, "show_rgb_image_lb")->pixmap(Qt::ReturnByValue).isNull());
    }

    void applyWaitsForThePairOnItsWay()
    {
        AlienAdjustWindows window;
        enter(&window, {"startadjust_cb=1", "had_le=640", "vad_le=540"});
        QTRY_VERIFY(server.log().bytes().endsWith(QByteArray::fromHex("C61111F301BB")));
        server.clearLog();
        // The second Apply comes while the first pair waits after its high byte.
        QTimer::singleShot(10, child<QPushButton>(&window, "vok_btn"), &QPushButton::click);
        child<QPushButton>(&window, "hok_btn")->click();
        QTRY_COMPARE_WITH_TIMEOUT(server.log().bytes(),
                                  QByteArray::fromHex("C61111F402BB C61111F580BB C61111F802BB C61111F91CBB"), 5000);
    }
};

VW_TEST_MAIN(TestAdjust)
#include "tst_adjust.moc"
