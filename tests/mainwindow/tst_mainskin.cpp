#include "consoletest.h"

// A skin switch and its way back must leave every widget as the console
// started, whichever skin it started in.
class TestMainSkin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { (new AppInit(this))->start(); }

    void switchAndBackGivesTheStartPalettes_data()
    {
        QTest::addColumn<int>("startSkin");
        QTest::addColumn<QList<int>>("menuEntries");
        QTest::newRow("started blue, then black and blue") << 0 << QList<int>{1, 0};
        QTest::newRow("started black, then blue and black") << 1 << QList<int>{0, 1};
    }

    void switchAndBackGivesTheStartPalettes()
    {
        QFETCH(int, startSkin);
        QFETCH(QList<int>, menuEntries);
        ConfigFile::open()->setValue(QStringLiteral("MainSetting/Skin"), startSkin);
        auto *window = new Velmar_Windows;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QList<QWidget *> widgets = QApplication::allWidgets();
        QList<QPalette> startPalettes;
        for (QWidget *widget : widgets)
            startPalettes.append(widget->palette());
        const QString startSheet = qApp->styleSheet();

        for (int entry : menuEntries)
            window->findChild<QToolButton *>(QStringLiteral("skin_btn"))->menu()->actions().at(entry)->trigger();

        QCOMPARE(qApp->styleSheet(), startSheet);
        QVERIFY(widgets.size() > 100);
        for (int i = 0; i < widgets.size(); ++i)
            QVERIFY2(widgets.at(i)->palette() == startPalettes.at(i),
                     qPrintable(QLatin1String(widgets.at(i)->metaObject()->className()) + QLatin1Char(' ')
                                + widgets.at(i)->objectName()));
        WindowTest::endTest(window);
        GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/blue.css"));
    }
};

VW_TEST_MAIN(TestMainSkin)
#include "tst_mainskin.moc"
