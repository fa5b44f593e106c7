#ifndef USERDATABASE_H
#define USERDATABASE_H

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

class QSqlError;
class QSqlQuery;

// The user accounts in the SQLite file "database.db" (connection
// "my_sqlite"). Login is by password alone; the first account, by u_id,
// whose password equals the typed text wins. Failures go to the debug
// output and to lastError(); only the windows speak to the operator. A file
// is used only when it and the journals beside it are regular files and its
// two tables are plain tables of the console's own columns with nothing
// declared on them that computes or changes rows (no trigger, CHECK, DEFAULT,
// generated column, conflict clause, collation other than BINARY, nor an index
// but one on the columns as stored); else it cannot be read. SQLite holds each
// statement to a time and each value to a length (sqlitebounds.h): a file that
// makes a statement go past them cannot be read either.
class UserDatabase
{
public:
    bool connectDatabase();
    bool createTable(const QString &statement);
    // Creates each missing table together with its default rows, in one
    // transaction per table: all or nothing, tried again at the next start.
    void initDatabase();
    bool openDatabase();
    void closeDatabase();

    // Keys "mode" and "type" of the account the password opens; empty when
    // none does or when the file cannot be read (then lastError() is set).
    QHash<QString, QString> queryUser(const QString &password);
    // Whether the password opens an account, by the login's own lookup.
    bool checkPassword(const QString &password);
    // True only when at least one account now has the new password.
    bool updatePassword(const QString &oldPassword, const QString &newPassword);

    // Why the last operation failed; empty after one that worked. Tells a
    // file that cannot be used from a password that matches nothing.
    QString lastError() const { return error; }
    // Whether the last failure was a bound SQLite holds, of time or length:
    // the file's doing, never the operator's.
    bool hitBound() const { return !error.isEmpty() && boundHit; }

private:
    bool fail(const QString &what, const QString &why, bool atBound = false);
    bool fail(const QString &what, const QSqlError &why);
    bool run(QSqlQuery &query, const QString &statement, const QVariantList &values = QVariantList());
    bool consolesSchema();
    bool createWithDefaults(const char *createStatement, const QList<const char *> &inserts);

    QSqlDatabase db;
    QString error;
    bool boundHit = false;
};

#endif // USERDATABASE_H
