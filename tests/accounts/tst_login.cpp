#include <QSignalSpy>

#include "accountstest.h"
#include "testmain.h"

using namespace AccountsTestData;

// Logging in and out, and changing a password, through the two windows.
class TestLogin : public QObject, public AccountsTest
{
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void login_data();
    void login();
    void enterKeyLogsInThenOut();
    void changePassword_data();
    void changePassword();
    void otherModeWithTheUserPassword();
};

void TestLogin::login_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("signal"); // mode and role, or empty for none
    QTest::addColumn<QString>("buttons"); // login, logout, change password enabled
    QTest::addColumn<QString>("message");
    QTest::newRow("mode 0") << "2906" << "0 管理员" << "011" << "";
    QTest::newRow("mode 1") << "86413" << "1 管理员" << "011" << "";
    QTest::newRow("mode 2 keeps the buttons") << "904273" << "2 用户" << "100" << "";
    QTest::newRow("mode 3") << "571836" << "3 管理员" << "011" << "";
    QTest::newRow("empty") << "" << "" << "100" << wrongPassword;
    QTest::newRow("trailing blank") << "2906 " << "" << "100" << wrongPassword;
    QTest::newRow("injection") << "' or '1'='1" << "" << "100" << wrongPassword;
}

void TestLogin::login()
{
    QFETCH(QString, password);
    QFETCH(QString, signal);
    QFETCH(QString, buttons);
    QFETCH(QString, message);
    QSignalSpy logins(window, &LoginWindows::userLogin);
    window->showWindow();

    tryLogin(password);

    const QString got = logins.isEmpty() ? QString()
                                         : logins.first().at(0).toString() + ' ' + logins.first().at(1).toString();
    QCOMPARE(got, signal);
    QCOMPARE(catcher.lastText(), message);
    QCOMPARE(QString("%1%2%3").arg(ui->login_btn->isEnabled()).arg(ui->logout_btn->isEnabled())
                 .arg(ui->changepwd_btn->isEnabled()), buttons);
    // A refused password stays for correcting, in the open window.
    QCOMPARE(ui->password_ld->text(), signal.isEmpty() ? password : QString());
    QCOMPARE(window->isVisible(), signal.isEmpty());
}

void TestLogin::enterKeyLogsInThenOut()
{
    QSignalSpy logouts(window, &LoginWindows::userLogout);
    window->showWindow();
    QTest::keyClicks(ui->password_ld, "86413");
    QTest::keyClick(ui->password_ld, Qt::Key_Return);
    QVERIFY(!window->isVisible());
    window->showWindow();
    QTest::keyClick(ui->password_ld, Qt::Key_Enter);
    QCOMPARE(logouts.count(), 1);
    QVERIFY(window->isVisible() && ui->login_btn->isEnabled());
}

namespace {

QStringList debugLines;

} // namespace

void TestLogin::changePassword_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("passwords");
    const QString defaults = QStringLiteral("2906|86413|904273|571836");
    const QString done = QStringLiteral("Prompt: Successfully modified!");
    QTest::newRow("both new fields empty") << QStringList{"2906", "", ""}
                                           << "Prompt: Please confirm that the new password is not empty!" << defaults;
    QTest::newRow("confirmation empty") << QStringList{"2906", "7", ""} << "Prompt: The new password is incomplete!"
                                        << defaults;
    QTest::newRow("wrong old password")
        << QStringList{"2907", "7", "7"} << "Prompt: Please confirm that the original password is entered correctly!"
        << defaults;
    QTest::newRow("another account's password")
        << QStringList{"2906", "86413", "86413"}
        << "Prompt: The new password is already used by another account, please choose another one!" << defaults;
    QTest::newRow("same as the old one") << QStringList{"2906", "2906", "2906"} << done << defaults;
    QTest::newRow("leading zero") << QStringList{"2906", "0042", "0042"} << done << "0042|86413|904273|571836";
    const QString quoted = QStringLiteral("x' or 1=1; drop table userinfo; --");
    QTest::newRow("quotes and SQL words") << QStringList{"86413", quoted, quoted} << done
                                          << "2906|" + quoted + "|904273|571836";
}

void TestLogin::changePassword()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, message);
    QFETCH(QString, passwords);
    debugLines.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) { debugLines << text; });
    const QString shown = change(fields.at(0), fields.at(1), fields.at(2));
    qInstallMessageHandler(previous);

    QCOMPARE(shown, message);
    QCOMPARE(rows(file(), "select password from userinfo order by u_id").join('|'), passwords);
    for (const QString &line : qAsConst(debugLines))
        QVERIFY2(!line.contains(fields.at(0)) && (fields.at(1).isEmpty() || !line.contains(fields.at(1))),
                 qPrintable(line));
}

void TestLogin::otherModeWithTheUserPassword()
{
    QCOMPARE(change("904273", "1111", "1111"), QStringLiteral("Prompt: Successfully modified!"));
    QCOMPARE(change("2906", "904273", "904273"), QStringLiteral("Prompt: Successfully modified!"));
    QSignalSpy logins(window, &LoginWindows::userLogin);
    tryLogin("904273");
    QCOMPARE(logins.first().at(0).toInt(), 0);
    QVERIFY(!ui->login_btn->isEnabled() && ui->logout_btn->isEnabled());
}

VW_TEST_MAIN(TestLogin)
#include "tst_login.moc"
