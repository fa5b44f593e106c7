#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include "appinit.h"
#include "consoletest.h"
#include "testmain.h"
#include "ui_velmar_windows.h"
#include "velmar_windows.h"

using namespace ConsoleTest;

// What a login unlocks and what a logout takes back, the permission shown in
// both languages, and the screen table's context menu that a mode-2 login
// changes.
class TestMainRights : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void login_data();
    void login();
    void loginsAddUp();
    void logout_data();
    void logout();
    void contextMenu_data();
    void contextMenu();
    void contextMenuFollowsLanguage();

private:
    void toChinese();
    // The unlocked items as text, so that a mismatch shows them all.
    QString rights() const;
    QStringList openMenu();

    Velmar_Windows *window = nullptr;
    Ui_Velmar_Windows *ui = nullptr;
};

void TestMainRights::initTestCase()
{
    new AppInit(this);
}

void TestMainRights::init()
{
    resetShared();
    window = new Velmar_Windows;
    ui = window->ui;
    window->updateTextEditContent(QStringLiteral("C611111001BB"), false, false);
}

void TestMainRights::cleanup()
{
    endTest(window);
    ui = nullptr;
}

void TestMainRights::toChinese()
{
    window->languageSwitch();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

QString TestMainRights::rights() const
{
    QStringList items;
    if (!ui->com_textedit->toPlainText().isEmpty())
        items << QStringLiteral("log");
    for (QWidget *button : std::initializer_list<QWidget *>{ui->mat_set_btn, ui->play_set_btn, ui->control_btn}) {
        if (button->isEnabled())
            items << button->objectName();
    }
    if (window->imageAdjustAction->isEnabled())
        items << QStringLiteral("image adjustment");
    items << QStringLiteral("page %1").arg(ui->stackedWidget->currentIndex());
    if (window->stitchingEnabled)
        items << QStringLiteral("stitching");
    return items.join(QLatin1Char(' '));
}

QStringList TestMainRights::openMenu()
{
    // The menu runs modally: read it from inside and close it.
    QStringList texts;
    QTimer::singleShot(0, window, [this, &texts] {
        for (QAction *action : window->tableMenu->actions())
            texts.append(action->text());
        window->tableMenu->close();
    });
    window->showTableWidgetMenu();
    return texts;
}

void TestMainRights::login_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("rights");

    const QString admin = QStringLiteral("管理员");
    const QString user = QStringLiteral("用户");
    QTest::newRow("mode 0 administrator") << false << 0 << admin << "Permission : Administrator"
                                          << "mat_set_btn image adjustment page 0";
    QTest::newRow("mode 1 administrator") << false << 1 << admin << "Permission : Administrator"
                                          << "mat_set_btn image adjustment page 1";
    QTest::newRow("mode 2 user") << false << 2 << user << "Permission : User" << "log page 0 stitching";
    QTest::newRow("mode 3 administrator")
        << false << 3 << admin << "Permission : Administrator"
        << "mat_set_btn play_set_btn control_btn image adjustment page 1";
    QTest::newRow("mode 7") << false << 7 << admin << "Permission : Administrator" << "log page 0";
    QTest::newRow("mode -1, empty type") << false << -1 << QString() << "Permission : Administrator" << "log page 0";
    QTest::newRow("mode 3, type of another case") << false << 3 << "USER" << "Permission : Administrator"
                                                  << "mat_set_btn play_set_btn control_btn image adjustment page 1";
    QTest::newRow("Chinese, mode 1 administrator") << true << 1 << admin << "操作权限 : 管理员"
                                                   << "mat_set_btn image adjustment page 1";
    QTest::newRow("Chinese, mode 2 user") << true << 2 << user << "操作权限 : 用户" << "log page 0 stitching";
    QTest::newRow("Chinese, type shown as received") << true << 7 << "Operator" << "操作权限 : Operator"
                                                     << "log page 0";
}

void TestMainRights::login()
{
    QFETCH(bool, chinese);
    QFETCH(int, mode);
    QFETCH(QString, type);
    QFETCH(QString, label);
    QFETCH(QString, rights);
    if (chinese)
        toChinese();
    QCOMPARE(this->rights(), QStringLiteral("log page 0"));

    window->userLoginChange(mode, type);

    QCOMPARE(ui->usertype_lb->text(), label);
    QCOMPARE(this->rights(), rights);
    // The word survives a re-texting in the same language.
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(window, &change);
    QCOMPARE(ui->usertype_lb->text(), label);
}

