#include <QDir>
#include <QFile>
#include <QTest>

#include "configfile.h"
#include "globalobject.h"
#include "testmain.h"

class TestSharedState : public QObject
{
    Q_OBJECT

private slots:
    void startsWithOneScreenAndOneOutput();
    void knownNamesGiveTheirCodes_data();
    void knownNamesGiveTheirCodes();
    void unknownNameReadsEmptyAndGrowsTheTableOnce();
    void linkFlagsStartClosed();
    void fileExistsOnlyForRegularFiles();
    void configGroupIsSeenOnlyWhenTheFileHoldsIt();
};

void TestSharedState::startsWithOneScreenAndOneOutput()
{
    QVERIFY(GlobalObject::instructionHashReady);
    QCOMPARE(GlobalObject::targetAddressList, QList<QString>{QStringLiteral("11")});
    QCOMPARE(GlobalObject::matrixOutList, QList<int>{1});
    QCOMPARE(GlobalObject::instructionHash.size(), 140);
}

void TestSharedState::knownNamesGiveTheirCodes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    QTest::newRow("first instruction") << "on_off" << "10";
    QTest::newRow("mixed-case instruction") << "chan_Selec" << "20";
    QTest::newRow("shares 20 with chan_Selec") << "boot_play_mode" << "20";
    QTest::newRow("shares 10 with on_off") << "vvolup" << "10";
    QTest::newRow("volume down") << "vvoldown" << "11";
    QTest::newRow("capitalised instruction") << "Different_adjust" << "F3";
    QTest::newRow("single letter") << "R" << "6B";
    QTest::newRow("last instruction") << "B" << "6D";
    QTest::newRow("first parameter") << "pow_on" << "01";
    QTest::newRow("zero code") << "pow_off" << "00";
    QTest::newRow("hex letter parameter") << "vpaly" << "0A";
    QTest::newRow("last parameter") << "4k" << "01";
    QTest::newRow("signal name") << "video2" << "06";
    QTest::newRow("misspelt remote key kept") << "vrigth" << "04";
}

void TestSharedState::knownNamesGiveTheirCodes()
{
    QFETCH(QString, name);
    QFETCH(QString, code);
    QCOMPARE(GlobalObject::instructionHash[name], code);
}

void TestSharedState::unknownNameReadsEmptyAndGrowsTheTableOnce()
{
    const int before = GlobalObject::instructionHash.size();
    QCOMPARE(GlobalObject::instructionHash[QStringLiteral("On_off")], QString());
    QCOMPARE(GlobalObject::instructionHash.size(), before + 1);
    QCOMPARE(GlobalObject::instructionHash[QStringLiteral("On_off")], QString());
    QCOMPARE(GlobalObject::instructionHash.size(), before + 1);
    // The real name is untouched by the look-up of its near miss.
    QCOMPARE(GlobalObject::instructionHash[QStringLiteral("on_off")], QStringLiteral("10"));
}

void TestSharedState::linkFlagsStartClosed()
{
    QVERIFY(!GlobalObject::linkOpen);
    QVERIFY(!GlobalObject::wirelessMode);
    QVERIFY(!GlobalObject::videoMatrixPortOpen);
    QVERIFY(!GlobalObject::rgbMatrixPortOpen);
    QCOMPARE(userImagePath, QStringLiteral(":/images/staticfile/images/logo.jpg"));
    QCOMPARE(userName, QStringLiteral("Large-screen software"));
    QCOMPARE(permissionText, QStringLiteral("User"));
    QCOMPARE(portStatusText, QStringLiteral("Closed"));
    QCOMPARE(appFontFamily, QStringLiteral("Microsoft YaHei"));
    QCOMPARE(appFontSize, 9);
}

void TestSharedState::fileExistsOnlyForRegularFiles()
{
    QVERIFY(!fileExists(appDirPath));
    QVERIFY(!fileExists(appDirPath + QStringLiteral("/config.ini")));
    QFile file(appDirPath + QStringLiteral("/config.ini"));
    QVERIFY(file.open(QFile::WriteOnly));
    file.close();
    QVERIFY(fileExists(appDirPath + QStringLiteral("/config.ini")));
    QVERIFY(QDir(appDirPath).mkdir(QStringLiteral("sub.ini")));
    QVERIFY(!fileExists(appDirPath + QStringLiteral("/sub.ini")));
    QFile::remove(appDirPath + QStringLiteral("/config.ini"));
}

void TestSharedState::configGroupIsSeenOnlyWhenTheFileHoldsIt()
{
    QVERIFY(!ConfigFile::hasGroup(QStringLiteral("MainSetting")));
    {
        auto settings = ConfigFile::open();
        settings->beginGroup(QStringLiteral("PortConfig"));
        settings->setValue(QStringLiteral("Wireless"), 1);
        settings->endGroup();
    }
    QVERIFY(QFile::exists(appDirPath + QStringLiteral("/config.ini")));
    QVERIFY(ConfigFile::hasGroup(QStringLiteral("PortConfig")));
    QVERIFY(!ConfigFile::hasGroup(QStringLiteral("MainSetting")));
    QFile::remove(appDirPath + QStringLiteral("/config.ini"));
}

VW_TEST_MAIN(TestSharedState)
#include "tst_sharedstate.moc"
