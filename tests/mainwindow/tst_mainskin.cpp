#include "consoletest.h"
#include "rollcaptionwindows.h"

// A skin switch and its way back must leave every widget as the console
// started, whichever skin it started in. Every sheet must parse on the way:
// Qt drops the rest of a sheet after a syntax error and only warns.
class TestMainSkin : public ConsoleTest
{
    Q_OBJECT

private slots:
    // config.ini in the test's own folder, not beside the build.
    void initTestCase() { (new AppInit(this))->start(), appDirPath = QDir::currentPath(); }

    void switchAndBackGivesTheStartPalettes_data() { goldenRows(QStringLiteral("skinswitch.tsv")); }

    void switchAndBackGivesTheStartPalettes()
    {
        const int startSkin = golden("start").toInt();
        saveConfigValue(QStringLiteral("MainSetting/Skin"), startSkin);
        build();
        RollCaptionWindows caption; // its hover tint is a sheet of its own
        caption.setTransparent();
        QApplication::postEvent(caption.findChild<QWidget *>(QStringLiteral("font_widget")), new QEvent(QEvent::Enter));
        static QString warnings;
        const auto previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) { warnings += text; });
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QList<QWidget *> widgets = QApplication::allWidgets();
        QList<QPalette> startPalettes;
        for (QWidget *widget : widgets)
            startPalettes.append(widget->palette());
        const QString startSheet = qApp->styleSheet();

        for (const QString &entry : goldenList(golden("entries")))
            ui->skin_btn->menu()->actions().at(entry.toInt())->trigger();
        for (QWidget *widget : QApplication::allWidgets())
            widget->style()->polish(widget); // also those of windows never shown
        qInstallMessageHandler(previous);
        QVERIFY2(!warnings.contains(QLatin1String("Could not parse")) && !caption.styleSheet().isEmpty(), qPrintable(warnings));

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