void TestMainRights::loginsAddUp()
{
    window->userLoginChange(3, QStringLiteral("管理员"));
    window->updateTextEditContent(QStringLiteral("C611111001BB"), false, false);
    window->userLoginChange(2, QStringLiteral("用户"));
    // A second login takes nothing away and leaves the log alone.
    QCOMPARE(rights(), QStringLiteral("log mat_set_btn play_set_btn control_btn image adjustment page 1 stitching"));
    QCOMPARE(ui->usertype_lb->text(), QStringLiteral("Permission : User"));
    window->userLoginChange(0, QStringLiteral("管理员"));
    QCOMPARE(rights(), QStringLiteral("mat_set_btn play_set_btn control_btn image adjustment page 1 stitching"));
}

void TestMainRights::logout_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("rights");
    QTest::newRow("after mode 3") << false << 3 << "Permission : User" << "page 0";
    QTest::newRow("after mode 2, stitching stays") << false << 2 << "Permission : User" << "log page 0 stitching";
    QTest::newRow("Chinese, after mode 1") << true << 1 << "操作权限 : 用户" << "page 0";
}

void TestMainRights::logout()
{
    QFETCH(bool, chinese);
    QFETCH(int, mode);
    QFETCH(QString, label);
    QFETCH(QString, rights);
    if (chinese)
        toChinese();
    window->userLoginChange(mode, mode == 2 ? QStringLiteral("用户") : QStringLiteral("管理员"));

    window->userLogoutChange();

    QCOMPARE(ui->usertype_lb->text(), label);
    QCOMPARE(this->rights(), rights);
    QCOMPARE(permissionText, chinese ? QStringLiteral("用户") : QStringLiteral("User"));
    // Logout keeps what was logged since the login.
    window->updateTextEditContent(QStringLiteral("C611111001BB"), false, false);
    window->userLogoutChange();
    QVERIFY(!ui->com_textedit->toPlainText().isEmpty());
}

void TestMainRights::contextMenu_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("logout");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("imageAdjustment");

    const QStringList head{"Still",      "Image adjustment",   "Local save", "Border effect", "Signal pattern",
                           "Special regulation", "Aging Mode", "Flip model"};
    QTest::newRow("nobody logged in") << -2 << false << head + QStringList{"Update"} << false;
    QTest::newRow("administrator") << 3 << false << head + QStringList{"Update"} << true;
    QTest::newRow("mode 2: stitching instead of update") << 2 << false << head + QStringList{"Stitching mode"}
                                                         << false;
    QTest::newRow("mode 2, logged out again") << 2 << true << head + QStringList{"Stitching mode"} << false;
}

void TestMainRights::contextMenu()
{
    QFETCH(int, mode);
    QFETCH(bool, logout);
    QFETCH(QStringList, entries);
    QFETCH(bool, imageAdjustment);
    // A first opening before the login: later openings must not keep its order.
    QCOMPARE(openMenu().last(), QStringLiteral("Update"));
    if (mode != -2)
        window->userLoginChange(mode, QStringLiteral("管理员"));
    if (logout)
        window->userLogoutChange();

    QCOMPARE(openMenu(), entries);
    QCOMPARE(openMenu(), entries);
    QCOMPARE(window->imageAdjustAction->isEnabled(), imageAdjustment);
    QVERIFY(!window->tableMenu->isVisible());
}

void TestMainRights::contextMenuFollowsLanguage()
{
    QCOMPARE(openMenu().first(), QStringLiteral("Still"));
    toChinese();
    const QStringList entries = openMenu();
    QCOMPARE(entries.first(), QStringLiteral("静止"));
    QCOMPARE(entries.last(), QStringLiteral("程序升级"));
    window->userLoginChange(2, QStringLiteral("用户"));
    QCOMPARE(openMenu().last(), QStringLiteral("拼接模式"));
}

VW_TEST_MAIN(TestMainRights)
#include "tst_mainrights.moc"
