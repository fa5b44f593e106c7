#include <sys/stat.h>

#include <QtSql>

#include <sqlite3.h>

#include <ctime>
#include <optional>

#include "formfields.h"
#include "globalobject.h"
#include "goldenrows.h"
#include "loginwindows.h"
#include "messageboxcatcher.h"
#include "modifypwdwindows.h"
#include "sqlitebounds.h"
#include "testmain.h"
#include "userdatabase.h"
#include "ui_loginwindows.h"
#include "ui_modifypwdwindows.h"

namespace {

const QString unreadable = QStringLiteral("The user database cannot be read, please check the file database.db!");
const QString wrongPassword = QStringLiteral("The password is wrong, please confirm and re-enter!");
const QString done = QStringLiteral("Prompt: Successfully modified!");
QStringList debugLines;
// The console's two tables as another program may make them: same columns.
const QString types = QStringLiteral("create table usertype(t_id integer primary key, type text)");
const QString accounts =
    QStringLiteral("create table userinfo(u_id integer primary key, t_id int, mode int, username text, password text)");
// Another program's read of the file, held open (failedFirstStart).
QSqlDatabase *reader = nullptr;

// The rows a query gives on a file, fields joined by blanks, read through a
// connection of the test's own.
QStringList rows(const QString &file, const QString &sql)
{
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(file);
        db.open();
        QSqlQuery query(sql, db);
        while (query.next()) {
            QStringList fields;
            for (int i = 0; i < query.record().count(); ++i)
                fields.append(query.value(i).toString());
            out.append(fields.join(QLatin1Char(' ')));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return out;
}

// The bytes of a database file that the statements make, one after the
// other on one connection (a pragma holds for those after it).
QByteArray madeBy(const QStringList &statements)
{
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("made.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
        db.setDatabaseName(path);
        db.open();
        for (const QString &statement : statements)
            QSqlQuery(statement, db);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("maker"));
    QFile made(path);
    return made.open(QIODevice::ReadOnly) ? made.readAll() : QByteArray();
}

// The length of a value of 1.2 MB made on the connection, or minus SQLite's
// result code when the statement is refused.
int madeLength(sqlite3 *connection)
{
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(connection, "select length(hex(zeroblob(600000)))", -1, &statement, nullptr);
    const int result = sqlite3_step(statement);
    const int length = result == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -result;
    sqlite3_finalize(statement);
    return length;
}

} // namespace

Q_DECLARE_OPAQUE_POINTER(sqlite3 *)
Q_DECLARE_METATYPE(sqlite3 *)

// The results of the driver below: every statement on it fails.
class NoResult : public QSqlResult
{
public:
    explicit NoResult(const QSqlDriver *driver) : QSqlResult(driver) {}

protected:
    QVariant data(int) override { return {}; }
    bool isNull(int) override { return true; }
    bool reset(const QString &) override { return false; }
    bool fetch(int) override { return false; }
    bool fetchFirst() override { return false; }
    bool fetchLast() override { return false; }
    int size() override { return -1; }
    int numRowsAffected() override { return 0; }
};

// A SQLite driver whose class is compiled into the program itself, as in a
// Qt built statically with a SQLite of its own; here it hands out a handle
// of the linked SQLite, so that what the console sets on it can be seen.
class BuiltInDriver : public QSqlDriver
{
    Q_OBJECT

public:
    explicit BuiltInDriver(sqlite3 *connection)
        : connection(connection)
    {
    }
    bool hasFeature(DriverFeature) const override { return false; }
    bool open(const QString &, const QString &, const QString &, const QString &, int, const QString &) override
    {
        setOpen(true);
        return true;
    }
    void close() override { setOpen(false); }
    QSqlResult *createResult() const override { return new NoResult(this); }
    QVariant handle() const override { return QVariant::fromValue(connection); }

private:
    sqlite3 *connection;
};

// The user database file and the login and password windows on it, each
// test on a start of the console's login window in a folder of its own.
class AccountsTest : public QObject
{
    Q_OBJECT

