#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include "appinit.h"
#include "configfile.h"
#include "globalobject.h"
#include "testmain.h"
#include "velmar_windows.h"

// A skin switch and its way back must leave every widget as the console
// started, whichever skin it started in.
class TestMainSkin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { (new AppInit(this))->start(); }
    void cleanup();
    void switchAndBackGivesTheStartPalettes_data();
    void switchAndBackGivesTheStartPalettes();

private:
    Velmar_Windows *window = nullptr;
};

void TestMainSkin::cleanup()
{
    delete window;
    window = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        widget->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QFile::remove(ConfigFile::path());
    GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/blue.css"));
}

void TestMainSkin::switchAndBackGivesTheStartPalettes_data()
{
    QTest::addColumn<int>("startSkin");
    QTest::addColumn<QList<int>>("menuEntries");
    QTest::newRow("started blue, then black and blue") << 0 << QList<int>{1, 0};
    QTest::newRow("started black, then blue and black") << 1 << QList<int>{0, 1};
    QTest::newRow("started blue, black, blue, black and blue") << 0 << QList<int>{1, 0, 1, 0};
}

void TestMainSkin::switchAndBackGivesTheStartPalettes()
{
    QFETCH(int, startSkin);
    QFETCH(QList<int>, menuEntries);
    ConfigFile::open()->setValue(QStringLiteral("MainSetting/Skin"), startSkin);
    window = new Velmar_Windows;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QList<QWidget *> widgets = QApplication::allWidgets();
    QList<QPalette> startPalettes;
    for (QWidget *widget : widgets)
        startPalettes.append(widget->palette());
    const QString startSheet = qApp->styleSheet();

    const QList<QAction *> skins = window->findChild<QToolButton *>(QStringLiteral("skin_btn"))->menu()->actions();
    for (int entry : menuEntries)
        skins.at(entry)->trigger();

    QCOMPARE(qApp->styleSheet(), startSheet);
    QVERIFY(widgets.size() > 100);
    for (int i = 0; i < widgets.size(); ++i)
        QVERIFY2(widgets.at(i)->palette() == startPalettes.at(i),
                 qPrintable(QLatin1String(widgets.at(i)->metaObject()->className()) + QLatin1Char(' ')
                            + widgets.at(i)->objectName()));
}

VW_TEST_MAIN(TestMainSkin)
#include "tst_mainskin.moc"
