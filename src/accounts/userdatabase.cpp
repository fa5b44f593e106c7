#include "userdatabase.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "sqlitebounds.h"

namespace {

const QString connectionName = QStringLiteral("my_sqlite");
const char *const createdLine = "创建成功,插入初始数据";

const char *const userTypeTable = "create table usertype(t_id integer primary key autoincrement, type varchar(10))";
const char *const userInfoTable =
    "create table userinfo(u_id integer primary key autoincrement, t_id integer not null, mode integer not null, "
    "username varchar(10), password varchar(10), foreign key(t_id) references usertype(t_id))";

// The default accounts; the operators' README lists these passwords.
const QList<const char *> userTypeRows = {
    "insert into usertype values(null,'用户')",
    "insert into usertype values(null,'管理员')",
};
const QList<const char *> userInfoRows = {
    "insert into userinfo values(null,2,0,'admin','2906')",
    "insert into userinfo values(null,2,1,'admin','86413')",
    "insert into userinfo values(null,1,2,'admin','904273')",
    "insert into userinfo values(null,2,3,'admin','571836')",
};

// The files SQLite opens beside the database. A FIFO among them blocks the
// open for good, a device never ends: only regular files are used.
const char *const sideFiles[] = {"", "-journal", "-wal", "-shm"};

// The tables the console reads must be its own plain tables. The time and
// length bounds do not make this check needless: a view or a virtual table
// in their place is no data of the console's, and a trigger's writes are
// quick, so no bound stops one from changing rows on a password change that
// the console never meant to touch. Where the bounds are not set (a Qt with
// a SQLite of its own) it is also the only thing between such a file and an
// endless read.
const char *const foreignSchema =
    "select count(*) from sqlite_master where (name in ('userinfo', 'usertype') and (type <> 'table' "
    "or lower(ltrim(sql)) like 'create virtual%')) or (type = 'trigger' and tbl_name in ('userinfo', 'usertype'))";

// The columns the console makes, in order. Any other column, and above all
// a generated one (which table_xinfo shows as hidden), may compute a value
// on every read of a row: a few rows of a small file could then cost
// minutes and gigabytes.
struct OwnTable
{
    QString name;
    QStringList columns;
};
const OwnTable ownTables[] = {
    {QStringLiteral("usertype"), {QStringLiteral("t_id"), QStringLiteral("type")}},
    {QStringLiteral("userinfo"),
     {QStringLiteral("u_id"), QStringLiteral("t_id"), QStringLiteral("mode"), QStringLiteral("username"),
      QStringLiteral("password")}},
};

} // namespace

bool UserDatabase::fail(const QString &what, const QString &why, bool atBound)
{
    error = why;
    boundHit = atBound;
    qDebug().noquote() << what + why;
    return false;
}

bool UserDatabase::fail(const QString &what, const QSqlError &why)
{
    return fail(what, why.text(), SqliteBounds::isBoundError(why));
}

// Every statement of the console's starts the time bound afresh.
bool UserDatabase::run(QSqlQuery &query, const QString &statement, const QVariantList &values)
{
    SqliteBounds::restart();
    if (values.isEmpty())
        return query.exec(statement);
    if (!query.prepare(statement))
        return false;
    for (const QVariant &value : values)
        query.addBindValue(value);
    return query.exec();
}

bool UserDatabase::connectDatabase()
{
    error.clear();
    if (QSqlDatabase::contains(connectionName)) {
        // Taken without opening it: an open goes through openDatabase's
        // checks and bounds, never around them.
        db = QSqlDatabase::database(connectionName, false);
        return db.isOpen() || openDatabase();
    }
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    // A file locked by another program holds the window only this long
    // before the operator hears that it cannot be read.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
    // The file is named once, absolutely, when the connection is made at
    // start-up: a later change of the working directory must not let a new
    // file with the default passwords appear there.
    db.setDatabaseName(QDir::current().absoluteFilePath(QStringLiteral("database.db")));
    return openDatabase();
}

bool UserDatabase::createTable(const QString &statement)
{
    QSqlQuery query(db);
    if (!run(query, statement))
        return fail(QStringLiteral("创建表:"), query.lastError());
    return true;
}

