#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "appinit.h"
#include "globalobject.h"
#include "messagebox.h"
#include "testmain.h"

namespace {

// Counts the mouse events that reach the widget after the application-wide
// filter: an event the drag filter consumed never gets here.
class Reached : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
            || event->type() == QEvent::MouseMove)
            ++count;
        return false;
    }
};

void sendMouse(QWidget *w, QEvent::Type type, QPoint global, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    const QPointF local = global - w->pos();
    QMouseEvent event(type, local, local, global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

class TestWindowKit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void leftDragMovesTheWindowAndIsConsumed();
    void rightPressStartsNoDrag();
    void moveWithoutHeldButtonDoesNotMove();
    void releaseIsConsumedWithoutDrag();
    void windowWithoutCanMoveNeverMoves_data();
    void windowWithoutCanMoveNeverMoves();
    void buttonIconNames_data();
    void buttonIconNames();
    void messageBoxIsFramelessCentredAndMovable();
    void ctrlSClosesTheMessageBox();

private:
    QWidget *window = nullptr;
    Reached *reached = nullptr;
};

void TestWindowKit::initTestCase()
{
    new AppInit(this);
}

void TestWindowKit::init()
{
    window = new QWidget;
    window->resize(200, 100);
    window->move(100, 100);
    window->setProperty("CanMove", true);
    window->show();
    reached = new Reached;
    window->installEventFilter(reached);
}

void TestWindowKit::cleanup()
{
    // End any drag a test left behind.
    sendMouse(window, QEvent::MouseButtonRelease, QPoint(0, 0), Qt::LeftButton, Qt::NoButton);
    delete window;
    delete reached;
}

void TestWindowKit::leftDragMovesTheWindowAndIsConsumed()
{
    sendMouse(window, QEvent::MouseButtonPress, QPoint(110, 120), Qt::LeftButton, Qt::LeftButton);
    sendMouse(window, QEvent::MouseMove, QPoint(120, 125), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(window->pos(), QPoint(110, 105));
    sendMouse(window, QEvent::MouseMove, QPoint(150, 145), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(window->pos(), QPoint(140, 125));
    sendMouse(window, QEvent::MouseButtonRelease, QPoint(150, 145), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(reached->count, 0);
    // After the release further moves do nothing.
    sendMouse(window, QEvent::MouseMove, QPoint(300, 300), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(window->pos(), QPoint(140, 125));
}

void TestWindowKit::rightPressStartsNoDrag()
{
    sendMouse(window, QEvent::MouseButtonPress, QPoint(110, 120), Qt::RightButton, Qt::RightButton);
    QCOMPARE(reached->count, 1);
    sendMouse(window, QEvent::MouseMove, QPoint(140, 150), Qt::NoButton, Qt::RightButton);
    QCOMPARE(window->pos(), QPoint(100, 100));
    QCOMPARE(reached->count, 2);
}

void TestWindowKit::moveWithoutHeldButtonDoesNotMove()
{
    // Without tracking Qt drops button-less moves before any filter sees them.
    window->setMouseTracking(true);
    sendMouse(window, QEvent::MouseButtonPress, QPoint(110, 120), Qt::LeftButton, Qt::LeftButton);
    // The release was lost: the flag is still set but no button is held.
    sendMouse(window, QEvent::MouseMove, QPoint(140, 150), Qt::NoButton, Qt::NoButton);
    QCOMPARE(window->pos(), QPoint(100, 100));
    QCOMPARE(reached->count, 1);
}

void TestWindowKit::releaseIsConsumedWithoutDrag()
{
    sendMouse(window, QEvent::MouseButtonRelease, QPoint(110, 120), Qt::RightButton, Qt::NoButton);
    QCOMPARE(reached->count, 0);
}

void TestWindowKit::windowWithoutCanMoveNeverMoves_data()
{
    QTest::addColumn<QVariant>("canMove");
    QTest::newRow("no property") << QVariant();
    QTest::newRow("CanMove false") << QVariant(false);
}

void TestWindowKit::windowWithoutCanMoveNeverMoves()
{
    QFETCH(QVariant, canMove);
    window->setProperty("CanMove", canMove);
    sendMouse(window, QEvent::MouseButtonPress, QPoint(110, 120), Qt::LeftButton, Qt::LeftButton);
    sendMouse(window, QEvent::MouseMove, QPoint(150, 150), Qt::NoButton, Qt::LeftButton);
    sendMouse(window, QEvent::MouseButtonRelease, QPoint(150, 150), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(window->pos(), QPoint(100, 100));
    QCOMPARE(reached->count, 3);
}

void TestWindowKit::buttonIconNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("hasIcon");
    QTest::newRow("min") << "min" << true;
    QTest::newRow("max") << "max" << true;
    QTest::newRow("normal") << "normal" << true;
    QTest::newRow("close") << "close" << true;
    QTest::newRow("capitalised Close") << "Close" << false;
    QTest::newRow("empty name") << "" << false;
}

void TestWindowKit::buttonIconNames()
{
    QFETCH(QString, name);
    QFETCH(bool, hasIcon);
    QPushButton button;
    GlobalObject::setButtonIcon(&button, QStringLiteral("close"));
    GlobalObject::setButtonIcon(&button, name);
    QCOMPARE(!button.icon().isNull(), hasIcon);
}

void TestWindowKit::messageBoxIsFramelessCentredAndMovable()
{
    MessageBox box;
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    QCOMPARE(box.size(), QSize(261, 129));
    QCOMPARE(box.pos(), QPoint(desktop.width() / 2 - 130, desktop.height() / 2 - 64));
    QVERIFY(box.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(box.property("CanMove").toBool());
    QVERIFY(box.testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(!box.findChild<QPushButton *>(QStringLiteral("close_pbtn"))->icon().isNull());
    box.setMessage(QStringLiteral("Prompt"), QStringLiteral("Link failed"));
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("label_title"))->text(), QStringLiteral("Prompt"));
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("text_lb"))->text(), QStringLiteral("Link failed"));
}

void TestWindowKit::ctrlSClosesTheMessageBox()
{
    MessageBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QTest::keyClick(&box, Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(!box.isVisible());

    MessageBox other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QTest::mouseClick(other.findChild<QPushButton *>(QStringLiteral("close_pbtn")), Qt::LeftButton);
    QTRY_VERIFY(!other.isVisible());
}

VW_TEST_MAIN(TestWindowKit)
#include "tst_windowkit.moc"