    void start(const QByteArray &fileBytes = QByteArray())
    {
        QFile out(file());
        if (!fileBytes.isEmpty())
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(fileBytes) == fileBytes.size());
        out.close();
        window = new LoginWindows;
        ui = window->ui.get();
        catcher.clear();
    }
    // The next start registers the connection anew, on the file then there.
    void stop()
    {
        delete window->modifyPwdWindow;
        delete window;
        QSqlDatabase::removeDatabase(QStringLiteral("my_sqlite"));
    }
    QString file() const { return appDirPath + QStringLiteral("/database.db"); }
    QByteArray onDisk() const
    {
        QFile kept(file());
        return kept.open(QIODevice::ReadOnly) ? kept.readAll() : QByteArray();
    }
    QString change(const QString &oldPassword, const QString &newPassword, const QString &confirmation)
    {
        enter(window->modifyPwdWindow, {"opwd_le=" + oldPassword, "npwd_le=" + newPassword, "npwd2_le=" + confirmation});
        catcher.clear();
        window->modifyPwdWindow->ui->modify_btn->click();
        return catcher.lastTitle() + QStringLiteral(": ") + catcher.lastText();
    }
    // The mode and role the login signal carried, empty for no signal.
    QString login(const QString &password)
    {
        QSignalSpy logins(window, &LoginWindows::userLogin);
        ui->password_ld->setText(password);
        ui->login_btn->click();
        return logins.isEmpty() ? QString() : logins[0][0].toString() + ' ' + logins[0][1].toString();
    }

    std::optional<TempFolder> folder; // the working and application folder of one test
    LoginWindows *window = nullptr;
    Ui::LoginWindows *ui = nullptr;
    MessageBoxCatcher catcher;

private slots:
    void init()
    {
        folder.emplace();
        start();
    }
    void cleanup()
    {
        stop();
        SqliteBounds::setTimeBound(SqliteBounds::defaultTimeBound);
    }

    void defaultsAndSecondStart()
    {
        QCOMPARE(rows(file(), "select * from usertype"), QStringList({"1 用户", "2 管理员"}));
        QCOMPARE(rows(file(), "select * from userinfo"),
                 QStringList({"1 2 0 admin 2906", "2 2 1 admin 86413", "3 1 2 admin 904273", "4 2 3 admin 571836"}));
        QCOMPARE(change("2906", "0042", "0042"), done);
        stop();
        start();
        QCOMPARE(rows(file(), "select u_id, password from userinfo"),
                 QStringList({"1 0042", "2 86413", "3 904273", "4 571836"}));
        QCOMPARE(rows(file(), "select count(*) from usertype"), QStringList{"2"});
    }

    void defaultsAllOrNothing()
    {
        // A role table without the administrator role: the accounts that need
        // it cannot go in, so their table is not left behind half filled,
        // and the debug output says why.
        stop();
        QTest::ignoreMessage(QtDebugMsg, "插入数据:FOREIGN KEY constraint failed Unable to fetch row");
        start(madeBy({"create table usertype(t_id integer primary key autoincrement, type varchar(10))",
                      "insert into usertype values(1, '用户')"}));
        QCOMPARE(rows(file(), "select count(*) from sqlite_master where name = 'userinfo'"), QStringList{"0"});
        rows(file(), "insert into usertype values(2, '管理员')");
        stop();
        start();
        QCOMPARE(rows(file(), "select count(*) from userinfo"), QStringList{"4"});
    }

