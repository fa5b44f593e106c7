#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>

#include <sys/stat.h>

#include "consoletest.h"
#include "messageboxcatcher.h"
#include "portsettingwindows.h"
#include "tcpcaptureserver.h"
#include "testmain.h"
#include "ui_velmar_windows.h"
#include "velmar_windows.h"

using namespace ConsoleTest;

// The console started on a config.ini written by a hostile hand, and number
// fields typed with digits of other scripts: what the windows then hold and
// show, and what they save again.
class TestHostileConfig : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { endTest(window); }
    void hostileValues_data();
    void hostileValues();
    void typedNumbers_data();
    void typedNumbers();

private:
    void build(QByteArray ini);
    QString shown(const QString &what) const;

    TcpCaptureServer bridge;
    QString startLogo;
    Velmar_Windows *window = nullptr;
};

void TestHostileConfig::initTestCase()
{
    QVERIFY(bridge.listen());
    startLogo = userImagePath;
}

// "%FIFO%" names a FIFO in the folder; an ini of "FIFO" makes config.ini one.
void TestHostileConfig::build(QByteArray ini)
{
    resetShared();
    userImagePath = startLogo;
    const QByteArray fifo = QDir::current().filePath(QStringLiteral("logo.fifo")).toUtf8();
    QFile::remove(QString::fromUtf8(fifo));
    QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
    if (ini == "FIFO") {
        QVERIFY(::mkfifo(QFile::encodeName(ConfigFile::path()).constData(), 0600) == 0);
    } else {
        QFile file(ConfigFile::path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini.replace("%FIFO%", fifo).replace("%PORT%", QByteArray::number(bridge.port())));
    }
    window = new Velmar_Windows;
}

QString TestHostileConfig::shown(const QString &what) const
{
    Ui_Velmar_Windows *ui = window->ui;
    if (what == QLatin1String("inputs"))
        return QString::number(ui->matrix_type_cb->count());
    if (what == QLatin1String("scenes"))
        return QString::number(ui->scene_cb->count());
    if (what == QLatin1String("ports"))
        return QString::number(window->portSetWindow->findChild<QComboBox *>(QStringLiteral("lcd_port_cb"))->count());
    if (what == QLatin1String("logo"))
        return ui->show_image->pixmap(Qt::ReturnByValue).isNull() ? "none" : "picture";
    if (what == QLatin1String("open")) {
        MessageBoxCatcher catcher;
        window->openSerial();
        return GlobalObject::linkOpen ? QStringLiteral("opened") : catcher.lastText();
    }
    // What a label shows, read as a screen reader reads it.
    QLabel *label = what == QLatin1String("user") ? ui->show_username : ui->show_comstatus;
    return QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
}

void TestHostileConfig::hostileValues_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("savedKey");
    QTest::addColumn<QString>("saved");
    QTest::newRow("video input count of 2^31-1") << QByteArray("[MatrixConfig]\nVideoInputNum=2147483647\n")
                                                  << "inputs" << "16" << "MatrixConfig/VideoInputNum" << "16";
    QTest::newRow("video input count of 40, as today") << QByteArray("[MatrixConfig]\nVideoInputNum=40\n")
                                                        << "inputs" << "40" << "MatrixConfig/VideoInputNum" << "40";
    QTest::newRow("input names claiming a million") << QByteArray("[MainSetting]\nVideoMatrixIn\\size=1000000\n")
                                                     << "inputs" << "255" << "MainSetting/VideoMatrixIn/size" << "255";
    QTest::newRow("scene list claiming 2^31-1") << QByteArray("[MainSetting]\nSceneList\\size=2147483647\n")
                                                 << "scenes" << "99" << "MainSetting/SceneList/size" << "99";
    QTest::newRow("three scenes, as today")
        << QByteArray("[MainSetting]\nSceneList\\1\\Scene=Dawn\nSceneList\\2\\Scene=Noon\nSceneList\\3\\Scene=Dusk\n"
                      "SceneList\\size=3\n")
        << "scenes" << "3" << "MainSetting/SceneList/3/Scene" << "Dusk";
    QTest::newRow("port list claiming a million") << QByteArray("[PortConfig]\nComList\\size=1000000\n") << "ports"
                                                  << "256" << "PortConfig/ComList/size" << "256";
    QTest::newRow("markup as user name") << QByteArray("[MainSetting]\nUsername=<img src=%FIFO%><b>Ann</b>\n")
                                         << "user" << "<img src=%FIFO%><b>Ann</b>" << "" << "";
    QTest::newRow("markup as port name")
        << QByteArray("[PortConfig]\nComList\\1\\Com=<i>COM1</i>\nComList\\size=1\n") << "link"
        << "<i>COM1</i> Closed" << "PortConfig/ComList/1/Com" << "<i>COM1</i>";
    QTest::newRow("logo is a FIFO") << QByteArray("[MainSetting]\nUserimage=%FIFO%\n") << "logo" << "none" << "" << "";
    QTest::newRow("no logo named, as today") << QByteArray("[PortConfig]\n") << "logo" << "picture" << "" << "";
    QTest::newRow("config.ini is a FIFO") << QByteArray("FIFO") << "scenes" << "16" << "" << "";
    QTest::newRow("incomplete bridge address")
        << QByteArray("[PortConfig]\nConMethod=1\nAddr=127.1\nPort=%PORT%\n") << "open"
        << "Please confirm that the IP address or port is correct!" << "" << "";
    QTest::newRow("whole bridge address, as today")
        << QByteArray("[PortConfig]\nConMethod=1\nAddr=127.0.0.1\nPort=%PORT%\n") << "open" << "opened" << "" << "";
}

void TestHostileConfig::hostileValues()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, what);
    QFETCH(QString, expected);
    QFETCH(QString, savedKey);
    QFETCH(QString, saved);
    build(ini);
    QCOMPARE(shown(what), expected.replace(QStringLiteral("%FIFO%"), QDir::current().filePath("logo.fifo")));

    // Closing the main window closes the open set-up windows: each saves.
    window->showPortSetWindow();
    window->showMatrixSetWindow();
    window->close();
    if (!savedKey.isEmpty())
        QCOMPARE(QSettings(ConfigFile::path(), QSettings::IniFormat).value(savedKey).toString(), saved);
}

void TestHostileConfig::typedNumbers_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("full-width digits, main address page") << "num_le1" << "3１２" << "3";
    QTest::newRow("Arabic-Indic digits, address set window") << "num_le" << "4٩٩" << "4";
    QTest::newRow("Arabic-Indic digits, matrix id") << "video_id" << "2٠١" << "2";
    QTest::newRow("full-width digits, matrix input count") << "vinputnum_le" << "7１２" << "7";
    QTest::newRow("full-width digits, bridge address") << "addrip_lb" << "7１２" << "7";
    QTest::newRow("full-width digits, bridge port") << "port_lb" << "8８０" << "8";
}

void TestHostileConfig::typedNumbers()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    build(QByteArray("[PortConfig]\nConMethod=1\n")); // the bridge fields are live
    QLineEdit *edit = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        edit = edit ? edit : top->findChild<QLineEdit *>(field);
    QVERIFY(edit && edit->isEnabled());
    edit->clear();
    // Character by character, as typed: each goes through the field's validator.
    for (const QChar c : typed)
        edit->insert(c);
    QCOMPARE(edit->text(), kept);
}

VW_TEST_MAIN(TestHostileConfig)
#include "tst_hostileconfig.moc"
