#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>

#include "portname.h"
#include "portsettingwindows.h"
#include "setuptest.h"
#include "testmain.h"

using namespace SetupTest;

namespace {

// The port window with the system's port list replaced by the test's.
class FakePortsWindow : public PortSettingWindows
{
public:
    QStringList ports;

protected:
    QStringList availablePortNames() const override { return ports; }
};

QStringList comNames()
{
    QStringList names;
    for (int i = 1; i <= 15; ++i)
        names.append(QStringLiteral("COM%1").arg(i));
    return names;
}

} // namespace

class TestPortSetting : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(ConfigFile::path()); }

    void firstStartGivesDefaultRecord()
    {
        PortSettingWindows window;
        const PortSettingRecord record = window.getPortSetting();
        QCOMPARE(record.wireless, 0);
        QCOMPARE(record.baudRate, 9600);
        QCOMPARE(record.dataBitsIndex, 3);
        QCOMPARE(record.parityIndex, 0);
        QCOMPARE(record.stopBitsIndex, 0);
        QCOMPARE(record.flowControlIndex, 0);
        QCOMPARE(record.tcpPort, quint16(8899));
        QCOMPARE(record.lcdPortName, QStringLiteral("COM1"));
        QCOMPARE(record.videoPortName, QStringLiteral("COM1"));
        QCOMPARE(record.rgbPortName, QStringLiteral("COM1"));
        QCOMPARE(record.ipAddress, QStringLiteral("10.10.100.254"));
        QVERIFY(!record.videoLink);
        QVERIFY(!record.rgbLink);
        QVERIFY(!window.isAutoOpen());
        QCOMPARE(window.getPortDescription(), QStringLiteral("COM1 "));
        QCOMPARE(items(child<QComboBox>(&window, "rvd_cb")), comNames());
        QVERIFY(!child<QComboBox>(&window, "video_cb")->isEnabled());
        QVERIFY(!child<QGroupBox>(&window, "wir_gb")->isEnabled());
        QVERIFY(!QFile::exists(ConfigFile::path()));
    }

    void descriptionFollowsLinkage_data()
    {
        QTest::addColumn<bool>("videoLink");
        QTest::addColumn<bool>("rgbLink");
        QTest::addColumn<QString>("description");
        QTest::newRow("no matrix linked") << false << false << "COM3 ";
        QTest::newRow("video matrix linked") << true << false << "COM3 COM4 ";
        QTest::newRow("RGB matrix linked") << false << true << "COM3 COM5 ";
        QTest::newRow("both matrices linked") << true << true << "COM3 COM4 COM5 ";
    }

    void descriptionFollowsLinkage()
    {
        QFETCH(bool, videoLink);
        QFETCH(bool, rgbLink);
        QFETCH(QString, description);
        PortSettingWindows window;
        child<QComboBox>(&window, "lcd_port_cb")->setCurrentIndex(2);
        child<QComboBox>(&window, "video_cb")->setCurrentIndex(3);
        child<QComboBox>(&window, "rvd_cb")->setCurrentIndex(4);
        child<QCheckBox>(&window, "vlink_cb")->setChecked(videoLink);
        child<QCheckBox>(&window, "dlink_cb")->setChecked(rgbLink);

        QCOMPARE(window.getPortDescription(), description);
        QCOMPARE(child<QComboBox>(&window, "video_cb")->isEnabled(), videoLink);
        QCOMPARE(child<QLabel>(&window, "label_4")->isEnabled(), videoLink);
        QCOMPARE(child<QComboBox>(&window, "rvd_cb")->isEnabled(), rgbLink);
        QCOMPARE(child<QLabel>(&window, "label_5")->isEnabled(), rgbLink);
    }

    void connectionModeFollowsClicks()
    {
        PortSettingWindows window;
        child<QRadioButton>(&window, "wire_rbtn")->click();
        QCOMPARE(window.getPortDescription(), QStringLiteral("WIRELESS "));
        QCOMPARE(window.getPortSetting().wireless, 1);
        QVERIFY(!child<QGroupBox>(&window, "serialset_gb")->isEnabled());
        QVERIFY(!child<QPushButton>(&window, "refresh_btn")->isEnabled());
        QVERIFY(child<QLineEdit>(&window, "port_lb")->isEnabled());

        child<QRadioButton>(&window, "seri_rbtn")->click();
        QCOMPARE(window.getPortSetting().wireless, 0);
        QVERIFY(child<QGroupBox>(&window, "serialset_gb")->isEnabled());
        QVERIFY(!child<QGroupBox>(&window, "wir_gb")->isEnabled());
    }

    void refreshSortsFoundPorts_data()
    {
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("description");
        QTest::newRow("three ports, ten before two")
            << QStringList{"COM2", "COM10", "COM1"} << QStringList{"COM1", "COM10", "COM2"}
            << "COM1 ";
        QTest::newRow("device names by character code")
            << QStringList{"ttyUSB0", "ttyS1", "ttyACM0"}
            << QStringList{"ttyACM0", "ttyS1", "ttyUSB0"} << "ttyACM0 ";
        QTest::newRow("no port found") << QStringList{} << QStringList{} << " ";
    }

    void refreshSortsFoundPorts()
    {
        QFETCH(QStringList, found);
        QFETCH(QStringList, shown);
        QFETCH(QString, description);
        FakePortsWindow window;
        window.ports = found;
        child<QComboBox>(&window, "lcd_port_cb")->setCurrentIndex(5);
        child<QPushButton>(&window, "refresh_btn")->click();

        for (const char *name : {"lcd_port_cb", "video_cb", "rvd_cb"}) {
            QCOMPARE(items(child<QComboBox>(&window, name)), shown);
            QCOMPARE(child<QComboBox>(&window, name)->currentIndex(), shown.isEmpty() ? -1 : 0);
        }
        QCOMPARE(window.getPortDescription(), description);
        QVERIFY(!QFile::exists(ConfigFile::path())); // a refresh stores nothing
    }

    void refreshedListIsStoredAndComesBack()
    {
        {
            FakePortsWindow window;
            window.ports = QStringList{"COM7", "COM3"};
            child<QPushButton>(&window, "refresh_btn")->click();
            child<QComboBox>(&window, "rvd_cb")->setCurrentIndex(1);
            window.close();
        }
        QSettings ini(ConfigFile::path(), QSettings::IniFormat);
        QCOMPARE(ini.value("PortConfig/ComList/size").toInt(), 2);
        QCOMPARE(ini.value("PortConfig/ComList/1/Com").toString(), QStringLiteral("COM3"));
        QCOMPARE(ini.value("PortConfig/ComList/2/Com").toString(), QStringLiteral("COM7"));

        PortSettingWindows window;
        QCOMPARE(items(child<QComboBox>(&window, "video_cb")), (QStringList{"COM3", "COM7"}));
        QCOMPARE(window.getPortSetting().rgbPortName, QStringLiteral("COM7"));
    }

    void settingsRoundTrip_data()
    {
        QTest::addColumn<bool>("wireless");
        QTest::addColumn<bool>("videoLink");
        QTest::addColumn<bool>("rgbLink");
        QTest::addColumn<bool>("autoOpen");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::newRow("serial, video matrix linked, auto open")
            << false << true << false << true << "192.168.1.20" << "4001";
        QTest::newRow("wireless, both matrices linked")
            << true << true << true << false << "10.0.0.7" << "65535";
        QTest::newRow("serial, nothing ticked, empty address")
            << false << false << false << false << "" << "";
    }

    void settingsRoundTrip()
    {
        QFETCH(bool, wireless);
        QFETCH(bool, videoLink);
        QFETCH(bool, rgbLink);
        QFETCH(bool, autoOpen);
        QFETCH(QString, address);
        QFETCH(QString, port);
        {
            PortSettingWindows window;
            child<QRadioButton>(&window, wireless ? "wire_rbtn" : "seri_rbtn")->click();
            child<QComboBox>(&window, "lcd_port_cb")->setCurrentIndex(14);
            child<QComboBox>(&window, "video_cb")->setCurrentIndex(1);
            child<QComboBox>(&window, "rvd_cb")->setCurrentIndex(9);
            child<QCheckBox>(&window, "vlink_cb")->setChecked(videoLink);
            child<QCheckBox>(&window, "dlink_cb")->setChecked(rgbLink);
            child<QCheckBox>(&window, "auto_cb")->setChecked(autoOpen);
            child<QLineEdit>(&window, "addrip_lb")->setText(address);
            child<QLineEdit>(&window, "port_lb")->setText(port);
            QSignalSpy changed(&window, &PortSettingWindows::comSelectChange);
            window.close(); // the close button saves without announcing
            QCOMPARE(changed.count(), 0);
        }
        {
            QSettings ini(ConfigFile::path(), QSettings::IniFormat);
            ini.beginGroup("PortConfig");
            QCOMPARE(ini.value("ConMethod").toInt(), wireless ? 1 : 0);
            QCOMPARE(ini.value("LPort").toInt(), 14);
            QCOMPARE(ini.value("VPort").toInt(), 1);
            QCOMPARE(ini.value("DPort").toInt(), 9);
            QCOMPARE(ini.value("VLink").toInt(), videoLink ? 1 : 0);
            QCOMPARE(ini.value("DLink").toInt(), rgbLink ? 1 : 0);
            QCOMPARE(ini.value("AutoOpen").toInt(), autoOpen ? 1 : 0);
            QCOMPARE(ini.value("Addr").toString(), address);
            QCOMPARE(ini.value("Port").toString(), port);
            QCOMPARE(ini.value("ComList/size").toInt(), 15);
            QCOMPARE(ini.value("ComList/15/Com").toString(), QStringLiteral("COM15"));
        }

        PortSettingWindows window;
        const PortSettingRecord record = window.getPortSetting();
        QCOMPARE(record.wireless, wireless ? 1 : 0);
        QCOMPARE(record.lcdPortName, QStringLiteral("COM15"));
        QCOMPARE(record.videoPortName, QStringLiteral("COM2"));
        QCOMPARE(record.rgbPortName, QStringLiteral("COM10"));
        QCOMPARE(record.videoLink, videoLink);
        QCOMPARE(record.rgbLink, rgbLink);
        QCOMPARE(record.ipAddress, address);
        QCOMPARE(record.tcpPort, quint16(port.toUInt()));
        QCOMPARE(window.isAutoOpen(), autoOpen);
        QGroupBox *serial = child<QGroupBox>(&window, "serialset_gb");
        QCOMPARE(child<QComboBox>(&window, "video_cb")->isEnabledTo(serial), videoLink);
        QCOMPARE(child<QComboBox>(&window, "rvd_cb")->isEnabledTo(serial), rgbLink);
        QCOMPARE(child<QGroupBox>(&window, "wir_gb")->isEnabled(), wireless);
        QCOMPARE(child<QGroupBox>(&window, "serialset_gb")->isEnabled(), !wireless);
    }

    void okAnnouncesOnceAndSaves()
    {
        PortSettingWindows window;
        window.show();
        QSignalSpy changed(&window, &PortSettingWindows::comSelectChange);
        child<QCheckBox>(&window, "auto_cb")->setChecked(true);
        child<QPushButton>(&window, "pt_ok_btn")->click();
        QCOMPARE(changed.count(), 1);
        QVERIFY(!window.isVisible());
        QSettings ini(ConfigFile::path(), QSettings::IniFormat);
        QCOMPARE(ini.value("PortConfig/AutoOpen").toInt(), 1);
    }

    void storedGroupIsReadDefensively_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("lcdPort");
        QTest::addColumn<quint16>("tcpPort");
        QTest::addColumn<bool>("videoLink");
        QTest::addColumn<bool>("videoBoxEnabled");
        QTest::addColumn<QString>("address");
        QTest::newRow("video linkage ticked")
            << QByteArray("[PortConfig]\nVLink=1\nAddr=1.2.3.4\nPort=23\n") << "COM1" << quint16(23)
            << true << true << "1.2.3.4";
        QTest::newRow("linkage value 2 leaves the box as it was")
            << QByteArray("[PortConfig]\nVLink=2\nPort=23\n") << "COM1" << quint16(23) << false
            << false << "";
        QTest::newRow("group without address and port")
            << QByteArray("[PortConfig]\nLPort=3\n") << "COM4" << quint16(0) << false << false
            << "";
        QTest::newRow("port beyond 16 bits is no port")
            << QByteArray("[PortConfig]\nPort=73435\n") << "COM1" << quint16(0) << false << false
            << "";
        QTest::newRow("port that is no number")
            << QByteArray("[PortConfig]\nPort=abc\n") << "COM1" << quint16(0) << false << false
            << "";
        QTest::newRow("port index beyond the list falls back to the first")
            << QByteArray("[PortConfig]\nLPort=40\nPort=8899\n") << "COM1" << quint16(8899)
            << false << false << "";
        QTest::newRow("empty box index falls back to the first")
            << QByteArray("[PortConfig]\nLPort=-1\nPort=1\n") << "COM1" << quint16(1) << false
            << false << "";
        QTest::newRow("list element without a name reads 1")
            << QByteArray("[PortConfig]\nLPort=1\nPort=1\nComList\\size=2\nComList\\1\\Com=COM9\n")
            << "1" << quint16(1) << false << false << "";
        QTest::newRow("other group only: form defaults")
            << QByteArray("[MainSetting]\nRow=2\n") << "COM1" << quint16(8899) << false << false
            << "10.10.100.254";
    }

    void storedGroupIsReadDefensively()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, lcdPort);
        QFETCH(quint16, tcpPort);
        QFETCH(bool, videoLink);
        QFETCH(bool, videoBoxEnabled);
        QFETCH(QString, address);
        QVERIFY(writeConfig(ini));
        PortSettingWindows window;
        const PortSettingRecord record = window.getPortSetting();
        QCOMPARE(record.lcdPortName, lcdPort);
        QCOMPARE(record.tcpPort, tcpPort);
        QCOMPARE(record.videoLink, videoLink);
        QCOMPARE(record.ipAddress, address);
        QCOMPARE(child<QComboBox>(&window, "video_cb")->isEnabled(), videoBoxEnabled);
    }

    void editsTakeWhatTheyShould_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("state");
        const int ok = QValidator::Acceptable;
        const int refused = QValidator::Invalid;
        QTest::newRow("port zero") << "port_lb" << "0" << ok;
        QTest::newRow("bridge default port") << "port_lb" << "8899" << ok;
        QTest::newRow("port 61999") << "port_lb" << "61999" << ok;
        QTest::newRow("port 65479") << "port_lb" << "65479" << ok;
        QTest::newRow("highest port") << "port_lb" << "65535" << ok;
        QTest::newRow("one port beyond") << "port_lb" << "65536" << refused;
        QTest::newRow("six-digit port") << "port_lb" << "100000" << refused;
        QTest::newRow("port with leading zero") << "port_lb" << "080" << refused;
        QTest::newRow("port with letter") << "port_lb" << "8a" << refused;
        QTest::newRow("bridge default address") << "addrip_lb" << "10.10.100.254" << ok;
        QTest::newRow("highest address") << "addrip_lb" << "255.255.255.255" << ok;
        QTest::newRow("address half typed") << "addrip_lb" << "192.168." << int(QValidator::Intermediate);
        QTest::newRow("address part above 255") << "addrip_lb" << "256.1.1.1" << refused;
        QTest::newRow("address with letter") << "addrip_lb" << "10.a" << refused;
    }

    void editsTakeWhatTheyShould()
    {
        QFETCH(QString, edit);
        QFETCH(QString, text);
        QFETCH(int, state);
        PortSettingWindows window;
        QCOMPARE(validation(child<QLineEdit>(&window, edit.toLatin1()), text), state);
    }

    void languageSwitchKeepsChoices()
    {
        FakePortsWindow window;
        window.ports = QStringList{"COM4", "COM8", "COM6"};
        child<QPushButton>(&window, "refresh_btn")->click();
        child<QComboBox>(&window, "lcd_port_cb")->setCurrentIndex(2);
        child<QComboBox>(&window, "video_cb")->setCurrentIndex(1);
        child<QLineEdit>(&window, "addrip_lb")->setText("172.16.0.9");
        child<QLineEdit>(&window, "port_lb")->setText("502");

        QString title;
        QString refresh;
        QVERIFY(inChinese([&] {
            title = child<QLabel>(&window, "label_title")->text();
            refresh = child<QPushButton>(&window, "refresh_btn")->text();
        }));

        QCOMPARE(title, QStringLiteral("通讯配置"));
        QCOMPARE(refresh, QStringLiteral("刷新端口"));
        QCOMPARE(child<QLabel>(&window, "label_title")->text(), QStringLiteral("Port Setting"));
        QCOMPARE(items(child<QComboBox>(&window, "rvd_cb")), (QStringList{"COM4", "COM6", "COM8"}));
        const PortSettingRecord record = window.getPortSetting();
        QCOMPARE(record.lcdPortName, QStringLiteral("COM8"));
        QCOMPARE(record.videoPortName, QStringLiteral("COM6"));
        QCOMPARE(record.ipAddress, QStringLiteral("172.16.0.9"));
        QCOMPARE(record.tcpPort, quint16(502));
    }

    void openWindowIsSavedWhenTheProgramEnds()
    {
        // The hidden one connects last: saving it too would overwrite the file.
        PortSettingWindows shown;
        PortSettingWindows hidden;
        shown.show();
        child<QLineEdit>(&hidden, "addrip_lb")->setText("1.1.1.1");
        child<QLineEdit>(&shown, "addrip_lb")->setText("10.1.2.3");
        QVERIFY(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit"));
        QSettings ini(ConfigFile::path(), QSettings::IniFormat);
        QCOMPARE(ini.value("PortConfig/Addr").toString(), QStringLiteral("10.1.2.3"));
    }

    void comNamesMapToSerialDevices_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("device");
#ifdef Q_OS_WIN
        QTest::newRow("COM1 stays") << "COM1" << "COM1";
#else
        QTest::newRow("first port") << "COM1" << "/dev/ttyS0";
        QTest::newRow("last port of the list") << "COM15" << "/dev/ttyS14";
        QTest::newRow("found device name") << "ttyUSB0" << "ttyUSB0";
        QTest::newRow("full device path") << "/dev/pts/4" << "/dev/pts/4";
        QTest::newRow("lower case is no COM name") << "com2" << "com2";
        QTest::newRow("COM0 is no COM name") << "COM0" << "COM0";
        QTest::newRow("stored element without a name") << "1" << "1";
#endif
    }

    void comNamesMapToSerialDevices()
    {
        QFETCH(QString, name);
        QFETCH(QString, device);
        QCOMPARE(serialDeviceName(name), device);
    }
};

VW_TEST_MAIN(TestPortSetting)
#include "tst_portsetting.moc"