    void unreadableFile_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: the console's own file with its defaults
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("fifo"); // a FIFO beside the file, by its suffix
        QTest::newRow("not a database") << QByteArray("no SQLite file, only some text\n").repeated(20) << false
                                        << QString();
        QTest::newRow("tables of another shape")
            << madeBy({"create table usertype(name text)", "create table userinfo(name text, secret text)"}) << false
            << QString();
        const QByteArray noMode = madeBy({"create table usertype(t_id integer primary key, type text)",
                                          "create table userinfo(u_id integer primary key, t_id int, password text)",
                                          "insert into userinfo values(1, 1, '2906')"});
        QTest::newRow("accounts without their mode") << noMode << false << QString();
        QTest::newRow("locked by another program") << noMode << true << QString();
        for (const char *suffix : {"-journal", "-wal", "-shm"})
            QTest::addRow("a FIFO as %s", suffix) << QByteArray() << false << QString::fromLatin1(suffix);
        QTest::newRow("a view as userinfo")
            << madeBy({types, "insert into usertype values(2, '管理员')",
                       "create view userinfo as select 1 as u_id, 2 as t_id, 0 as mode, 'admin' as username, "
                       "'2906' as password"})
            << false << QString();
        const QStringList defaults{types, accounts, "insert into usertype values(2, '管理员')",
                                   "insert into userinfo values(1, 2, 0, 'admin', '2906')"};
        QTest::newRow("a trigger on userinfo")
            << madeBy(defaults + QStringList{"create trigger grow after update on userinfo begin "
                                             "insert into usertype values(null, 'x'); end"})
            << false << QString();
        QTest::newRow("a trigger on usertype")
            << madeBy(defaults + QStringList{"create trigger grow before delete on usertype begin select 1; end"})
            << false << QString();
        // SQLite's names ignore case; a trigger keeps its table's as typed.
        QTest::newRow("a trigger on USERINFO")
            << madeBy(defaults + QStringList{"create trigger grow after update on USERINFO begin "
                                             "insert into usertype values(null, 'x'); end"})
            << false << QString();
        QTest::newRow("a view as UserInfo")
            << madeBy({types, "insert into usertype values(2, '管理员')",
                       "create view UserInfo as select 1 as u_id, 2 as t_id, 0 as mode, 'admin' as username, "
                       "'2906' as password"})
            << false << QString();
        // Indexes whose keys are not the columns as stored.
        QTest::newRow("an index on an expression of the password")
            << madeBy(defaults + QStringList{"create index i on userinfo(t_id, length(password))"}) << false
            << QString();
        QTest::newRow("an index with a WHERE")
            << madeBy(defaults + QStringList{"create index i on userinfo(password) where mode = 0"}) << false
            << QString();
        QTest::newRow("an index on the password that ignores case")
            << madeBy(defaults + QStringList{"create index i on userinfo(password collate nocase)"}) << false
            << QString();
        // Clauses on the password that change which rows the console's
        // statements find or keep. Account 3's role is missing, so no login
        // finds its password 7: a change to 7 that replaces on a conflict
        // would delete it.
        const QList<QPair<const char *, QString>> passwordClauses{
            {"a password that replaces another account's on a conflict", "unique on conflict replace"},
            {"a password compared without case", "collate \"NOCASE\""}};
        for (const auto &clause : passwordClauses)
            QTest::newRow(clause.first)
                << madeBy({types,
                           "create table userinfo(u_id integer primary key, t_id int, mode int, username text, "
                           "password text " + clause.second + ')',
                           "insert into usertype values(2, '管理员')",
                           "insert into userinfo values(1, 2, 0, 'admin', '2906'), (3, 9, 3, 'admin', '7')"})
                << false << QString();
    }

    void unreadableFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, locked);
        QFETCH(QString, fifo);
        QFile made(file());
        if (bytes.isEmpty() && made.open(QIODevice::ReadOnly))
            bytes = made.readAll();
        made.close();
        stop();
        QVERIFY(fifo.isEmpty() || ::mkfifo(QFile::encodeName(file() + fifo).constData(), 0600) == 0);
        start(bytes);
        {
            QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
            holder.setDatabaseName(file());
            QVERIFY(!locked || (holder.open() && QSqlQuery(QStringLiteral("begin exclusive"), holder).isActive()));
            const QDeadlineTimer due(6000); // each window waits for a lock a second at most
            QCOMPARE(login("2906"), QString());
            QCOMPARE(catcher.lastText(), unreadable);
            QCOMPARE(change("2906", "7", "7"), "Prompt: " + unreadable);
            QVERIFY(!due.hasExpired());
        }
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        QFile kept(file());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), bytes);
    }

    // A password change that cannot be written, the file locked by another
    // program's write: it is reported, the file stays as it was, and once the
    // lock is gone a login and a change go through.
    void failedWrite()
    {
        QFile kept(file());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        const QByteArray before = kept.readAll();
        kept.close();
        {
            QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
            holder.setDatabaseName(file());
            QVERIFY(holder.open() && QSqlQuery(QStringLiteral("begin immediate"), holder).isActive());
            QVERIFY(QSqlQuery(QStringLiteral("insert into usertype values(null, 'held')"), holder).isActive());
            QCOMPARE(change("2906", "0042", "0042"), QStringLiteral("Prompt: The password could not be saved in the user database!"));
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), before);
            kept.close();
            QVERIFY(QSqlQuery(QStringLiteral("rollback"), holder).isActive());
        }
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), before);
        kept.close();
        QCOMPARE(login("2906"), QStringLiteral("0 管理员"));
        QCOMPARE(change("2906", "0042", "0042"), done);
        QCOMPARE(rows(file(), "select password from userinfo order by u_id").join('|'), QStringLiteral("0042|86413|904273|571836"));
    }

    // Files that pass the schema's first look but would cost the console
    // minutes, gigabytes or a bound of SQLite's: each is refused quickly as
    // one that cannot be read, at login and at a password change, untouched.
    void boundedFile_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<int>("timeBoundMs"); // 0: the console's own
        QTest::addColumn<QString>("password"); // tried at login, then changed to itself
        QTest::addColumn<QString>("opens"); // the login signal, empty for none
        const QString roles = QStringLiteral("insert into usertype values(1, '用户'), (2, '管理员')");
        const QString firstFour = QStringLiteral("u_id integer primary key, t_id int, mode int, username text");
        // The generated column comes last: an insert would compute it.
        for (const char *blob : {"20000000", "400000000"})
            QTest::addRow("a password generated over blobs of %s bytes", blob)
                << QStringList{types, roles, "create table userinfo(" + firstFour + ", pw0 text)",
                               "insert into userinfo values(1, 2, 0, 'admin', '2906'), (2, 1, 2, 'admin', '904273')",
                               QStringLiteral("alter table userinfo add password text generated always as "
                                              "(pw0 || substr(hex(zeroblob(%1 + u_id)), 1, 0)) virtual").arg(blob)}
                << 0 << "571836" << QString();
        QTest::newRow("a password generated under the console's own column names")
            << QStringList{types, roles, "create table userinfo(" + firstFour + ", password as ('2906'))",
                           "insert into userinfo values(1, 2, 0, 'admin')"}
            << 0 << "2906" << QString();
        QTest::newRow("a column beside the console's")
            << QStringList{types, roles, "create table userinfo(" + firstFour + ", password text, note text)",
                           "insert into userinfo values(1, 2, 0, 'admin', '2906', '')"}
            << 0 << "2906" << QString();
        QTest::newRow("a password longer than the length limit before the one typed")
            << QStringList{types, accounts, roles,
                           "insert into userinfo values(1, 2, 0, 'admin', hex(zeroblob(750000))), "
                           "(2, 2, 1, 'admin', '86413')"}
            << 0 << "86413" << QString();
        const QStringList manyAccounts{
            types, accounts, roles, "insert into userinfo values(1, 2, 0, 'admin', '2906')",
            "insert into userinfo with recursive n(i) as (select 2 union all select i + 1 from n where i < 200000) "
            "select i, 2, 3, 'admin', 'p' || i from n"};
        QTest::newRow("a lookup longer than the time bound") << manyAccounts << 1 << "p200000" << QString();
        // The first account is found at once; the change reads them all.
        QTest::newRow("a password change longer than the time bound") << manyAccounts << 1 << "2906" << "0 管理员";
        // Each index key is some 300 values of 800 kB, evaluated whole
        // without a look at the clock: over a second a write. The indexes are
        // made on a cheap key and given the costly one afterwards, so that
        // the file is made at once.
        QStringList groups;
        for (int group = 0; group < 3; ++group) {
            QStringList terms;
            for (int term = group * 100; term < group * 100 + 100; ++term)
                terms << QStringLiteral("length(hex(zeroblob(400000 + length(password) + %1)))").arg(term);
            groups << "max(" + terms.join(',') + ')';
        }
        const QString costlyKey = "max(" + groups.join(',') + ')';
        const QString oneAccount = QStringLiteral("insert into userinfo values(1, 2, 0, 'admin', '2906')");
        QStringList costlyIndexes{types, accounts, roles, oneAccount};
        for (int index = 1; index <= 4; ++index)
            costlyIndexes << QStringLiteral("create index costly%1 on userinfo(length(password) + %1)").arg(index);
        costlyIndexes << "pragma writable_schema = on"
                      << "update sqlite_master set sql = 'create index ' || name || ' on userinfo(" + costlyKey
                             + ")' where name like 'costly%'";
        QTest::newRow("four indexes on userinfo, each of 16 kB of SQL over large values")
            << costlyIndexes << 0 << "2906" << QString();
        QTest::newRow("a CHECK constraint on userinfo, among quoted names")
            << QStringList{types, roles,
                           "create table \"userinfo\"(\"u_id\" integer primary key, \"t_id\" int, [mode] int, `username` "
                           "text, \"password\" text check(length(hex(zeroblob(100000 + length(password)))) > 0))",
                           oneAccount}
            << 0 << "2906" << QString();
        QTest::newRow("a DEFAULT expression on userinfo")
            << QStringList{types, roles,
                           "create table userinfo(" + firstFour + ", password text default (hex(zeroblob(100))))",
                           oneAccount}
            << 0 << "2906" << QString();
        QTest::newRow("a partial index on usertype")
            << QStringList{types, accounts, roles, oneAccount,
                           "create index administrators on usertype(type) where length(hex(zeroblob(100000 + t_id))) > 0"}
            << 0 << "2906" << QString();
        // SQLite parses a schema entry between two steps of its program; here
        // eight entries on a table the console does not read.
        QStringList longSchema{types, accounts, roles, oneAccount, "create table notes(password text)"};
        for (int index = 1; index <= 8; ++index)
            longSchema << QStringLiteral("create index note%1 on notes(%2)").arg(index).arg(costlyKey);
        QTest::newRow("a schema longer to read than the time bound") << longSchema << 1 << "2906" << QString();
    }

    void boundedFile()
    {
        QFETCH(QStringList, statements);
        QFETCH(int, timeBoundMs);
        QFETCH(QString, password);
        QFETCH(QString, opens);
        stop();
        const QByteArray bytes = madeBy(statements);
        start(bytes);
        if (timeBoundMs > 0)
            SqliteBounds::setTimeBound(std::chrono::milliseconds(timeBoundMs));
        const QDeadlineTimer due(10000);
        // The work is the processor time this process spends, whatever the
        // machine's load: each answer comes well within 1.5 s.
        const std::clock_t began = std::clock();
        QCOMPARE(login(password), opens);
        QCOMPARE(catcher.lastText(), opens.isEmpty() ? unreadable : QString());
        QCOMPARE(change(password, password, password), "Prompt: " + unreadable);
        const double spentMs = 1000.0 * double(std::clock() - began) / CLOCKS_PER_SEC;
        QVERIFY2(spentMs < 1500, qPrintable(QStringLiteral("%1 ms of processor time").arg(spentMs)));
        QVERIFY(!due.hasExpired());
        QCOMPARE(onDisk(), bytes);
    }

    // Tables of the console's columns that another program made, its own way
    // of writing them: quoted names, other types, named constraints, an
    // explicit BINARY collation, an index of its own on a column, and comments
    // that hold the words of an expression. They compute nothing and change
    // no rows, so they open as the console's own do, and a password change
    // lands.
    void plainTablesOfAnotherProgram()
    {
        stop();
        // Constraint names end or start at each edge of the letters and digits
        // of a bare word, next to the words of an expression; one is the word
        // of a conflict clause.
        start(madeBy({"CREATE TABLE \"usertype\" ( [t_id] INTEGER constraint pk_0check PRIMARY KEY, "
                      "`type` TEXT constraint nn_Acheck NOT NULL )",
                      "CREATE TABLE \"userinfo\" (\n  \"u_id\" INTEGER constraint pk_Zas PRIMARY KEY, -- as numbered, check it\n"
                      "  \"t_id\" INT constraint nn_9as NOT NULL, \"mode\" INT constraint conflict NOT NULL, "
                      "\"username\" TEXT constraint uq_zas UNIQUE /* default: admin */, "
                      "\"password\" VARCHAR(10) constraint nn_acheck NOT NULL COLLATE Binary\n)",
                      "CREATE UNIQUE INDEX \"by password\" ON userinfo(\"password\")",
                      "insert into usertype values(1, '用户'), (2, '管理员')",
                      "insert into userinfo values(1, 2, 0, 'admin', '2906')"}));
        QCOMPARE(login("2906"), QStringLiteral("0 管理员"));
        QCOMPARE(change("2906", "0042", "0042"), done);
        QCOMPARE(rows(file(), "select password from userinfo"), QStringList{"0042"});
    }

    // SQLite's bounds are set only on a handle of the library the console
    // links. A driver built into the program cannot be told from one with a
    // SQLite of its own, and its handle is left alone: a value the bounds
    // would refuse is still made on it.
    void boundsOnlyOnTheLinkedSqlite_data()
    {
        QTest::addColumn<bool>("builtIn");
        QTest::addColumn<bool>("bounded");
        QTest::addColumn<int>("length");
        QTest::newRow("Qt's SQLite driver plugin") << false << true << -SQLITE_TOOBIG;
        QTest::newRow("a driver built into the program") << true << false << 1200000;
    }

    void boundsOnlyOnTheLinkedSqlite()
    {
        QFETCH(bool, builtIn);
        QFETCH(bool, bounded);
        QFETCH(int, length);
        sqlite3 *own = nullptr;
        QCOMPARE(sqlite3_open_v2(":memory:", &own, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        {
            QSqlDatabase db = builtIn ? QSqlDatabase::addDatabase(new BuiltInDriver(own), QStringLiteral("bounds"))
                                      : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bounds"));
            db.setDatabaseName(QStringLiteral(":memory:"));
            QVERIFY(db.open());
            const bool applied = SqliteBounds::apply(db);
            const QVariant handle = db.driver()->handle();
            QCOMPARE(handle.typeName(), "sqlite3*");
            QCOMPARE(madeLength(*static_cast<sqlite3 *const *>(handle.constData())), length);
            QCOMPARE(applied, bounded);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bounds"));
        sqlite3_close(own);
    }

    // A driver whose SQLite is not known to be the console's is told of once
    // in the debug output, however often the file is opened through it.
    void unboundedDriverToldOnce()
    {
        stop();
        static int told = 0;
        told = 0;
        const QtMessageHandler previous
            = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
                  told += text.contains(QLatin1String("time and length not bounded"));
              });
        {
            QSqlDatabase::addDatabase(new BuiltInDriver(nullptr), QStringLiteral("my_sqlite"));
            UserDatabase database;
            database.connectDatabase();
            database.openDatabase();
            database.closeDatabase();
        }
        qInstallMessageHandler(previous);
        QSqlDatabase::removeDatabase(QStringLiteral("my_sqlite"));
        start();
        QCOMPARE(told, 1);
    }

    // A connection of the console's does not rewrite the file's schema by
    // hand, even when asked to.
    void defensiveConnection()
    {
        const QByteArray before = onDisk();
        UserDatabase database;
        QVERIFY(database.connectDatabase());
        for (const char *trick : {"pragma schema_version = 99", "pragma writable_schema = on",
                                  "update sqlite_master set sql = replace(sql, 'password varchar(10)', "
                                  "'password as (username)') where name = 'userinfo'"})
            QSqlQuery(trick, QSqlDatabase::database(QStringLiteral("my_sqlite"), false));
        database.closeDatabase();
        QCOMPARE(onDisk(), before);
        QCOMPARE(login("2906"), QStringLiteral("0 管理员"));
    }

    // The error a caller reads is that of its last call: a lookup after a
    // refused change tells of none.
    void errorOfTheLastCallOnly()
    {
        UserDatabase database;
        QVERIFY(database.connectDatabase());
        QVERIFY(!database.updatePassword(QStringLiteral("9999"), QStringLiteral("1111")));
        QVERIFY(!database.lastError().isEmpty());
        QCOMPARE(database.queryUser(QStringLiteral("2906")).value(QStringLiteral("mode")), QStringLiteral("0"));
        QCOMPARE(database.lastError(), QString());
        database.closeDatabase();
    }

    // The first start cannot commit its first table: another program reads
    // the file and lets go only then, while the console makes its second
    // table. The file stays as it was, and the next start makes both.
    void failedFirstStart()
    {
        stop();
        const QByteArray before = madeBy({"create table notes(line text)", "insert into notes values('kept')"});
        QFile made(file());
        QVERIFY(made.open(QIODevice::WriteOnly) && made.write(before) == before.size());
        made.close();
        {
            QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
            holder.setDatabaseName(file());
            QVERIFY(holder.open() && QSqlQuery(QStringLiteral("begin"), holder).isActive()
                    && QSqlQuery(QStringLiteral("select count(*) from notes"), holder).isActive());
            reader = &holder;
            const QtMessageHandler previous = qInstallMessageHandler(
                [](QtMsgType, const QMessageLogContext &, const QString &text) {
                    if (reader && text.startsWith(QStringLiteral("插入数据:"))) {
                        QSqlQuery(QStringLiteral("rollback"), *reader);
                        reader = nullptr;
                    }
                });
            start();
            qInstallMessageHandler(previous);
            QVERIFY(!reader);
            QCOMPARE(onDisk(), before);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        stop();
        start();
        QCOMPARE(rows(file(), "select count(*) from usertype union all select count(*) from userinfo "
                              "union all select line from notes"),
                 QStringList({"2", "4", "kept"}));
        QCOMPARE(login("571836"), QStringLiteral("3 管理员"));
    }

    void changedWorkingDirectory()
    {
        QTemporaryDir elsewhere;
        QDir::setCurrent(elsewhere.path());
        QVERIFY(login("571836").startsWith("3 "));
        QVERIFY(!QFile::exists(elsewhere.filePath(QStringLiteral("database.db"))));
    }

    void login_data() { goldenRows(QStringLiteral("login.tsv")); }

    void login()
    {
        QFETCH(QString, statement);
        QFETCH(QString, password);
        QFETCH(QString, signal);
        if (!statement.isEmpty())
            rows(file(), statement);
        window->showWindow();
        QCOMPARE(login(password), signal);
        QCOMPARE(catcher.lastText(), signal.isEmpty() ? wrongPassword : QString());
        QCOMPARE(QString("%1%2%3").arg(ui->login_btn->isEnabled()).arg(ui->logout_btn->isEnabled())
                     .arg(ui->changepwd_btn->isEnabled()), golden("buttons"));
        // A refused password stays for correcting, in the open window.
        QCOMPARE(ui->password_ld->text(), signal.isEmpty() ? password : QString());
        QCOMPARE(window->isVisible(), signal.isEmpty());
    }

    void enterKeyLogsInThenOut()
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
        // A language switch empties the password field.
        ui->password_ld->setText("2906");
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(window, &change);
        QVERIFY(ui->password_ld->text().isEmpty());
    }

    void enterKeyFollowsWhoIsLoggedIn_data() { goldenRows(QStringLiteral("enterkey.tsv")); }

    void enterKeyFollowsWhoIsLoggedIn()
    {
        QStringList signalsSeen;
        QObject listening; // the connections end with this test
        connect(window, &LoginWindows::userLogin, &listening, [&](int mode) { signalsSeen << QStringLiteral("in %1").arg(mode); });
        connect(window, &LoginWindows::userLogout, &listening, [&] { signalsSeen << QStringLiteral("out"); });
        for (const QString &step : goldenList(golden("steps"))) {
            window->showWindow();
            const QString action = step.section(' ', 0, 0);
            if (action == QLatin1String("logout")) {
                ui->logout_btn->click();
                continue;
            }
            ui->password_ld->setText(step.section(' ', 1));
            if (action == QLatin1String("login"))
                ui->login_btn->click();
            else
                QTest::keyClick(ui->password_ld, Qt::Key_Return);
        }
        QCOMPARE(signalsSeen, goldenList(golden("signals")));
        QCOMPARE(QString("%1%2%3").arg(ui->login_btn->isEnabled()).arg(ui->logout_btn->isEnabled())
                     .arg(ui->changepwd_btn->isEnabled()), golden("buttons"));
    }

    void changePassword_data() { goldenRows(QStringLiteral("passwordchange.tsv")); }

    void changePassword()
    {
        QFETCH(QString, oldPassword);
        QFETCH(QString, newPassword);
        debugLines.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &text) { debugLines << text; });
        const QString shown = change(oldPassword, newPassword, golden("confirmation"));
        qInstallMessageHandler(previous);
        QCOMPARE(shown, golden("message"));
        // A change that went in shows its statement in the debug output, masked.
        QVERIFY(shown != done || debugLines.contains("update userinfo set password = *** where password = ***"));
        QCOMPARE(rows(file(), "select password from userinfo order by u_id").join('|'), golden("passwords"));
        for (const QString &line : qAsConst(debugLines))
            QVERIFY2((oldPassword.isEmpty() || !line.contains(oldPassword))
                         && (newPassword.isEmpty() || !line.contains(newPassword)),
                     qPrintable(line));
    }

    // database.db is open only while an action reads or writes it: between
    // actions another program, or the operator, may copy, replace or remove
    // it. Counted among the test's own open files.
    void fileNotHeldBetweenActions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("a first start of the file alone") << QStringLiteral("first start");
        QTest::newRow("a login") << QStringLiteral("86413");
        QTest::newRow("a refused login") << QStringLiteral("12");
        QTest::newRow("a password change") << QStringLiteral("change");
    }
    void fileNotHeldBetweenActions()
    {
        QFETCH(QString, action);
        const auto handles = [this] {
            int count = 0;
            const QString target = QFileInfo(file()).canonicalFilePath();
            for (const QFileInfo &fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::Files))
                count += fd.symLinkTarget() == target;
            return count;
        };
        if (action == QLatin1String("first start")) {
            stop();
            QFile::remove(file());
            {
                UserDatabase alone;
                alone.initDatabase();
                QCOMPARE(rows(file(), "select count(*) from userinfo"), QStringList{"4"});
                QCOMPARE(handles(), 0);
            }
            QSqlDatabase::removeDatabase(QStringLiteral("my_sqlite"));
            start();
            return;
        }
        QCOMPARE(handles(), 0);
        if (action == QLatin1String("change"))
            QCOMPARE(change("2906", "0042", "0042"), done);
        else
            login(action);
        QCOMPARE(handles(), 0);
    }
};

VW_TEST_MAIN(AccountsTest)
#include "tst_accounts.moc"
