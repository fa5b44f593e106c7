#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "appinit.h"
#include "configfile.h"
#include "globalobject.h"
#include "messagebox.h"
#include "testmain.h"

// The application frame: config.ini groups, skins, translations, the label
// picture and the drag filter of frameless windows.
class TestApp : public QObject
{
    Q_OBJECT

    QWidget *window = nullptr;
    int reached = 0; // mouse events that got past the drag filter

    QString writeFile(const QString &name, const QByteArray &content)
    {
        QFile file(appDirPath + QLatin1Char('/') + name);
        file.open(QFile::WriteOnly);
        file.write(content);
        return file.fileName();
    }
    void mouse(QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        const QPointF local = global - window->pos();
        QMouseEvent event(type, local, local, global, button, buttons, Qt::NoModifier);
        QApplication::sendEvent(window, &event);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        reached += event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
                   || event->type() == QEvent::MouseMove;
        return false;
    }

private slots:
    void initTestCase() { (new AppInit(this))->start(); }

    void configGroupAndRegularFiles()
    {
        QVERIFY(!ConfigFile::hasGroup(QStringLiteral("PortConfig")));
        ConfigFile::open()->setValue(QStringLiteral("PortConfig/ConMethod"), 1);
        QVERIFY(ConfigFile::hasGroup(QStringLiteral("PortConfig")));
        QVERIFY(!ConfigFile::hasGroup(QStringLiteral("MainSetting")));
        QVERIFY(fileExists(ConfigFile::path()));
        QVERIFY(!fileExists(appDirPath));
        QFile::remove(ConfigFile::path());
        // An unknown instruction name reads empty.
        QCOMPARE(GlobalObject::instructionHash[QStringLiteral("On_off")], QString());
        QCOMPARE(GlobalObject::instructionHash[QStringLiteral("on_off")], QStringLiteral("10"));
    }

    void skins()
    {
        const QString blue = QStringLiteral(":/qss/staticfile/qss/blue.css");
        const QString start = qApp->styleSheet();
        QVERIFY(start.startsWith(QStringLiteral("QPalette{background:#E3EFFF;}")));
        QCOMPARE(QApplication::font().family(), QStringLiteral("Microsoft YaHei"));
        // The palette comes from characters 20..26; the sheet ends at a zero byte.
        GlobalObject::setStyle(writeFile("zero.css", QByteArray("QPalette{background:#102030;}\0QWidget{}", 40)));
        QCOMPARE(QApplication::palette().color(QPalette::Button), QColor(QStringLiteral("#102030")));
        QCOMPARE(qApp->styleSheet(), QStringLiteral("QPalette{background:#102030;}"));
        GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/black.css"));
        QCOMPARE(QApplication::palette().color(QPalette::Button), QColor(QStringLiteral("#E6E6E6")));
        GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/missing.css"));
        QCOMPARE(QApplication::palette().color(QPalette::Button), QColor(QStringLiteral("#E6E6E6")));
        GlobalObject::setStyle(blue);
        QCOMPARE(qApp->styleSheet(), start);
    }

    void chineseLoadsAndGoes()
    {
        MessageBox box;
        QVERIFY(GlobalObject::loadChineseTranslators());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(box.findChild<QPushButton *>(QStringLiteral("ok"))->text(), QStringLiteral("确定"));
        QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "Select All"), QStringLiteral("全选"));
        for (QTranslator *t : {&GlobalObject::translatorApp, &GlobalObject::translatorQt, &GlobalObject::translatorWidgets})
            QCoreApplication::removeTranslator(t);
        QCOMPARE(QCoreApplication::translate("MessageBox", "OK"), QStringLiteral("OK"));
    }

    void labelPicture()
    {
        QImage image(100, 50, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(appDirPath + QStringLiteral("/logo.png")));
        QLabel label;
        label.resize(200, 200);
        GlobalObject::setLabelImage(&label, appDirPath + QStringLiteral("/logo.png"));
        QCOMPARE(label.pixmap(Qt::ReturnByValue).size(), QSize(200, 200));
        QLabel empty;
        GlobalObject::setLabelImage(&empty, appDirPath + QStringLiteral("/nothing.jpg"));
        QVERIFY(empty.pixmap(Qt::ReturnByValue).isNull());
    }

    void messageBoxIsCentredAndClosesOnCtrlS()
    {
        MessageBox box;
        const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
        QCOMPARE(box.pos(), QPoint(desktop.width() / 2 - box.width() / 2, desktop.height() / 2 - box.height() / 2));
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QTest::keyClick(&box, Qt::Key_S, Qt::ControlModifier);
        QTRY_VERIFY(!box.isVisible());
    }

    void init()
    {
        window = new QWidget;
        window->setGeometry(100, 100, 200, 100);
        window->setProperty("CanMove", true);
        window->installEventFilter(this);
        reached = 0;
    }
    void cleanup()
    {
        mouse(QEvent::MouseButtonRelease, QPoint(0, 0), Qt::LeftButton, Qt::NoButton);
        delete window;
    }

    void dragMovesWhileTheLeftButtonIsHeld()
    {
        window->setMouseTracking(true);
        mouse(QEvent::MouseButtonPress, QPoint(110, 120), Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, QPoint(150, 145), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(window->pos(), QPoint(140, 125));
        // The release was lost: no button held, no drag, and the move passes.
        mouse(QEvent::MouseMove, QPoint(300, 300), Qt::NoButton, Qt::NoButton);
        QCOMPARE(window->pos(), QPoint(140, 125));
        QCOMPARE(reached, 1);
        mouse(QEvent::MouseButtonRelease, QPoint(300, 300), Qt::LeftButton, Qt::NoButton);
        mouse(QEvent::MouseMove, QPoint(310, 310), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(window->pos(), QPoint(140, 125));
    }

    void noDragWithoutLeftButtonOrCanMove_data()
    {
        QTest::addColumn<QVariant>("canMove");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("reached");
        QTest::newRow("right button: the release alone is taken") << QVariant(true) << int(Qt::RightButton) << 2;
        QTest::newRow("CanMove false") << QVariant(false) << int(Qt::LeftButton) << 3;
    }
    void noDragWithoutLeftButtonOrCanMove()
    {
        QFETCH(QVariant, canMove);
        QFETCH(int, button);
        window->setProperty("CanMove", canMove);
        const auto b = Qt::MouseButton(button);
        mouse(QEvent::MouseButtonPress, QPoint(110, 120), b, b);
        mouse(QEvent::MouseMove, QPoint(150, 150), Qt::NoButton, b);
        mouse(QEvent::MouseButtonRelease, QPoint(150, 150), b, Qt::NoButton);
        QCOMPARE(window->pos(), QPoint(100, 100));
        QTEST(reached, "reached");
    }
};

VW_TEST_MAIN(TestApp)
#include "tst_app.moc"
