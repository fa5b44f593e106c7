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

// The tables the console reads must be its own plain tables, with nothing
// declared on them that computes or that changes which rows a statement of
// the console's finds or keeps. The time and length bounds do not make
// this check needless: a view or a virtual table in their place is no data
// of the console's, and a trigger's writes are quick, so no bound stops one
// from changing rows on a password change that the console never meant to
// touch. Nor does the time bound stop an index's expression, a CHECK
// constraint or a partial index's condition: SQLite evaluates each as
// straight-line code, whole, and looks at the clock only where its program
// jumps, so a few of them over large values hold a write for a minute. Where the bounds are not
// set (a Qt with a SQLite of its own) this check is also the only thing
// between such a file and an endless read.
//
// Every schema entry that names the two tables, as the table or as the
// table it is declared on. SQLite's names ignore ASCII case, and a trigger
// keeps its table's name as it was typed. Only a table's statement is read
// here: an index is judged by what SQLite parsed of it
// (indexesNotOfPlainKeys below), however long its statement.
const char *const schemaOfOwnTables =
    "select type, name, lower(tbl_name) in ('userinfo', 'usertype'), case type when 'table' then sql end "
    "from sqlite_master where lower(name) in ('userinfo', 'usertype') or lower(tbl_name) in ('userinfo', 'usertype')";

// The indexes of a table whose keys are not the table's own columns as
// stored: a partial index, a key that is an expression (cid -2), or a key
// compared by another collation than BINARY. An index of plain columns, be it
// one SQLite made for a PRIMARY KEY or UNIQUE or one another hand added,
// costs a write a copy of those columns and changes no answer; a UNIQUE one
// may refuse a write, which the console reports as not saved.
const char *const indexesNotOfPlainKeys =
    "select l.name from pragma_index_list(?) as l join pragma_index_xinfo(l.name) as x "
    "where l.partial or (x.key and (x.cid < 0 or upper(coalesce(x.coll, '')) <> 'BINARY'))";

bool isWordChar(QChar c)
{
    const ushort u = c.unicode();
    return u >= 0x80 || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_'
           || u == '$';
}

// The words of a statement as SQLite reads them, in lower case, blanks and
// comments left out. SQLite too takes a run of letters, digits, '_', '$' and
// non-ASCII characters as one word, so a keyword of the statement is one of
// these words. A string or quoted name stands as its opening quote mark,
// which no keyword equals: it is there only to be the word after another.
QStringList bareWords(const QString &sql)
{
    QStringList words;
    const int size = sql.size();
    int at = 0;
    // Past the end mark, or to the end of a statement that lacks it. A
    // doubled quote inside a string ends one string and starts the next:
    // the words found are the same.
    const auto skipPast = [&](const QString &end, int from) {
        const int found = sql.indexOf(end, from);
        at = found < 0 ? size : found + end.size();
    };
    while (at < size) {
        const QChar c = sql.at(at);
        if (isWordChar(c)) {
            const int start = at;
            while (at < size && isWordChar(sql.at(at)))
                ++at;
            words << sql.mid(start, at - start).toLower();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            words << QString(c);
            skipPast(QString(c), at + 1);
        } else if (c == QLatin1Char('[')) {
            words << QString(c);
            skipPast(QStringLiteral("]"), at + 1);
        } else if (sql.midRef(at, 2) == QLatin1String("--")) {
            skipPast(QStringLiteral("\n"), at + 2);
        } else if (sql.midRef(at, 2) == QLatin1String("/*")) {
            skipPast(QStringLiteral("*/"), at + 2);
        } else {
            ++at;
        }
    }
    return words;
}

// Whether a table's statement declares columns and nothing that computes.
// In a table's statement SQLite reads an expression only after CHECK,
// DEFAULT or AS (a generated column); PRIMARY KEY and UNIQUE take column
// names alone. Nor may it declare what changes rows behind the console's
// statements: a conflict clause (ON CONFLICT REPLACE makes a password change
// delete the account that held the new password, IGNORE drops a write
// unsaid) or a collation other than BINARY (NOCASE makes login blind to
// case). The console's own statements hold none of these, and neither does
// another program's table of the same plain columns; a UNIQUE without a
// conflict clause, or an explicit COLLATE BINARY, is still plain.
bool plainTable(const QString &sql)
{
    const QStringList words = bareWords(sql);
    if (words.size() <= 2 || words.at(0) != QLatin1String("create") || words.at(1) != QLatin1String("table")
        || words.contains(QLatin1String("check")) || words.contains(QLatin1String("default"))
        || words.contains(QLatin1String("as")))
        return false;
    for (int at = 0; at < words.size(); ++at) {
        const QString next = at + 1 < words.size() ? words.at(at + 1) : QString();
        if ((words.at(at) == QLatin1String("on") && next == QLatin1String("conflict"))
            || (words.at(at) == QLatin1String("collate") && next != QLatin1String("binary")))
            return false;
    }
    return true;
}

// The table itself, or an index declared on it (its keys are read from
// SQLite afterwards). Any trigger or view on the tables, or another table's
// index in a table's name, is another hand's.
bool ownSchemaEntry(const QString &type, bool onOwnTable, const QVariant &sql)
{
    if (type == QLatin1String("table"))
        return plainTable(sql.toString());
    return type == QLatin1String("index") && onOwnTable;
}

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
    SqliteBounds::schemaRead(db);
    return true;
}

bool UserDatabase::consolesSchema()
{
    QSqlQuery query(db);
    // The schema's own functions and views are not run on the console's
    // behalf (SQLite before 3.31 ignores the pragma).
    run(query, QStringLiteral("PRAGMA trusted_schema = OFF"));
    if (!run(query, QString::fromUtf8(schemaOfOwnTables)))
        return fail(QString(), query.lastError());
    const QString notPlain = QStringLiteral("userinfo or usertype is no plain table of the console's: ");
    while (query.next()) {
        const QString type = query.value(0).toString();
        const QString name = query.value(1).toString();
        if (!ownSchemaEntry(type, query.value(2).toBool(), query.value(3)))
            return fail(QString(), notPlain + type + QLatin1Char(' ') + name);
    }
    if (query.lastError().isValid())
        return fail(QString(), query.lastError());
    // SQLite has parsed every index already: reading its keys evaluates
    // nothing, whatever an expression among them would cost.
    for (const OwnTable &table : ownTables) {
        if (!run(query, QString::fromUtf8(indexesNotOfPlainKeys), {table.name}))
            return fail(QString(), query.lastError());
        if (query.next())
            return fail(QString(), notPlain + QStringLiteral("index ") + query.value(0).toString());
        if (query.lastError().isValid())
            return fail(QString(), query.lastError());
    }
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
