#include <QtTest>
#include <QtWidgets>

#include "desktopsession.h"
#include "shownplaces.h"

#include <QX11Info>

#include <xcb/xcb.h>

// Where X shows a window, asked of X on a server of the test's own with no
// window manager (so nothing moves a window but the test): a window has a
// place on the screen only while X draws it there. The windows belong to
// another client, as the frames a window manager puts the console's windows
// in do.
class TestShownPlaces : public QObject
{
    Q_OBJECT

    const QString display;

public:
    explicit TestShownPlaces(const QString &display)
        : display(display)
    {
    }

private slots:
    void shownOnlyWhileDrawn_data()
    {
        QTest::addColumn<bool>("parentMapped");
        QTest::addColumn<bool>("shown");
        QTest::newRow("mapped in a mapped parent: shown where X draws it") << true << true;
        QTest::newRow("mapped in an unmapped parent: drawn nowhere") << false << false;
    }
    void shownOnlyWhileDrawn()
    {
        QFETCH(bool, parentMapped);
        xcb_connection_t *other = xcb_connect(display.toLatin1().constData(), nullptr);
        const auto disconnect = qScopeGuard([other] { xcb_disconnect(other); });
        QVERIFY(!xcb_connection_has_error(other));
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
        const xcb_window_t parent = xcb_generate_id(other), window = xcb_generate_id(other);
        xcb_create_window(other, XCB_COPY_FROM_PARENT, parent, root, 40, 30, 200, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_create_window(other, XCB_COPY_FROM_PARENT, window, parent, 12, 7, 50, 20, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_map_window(other, window);
        if (parentMapped)
            xcb_map_window(other, parent);
        // A round trip: the windows are there, mapped or not, on return.
        std::free(xcb_get_input_focus_reply(other, xcb_get_input_focus(other), nullptr));
        const std::optional<QPoint> place = ShownPlaces::shownPlace(WId(window));
        QTEST(place.has_value(), "shown");
        if (place)
            QCOMPARE(*place, QPoint(52, 37));
    }

    // A console window that no event has placed is asked of X once; after
    // that its place comes from what X already said, with no question to X
    // (each question waits for X's answer).
    void placeAskedOnce()
    {
        QWidget window;
        window.setGeometry(70, 60, 120, 80);
        ShownPlaces::follow(window.winId());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        xcb_connection_t *const own = QX11Info::connection();
        // The sequence number of a request: one more than the request before it.
        const auto nextRequest = [own] {
            const xcb_get_input_focus_cookie_t cookie = xcb_get_input_focus(own);
            std::free(xcb_get_input_focus_reply(own, cookie, nullptr));
            return cookie.sequence;
        };
        QCOMPARE(ShownPlaces::shownPlace(window.winId()), std::optional<QPoint>(QPoint(70, 60)));
        const unsigned before = nextRequest();
        QCOMPARE(ShownPlaces::shownPlace(window.winId()), std::optional<QPoint>(QPoint(70, 60)));
        QCOMPARE(nextRequest() - before, 1u);
    }
};

int main(int argc, char *argv[])
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        qWarning("SKIP: Xvfb is missing (apt-get install xvfb)");
        return 77;
    }
    DesktopSession server;
    if (!server.startServer()) {
        qWarning("%s", qPrintable(server.error()));
        return 1;
    }
    qputenv("DISPLAY", server.display().toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestShownPlaces tc(server.display());
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_shownplaces.moc"