bool UserDatabase::createWithDefaults(const char *createStatement, const QList<const char *> &inserts)
{
    db.transaction();
    if (!createTable(QString::fromUtf8(createStatement))) {
        db.rollback();
        return false;
    }
    qDebug().noquote() << createdLine;
    QSqlQuery query(db);
    for (const char *insert : inserts) {
        if (!run(query, QString::fromUtf8(insert))) {
            fail(QStringLiteral("插入数据:"), query.lastError());
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        fail(QStringLiteral("插入数据:"), db.lastError());
        db.rollback();
        return false;
    }
    return true;
}

void UserDatabase::initDatabase()
{
    if (!connectDatabase())
        return;
    QSqlQuery pragma(db);
    run(pragma, QStringLiteral("PRAGMA foreign_keys = ON"));
    createWithDefaults(userTypeTable, userTypeRows);
    createWithDefaults(userInfoTable, userInfoRows);
    closeDatabase();
}

bool UserDatabase::openDatabase()
{
    error.clear();
    for (const char *suffix : sideFiles) {
        const QFileInfo side(db.databaseName() + QLatin1String(suffix));
        if (side.exists() && !side.isFile())
            return fail(QString(), side.fileName() + QStringLiteral(" is not a regular file"));
    }
    if (!db.open())
        return fail(QString(), db.lastError());
    static bool toldUnbounded = false;
    if (!SqliteBounds::apply(db) && !toldUnbounded) {
        toldUnbounded = true;
        qDebug().noquote() << "database.db: time and length not bounded, the driver's SQLite is not known to be the console's";
    }
    if (!consolesSchema()) {
        db.close();
        return false;
    }
    return true;
}

bool UserDatabase::consolesSchema()
{
    QSqlQuery query(db);
    // The schema's own functions and views are not run on the console's
    // behalf (SQLite before 3.31 ignores the pragma).
    run(query, QStringLiteral("PRAGMA trusted_schema = OFF"));
    if (!run(query, QString::fromUtf8(foreignSchema)) || !query.next())
        return fail(QString(), query.lastError());
    if (query.value(0).toInt() != 0)
        return fail(QString(), QStringLiteral("userinfo or usertype is no plain table of the console's"));
    for (const OwnTable &table : ownTables) {
        // A table not there yet has no columns: initDatabase makes it.
        QStringList columns;
        if (!run(query, QStringLiteral("select name, hidden from pragma_table_xinfo(?) order by cid"), {table.name}))
            return fail(QString(), query.lastError());
        while (query.next())
            columns << query.value(0).toString().toLower() + (query.value(1).toInt() != 0 ? QStringLiteral(" (hidden)") : QString());
        if (query.lastError().isValid())
            return fail(QString(), query.lastError());
        if (!columns.isEmpty() && columns != table.columns)
            return fail(QString(), table.name + QStringLiteral(" has columns the console does not make: ") + columns.join(QStringLiteral(", ")));
    }
    return true;
}

void UserDatabase::closeDatabase()
{
    db.close();
}

QHash<QString, QString> UserDatabase::queryUser(const QString &password)
{
    error.clear();
    QHash<QString, QString> user;
    QSqlQuery query(db);
    // In account order so that among equal passwords the same account always
    // wins; the comparison is exact and case-sensitive, and a NULL password
    // matches nothing. Every account is looked at: the time bound, not a
    // count of accounts, keeps a large file from holding the window.
    if (!run(query, QStringLiteral("select mode, type from userinfo join usertype on userinfo.t_id = usertype.t_id "
                                   "where userinfo.password = ? order by userinfo.u_id limit 1"),
             {password})) {
        fail(QStringLiteral("查数据:"), query.lastError());
        return user;
    }
    if (query.next()) {
        user.insert(QStringLiteral("mode"), query.value(0).toString());
        user.insert(QStringLiteral("type"), query.value(1).toString());
    }
    return user;
}

bool UserDatabase::checkPassword(const QString &password)
{
    error.clear();
    if (password.isEmpty())
        return false;
    // The login's own lookup: a file that login cannot read, or an account
    // that login cannot open, has no password to change either.
    return !queryUser(password).isEmpty();
}

bool UserDatabase::updatePassword(const QString &oldPassword, const QString &newPassword)
{
    error.clear();
    QSqlQuery query(db);
    // Passwords never reach the debug output.
    qDebug().noquote() << "update userinfo set password = *** where password = ***";
    if (!run(query, QStringLiteral("update userinfo set password = ? where password = ?"), {newPassword, oldPassword}))
        return fail(QStringLiteral("修改数据:"), query.lastError());
    if (query.numRowsAffected() < 1)
        return fail(QStringLiteral("修改数据:"), QStringLiteral("no account has the old password"));
    return true;
}
