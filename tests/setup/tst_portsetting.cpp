#include "portname.h"
#include "portsettingwindows.h"
#include "windowtest.h"

#include <QSerialPortInfo>

using namespace WindowTest;

namespace {

// The port window with the system's port list replaced by the test's.
class FakePortsWindow : public PortSettingWindows
{
public:
    QStringList ports;

protected:
    QStringList availablePortNames() const override { return ports; }
};

} // namespace

class TestPortSetting : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(ConfigFile::path()); ConfigFile::readAgain(); }

    void refreshSortsAndStoresFoundPorts()
    {
        {
            FakePortsWindow window;
            window.ports = QStringList{"COM2", "COM10", "COM1"};
            child<QComboBox>(&window, "lcd_port_cb")->setCurrentIndex(5);
            child<QPushButton>(&window, "refresh_btn")->click();
            QCOMPARE(items(child<QComboBox>(&window, "video_cb")), (QStringList{"COM1", "COM10", "COM2"}));
            QCOMPARE(window.getPortDescription(), QStringLiteral("COM1 "));
            enter(&window, {"dlink_cb=1", "rvd_cb=2"});
            QCOMPARE(window.getPortDescription(), QStringLiteral("COM1 COM2 "));
            enter(&window, {"vlink_cb=1"});
            QCOMPARE(window.getPortDescription(), QStringLiteral("COM1 COM1 COM2 "));
            window.close();
        }
        PortSettingWindows window;
        QCOMPARE(items(child<QComboBox>(&window, "lcd_port_cb")), (QStringList{"COM1", "COM10", "COM2"}));
        QCOMPARE(window.getPortSetting().rgbPortName, QStringLiteral("COM2"));
    }

    // Refresh through the system's own list, as Qt reads it from the
    // machine's devices (a pty is not among them): each serial port by the
    // name it goes by, in all three boxes.
    void refreshListsThePortsTheSystemHas()
    {
        QStringList system;
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
            system.append(info.portName());
        if (system.isEmpty())
            QSKIP("the system lists no serial port: run on a machine with one (such as ttyS0)");
        std::sort(system.begin(), system.end());
        PortSettingWindows window;
        child<QPushButton>(&window, "refresh_btn")->click();
        for (const char *box : {"lcd_port_cb", "video_cb", "rvd_cb"})
            QCOMPARE(items(child<QComboBox>(&window, box)), system);
    }

    // The close button saves without announcing, OK announces once and
    // saves, a window open when the program ends saves.
    void settingsSurviveARestart_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<int>("announced");
        QTest::newRow("close button") << "close_pbtn" << 0;
        QTest::newRow("OK") << "pt_ok_btn" << 1;
        QTest::newRow("open when the program ends") << "quit" << 0;
    }
    void settingsSurviveARestart()
    {
        QFETCH(QString, ending);
        {
            PortSettingWindows window;
            PortSettingWindows hidden; // connects last: saving it too would overwrite the file
            window.show();
            child<QRadioButton>(&window, "wire_rbtn")->click();
            enter(&window, {"lcd_port_cb=14", "video_cb=1", "rvd_cb=9", "vlink_cb=1", "auto_cb=1",
                            "addrip_lb=192.168.1.20", "port_lb=4001"});
            enter(&hidden, {"addrip_lb=1.1.1.1"});
            QSignalSpy changed(&window, &PortSettingWindows::comSelectChange);
            endSession(&window, ending);
            QTEST(int(changed.count()), "announced");
            QCOMPARE(window.isVisible(), ending == "quit");
        }
        PortSettingWindows window;
        const PortSettingRecord record = window.getPortSetting();
        QCOMPARE(record.wireless, 1);
        QCOMPARE(record.lcdPortName + record.videoPortName + record.rgbPortName, QStringLiteral("COM15COM2COM10"));
        QVERIFY(record.videoLink && !record.rgbLink && window.isAutoOpen() && child<QGroupBox>(&window, "wir_gb")->isEnabled()
                && !child<QGroupBox>(&window, "serialset_gb")->isEnabled());
        QCOMPARE(record.ipAddress + ":" + QString::number(record.tcpPort), QStringLiteral("192.168.1.20:4001"));
    }

    void storedGroupIsReadDefensively_data() { goldenRows(QStringLiteral("portconfig.tsv")); }
    void storedGroupIsReadDefensively()
    {
        QVERIFY(writeConfig("[PortConfig]\n" + golden("ini").replace("\\n", "\n").toLatin1() + "\n"));
        const PortSettingRecord record = PortSettingWindows().getPortSetting();
        QTEST(record.lcdPortName, "lcdPort");
        QTEST(QString::number(record.tcpPort), "tcpPort");
        QTEST(QString(record.videoLink ? "yes" : "no"), "videoLink");
    }

    void editsTakeWhatTheyShould_data() { goldenRows(QStringLiteral("portedits.tsv")); }
    void editsTakeWhatTheyShould()
    {
        PortSettingWindows window;
        QString typed = golden("text");
        int at = 0;
        QTEST(QString::number(child<QLineEdit>(&window, golden("edit").toLatin1())->validator()->validate(typed, at)), "state");
    }

    // The choices stay through a language switch; a list taller than the
    // screen, as a refresh on a machine with many ports gives, still opens at
    // its box in either skin, under it or over it (sharing the box's edge).
    void languageSwitchKeepsChoicesAndLongListsOpenAtTheirBox()
    {
        FakePortsWindow window;
        window.ports = QStringList{"COM4", "COM8", "COM6"};
        for (int i = 0; i < 44; ++i)
            window.ports.append(QStringLiteral("ttyS%1").arg(i));
        child<QPushButton>(&window, "refresh_btn")->click();
        enter(&window, {"lcd_port_cb=2", "addrip_lb=172.16.0.9"});
        QVERIFY(inChinese([] {}));
        QCOMPARE(items(child<QComboBox>(&window, "rvd_cb")).mid(0, 4), (QStringList{"COM4", "COM6", "COM8", "ttyS0"}));
        QCOMPARE(window.getPortSetting().lcdPortName + " " + window.getPortSetting().ipAddress, QStringLiteral("COM8 172.16.0.9"));
        auto *box = child<QComboBox>(&window, "lcd_port_cb");
        for (const char *skin : {"blue", "black"}) {
            GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/%1.css").arg(skin));
            QTest::mouseClick(box, Qt::LeftButton);
            const QRect list = box->view()->window()->geometry(), at(box->mapToGlobal(QPoint()), box->size());
            QVERIFY2(list.x() == at.x() && (list.top() == at.bottom() || list.bottom() == at.top()), skin);
            box->hidePopup();
        }
    }

    void comNamesMapToSerialDevices()
    {
        QCOMPARE(serialDeviceName("COM1") + serialDeviceName("COM15"), QStringLiteral("/dev/ttyS0/dev/ttyS14"));
        QCOMPARE(serialDeviceName("COM0") + serialDeviceName("com2"), QStringLiteral("COM0com2")); // no COM names
    }
};

VW_TEST_MAIN(TestPortSetting)
#include "tst_portsetting.moc"
