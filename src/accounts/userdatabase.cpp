#include "userdatabase.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

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

// Far more accounts than the console makes (four): a login, and a password
// change, look among the first of them by u_id only, so that a file of
// millions of rows cannot hold the window while a wrong password reads them.
const int maxAccounts = 1000;

// The files SQLite opens beside the database. A FIFO among them blocks the
// open for good, a device never ends: only regular files are used.
const char *const sideFiles[] = {"", "-journal", "-wal", "-shm"};

// The tables the console reads must be its own plain tables: a view or a
// virtual table in their place may read without end, a trigger on them may
// write without end on each password change.
const char *const foreignSchema =
    "select count(*) from sqlite_master where (name in ('userinfo', 'usertype') and (type <> 'table' "
    "or lower(ltrim(sql)) like 'create virtual%')) or (type = 'trigger' and tbl_name in ('userinfo', 'usertype'))";

} // namespace

bool UserDatabase::fail(const QString &what, const QString &why)
{
    error = why;
    qDebug().noquote() << what + why;
    return false;
}

bool UserDatabase::connectDatabase()
{
    error.clear();
    if (QSqlDatabase::contains(connectionName)) {
        db = QSqlDatabase::database(connectionName);
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
    if (!query.exec(statement))
        return fail(QStringLiteral("创建表:"), query.lastError().text());
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
        if (!query.exec(QString::fromUtf8(insert))) {
            fail(QStringLiteral("插入数据:"), query.lastError().text());
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        fail(QStringLiteral("插入数据:"), db.lastError().text());
        db.rollback();
        return false;
    }
    return true;
}

void UserDatabase::initDatabase()
{
    if (!connectDatabase())
        return;
    QSqlQuery(db).exec(QStringLiteral("PRAGMA foreign_keys = ON"));
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
        return fail(QString(), db.lastError().text());
    // The schema's own functions and views are not run on the console's
    // behalf (SQLite before 3.31 ignores the pragma).
    QSqlQuery query(db);
    query.exec(QStringLiteral("PRAGMA trusted_schema = OFF"));
    if (!query.exec(QString::fromUtf8(foreignSchema)) || !query.next()) {
        fail(QString(), query.lastError().text());
        db.close();
        return false;
    }
    if (query.value(0).toInt() != 0) {
        db.close();
        return fail(QString(), QStringLiteral("userinfo or usertype is no plain table of the console's"));
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
    // matches nothing.
    query.prepare(QStringLiteral("select mode, type from (select u_id, t_id, mode, password from userinfo "
                                 "order by u_id limit %1) as account join usertype on account.t_id = usertype.t_id "
                                 "where account.password = ? order by account.u_id limit 1")
                      .arg(maxAccounts));
    query.addBindValue(password);
    if (!query.exec()) {
        fail(QStringLiteral("查数据:"), query.lastError().text());
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
    query.prepare(QStringLiteral("update userinfo set password = ? where password = ? and u_id in "
                                 "(select u_id from userinfo order by u_id limit %1)")
                      .arg(maxAccounts));
    query.addBindValue(newPassword);
    query.addBindValue(oldPassword);
    // Passwords never reach the debug output.
    qDebug().noquote() << "update userinfo set password = *** where password = ***";
    if (!query.exec())
        return fail(QStringLiteral("修改数据:"), query.lastError().text());
    if (query.numRowsAffected() < 1)
        return fail(QStringLiteral("修改数据:"), QStringLiteral("no account has the old password"));
    return true;
}
