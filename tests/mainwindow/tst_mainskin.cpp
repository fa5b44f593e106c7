#include "consoletest.h"

// A skin switch and its way back must leave every widget as the console
// started, whichever skin it started in.
class TestMainSkin : public ConsoleTest
{
    Q_OBJECT

private slots:
    void initTestCase() { (new AppInit(this))->start(); }

    void switchAndBackGivesTheStartPalettes_data() { goldenRows(QStringLiteral("skinswitch.tsv")); }

    void switchAndBackGivesTheStartPalettes()
    {
        const int startSkin = golden("start").toInt();
        ConfigFile::open()->setValue(QStringLiteral("MainSetting/Skin"), startSkin);
        build();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QList<QWidget *> widgets = QApplication::allWidgets();
        QList<QPalette> startPalettes;
        for (QWidget *widget : widgets)
            startPalettes.append(widget->palette());
        const QString startSheet = qApp->styleSheet();

        for (const QString &entry : goldenList(golden("entries")))
            ui->skin_btn->menu()->actions().at(entry.toInt())->trigger();

        QCOMPARE(qApp->styleSheet(), startSheet);
        QVERIFY(widgets.size() > 100);
        for (int i = 0; i < widgets.size(); ++i)
            QVERIFY2(widgets.at(i)->palette() == startPalettes.at(i),
                     qPrintable(QLatin1String(widgets.at(i)->metaObject()->className()) + QLatin1Char(' ')
                                + widgets.at(i)->objectName()));
        GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/blue.css"));
    }
};

VW_TEST_MAIN(TestMainSkin)
#include "tst_mainskin.moc"
