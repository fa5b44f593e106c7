#include <QSignalSpy>

#include "accountstest.h"
#include "testmain.h"

using namespace AccountsTestData;

// The user database file: its defaults, what it keeps, what it refuses to
// touch, and where it lies.
class TestUserDatabase : public QObject, public AccountsTest
{
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void defaultsOnFirstStart();
    void secondStartKeepsAccounts();
    void defaultsAllOrNothing();
    void storedRows_data();
    void storedRows();
    void unreadableFile_data();
    void unreadableFile();
    void changedWorkingDirectory();
};

void TestUserDatabase::defaultsOnFirstStart()
{
    QCOMPARE(rows(file(), "select * from usertype"), QStringList({"1 用户", "2 管理员"}));
    QCOMPARE(rows(file(), "select * from userinfo"),
             QStringList({"1 2 0 admin 2906", "2 2 1 admin 86413", "3 1 2 admin 904273", "4 2 3 admin 571836"}));
}

void TestUserDatabase::secondStartKeepsAccounts()
{
    QCOMPARE(change("2906", "0042", "0042"), QStringLiteral("Prompt: Successfully modified!"));
    stop(true);
    start(QByteArray(), true);
    QCOMPARE(rows(file(), "select u_id, password from userinfo"),
             QStringList({"1 0042", "2 86413", "3 904273", "4 571836"}));
    QCOMPARE(rows(file(), "select count(*) from usertype"), QStringList{"2"});
}

void TestUserDatabase::defaultsAllOrNothing()
{
    // A role table without the administrator role: the accounts that need it
    // cannot go in, so their table is not left behind half filled.
    stop();
    start(madeBy({"create table usertype(t_id integer primary key autoincrement, type varchar(10))",
                  "insert into usertype values(1, '用户')"}));
    QCOMPARE(rows(file(), "select count(*) from sqlite_master where name = 'userinfo'"), QStringList{"0"});

    rows(file(), "insert into usertype values(2, '管理员')");
    stop(true);
    start(QByteArray(), true);
    QCOMPARE(rows(file(), "select count(*) from userinfo"), QStringList{"4"});
}

void TestUserDatabase::storedRows_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("mode");
    QTest::newRow("a mode that is no number grants nothing") << "update userinfo set mode = 'abc' where u_id = 1"
                                                             << "2906" << -1;
    QTest::newRow("the first account wins a shared password") << "update userinfo set password = '2906' where u_id = 4"
                                                              << "2906" << 0;
}

void TestUserDatabase::storedRows()
{
    QFETCH(QString, statement);
    QFETCH(QString, password);
    QFETCH(int, mode);
    rows(file(), statement);
    QSignalSpy logins(window, &LoginWindows::userLogin);
    tryLogin(password);
    QCOMPARE(logins.count(), 1);
    QCOMPARE(logins.first().at(0).toInt(), mode);
}

void TestUserDatabase::unreadableFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("not a database") << QByteArray("no SQLite file, only some text\n").repeated(20);
    QTest::newRow("tables of another shape")
        << madeBy({"create table usertype(name text)", "create table userinfo(name text, secret text)"});
}

void TestUserDatabase::unreadableFile()
{
    QFETCH(QByteArray, bytes);
    stop();
    start(bytes);
    QSignalSpy logins(window, &LoginWindows::userLogin);

    tryLogin("2906");
    QCOMPARE(catcher.lastText(), unreadable);
    QCOMPARE(change("2906", "7", "7"), "Prompt: " + unreadable);

    QVERIFY(logins.isEmpty());
    QFile kept(file());
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), bytes);
}

void TestUserDatabase::changedWorkingDirectory()
{
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    QSignalSpy logins(window, &LoginWindows::userLogin);
    tryLogin("571836");
    QCOMPARE(logins.count(), 1);
    QVERIFY(!QFile::exists(elsewhere.filePath(QStringLiteral("database.db"))));
}

VW_TEST_MAIN(TestUserDatabase)
#include "tst_userdatabase.moc"
