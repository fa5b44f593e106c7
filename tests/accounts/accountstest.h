#ifndef ACCOUNTSTEST_H
#define ACCOUNTSTEST_H

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "globalobject.h"
#include "loginwindows.h"
#include "messageboxcatcher.h"
#include "modifypwdwindows.h"
#include "ui_loginwindows.h"
#include "ui_modifypwdwindows.h"

// What the account tests share: a start of the console's login window in a
// folder of its own, on a real database.db, and reading that file back.
namespace AccountsTestData {

inline const QString unreadable = QStringLiteral("The user database cannot be read, please check the file database.db!");
inline const QString wrongPassword = QStringLiteral("The password is wrong, please confirm and re-enter!");

// The rows a query gives on a file, fields joined by blanks, read through a
// connection of the test's own.
inline QStringList rows(const QString &file, const QString &sql)
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

// The bytes of a database file that the statements make.
inline QByteArray madeBy(const QStringList &statements)
{
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("made.db"));
    for (const QString &statement : statements)
        rows(path, statement);
    QFile made(path);
    return made.open(QIODevice::ReadOnly) ? made.readAll() : QByteArray();
}

} // namespace AccountsTestData

class AccountsTest
{
protected:
    // A start of the console in a folder of its own (or the same one again).
    void start(const QByteArray &fileBytes = QByteArray(), bool sameFolder = false);
    void stop(bool keepFolder = false);
    QString file() const { return dir->filePath(QStringLiteral("database.db")); }
    QString change(const QString &oldPassword, const QString &newPassword, const QString &confirmation);
    void tryLogin(const QString &password) { ui->password_ld->setText(password), ui->login_btn->click(); }

    std::unique_ptr<QTemporaryDir> dir;
    LoginWindows *window = nullptr;
    Ui::LoginWindows *ui = nullptr;
    MessageBoxCatcher catcher;
};

inline void AccountsTest::start(const QByteArray &fileBytes, bool sameFolder)
{
    if (!sameFolder)
        dir = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(dir->path());
    if (!fileBytes.isEmpty()) {
        QFile out(file());
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(fileBytes) == fileBytes.size());
    }
    window = new LoginWindows;
    ui = window->ui.get();
    catcher.clear();
}

inline void AccountsTest::stop(bool keepFolder)
{
    delete window->modifyPwdWindow;
    delete window;
    window = nullptr;
    // The next start registers the connection anew, in its own folder.
    QSqlDatabase::removeDatabase(QStringLiteral("my_sqlite"));
    QDir::setCurrent(appDirPath);
    if (!keepFolder)
        dir.reset();
}

inline QString AccountsTest::change(const QString &oldPassword, const QString &newPassword, const QString &confirmation)
{
    Ui::ModifyPwdWindows *form = window->modifyPwdWindow->ui.get();
    form->opwd_le->setText(oldPassword);
    form->npwd_le->setText(newPassword);
    form->npwd2_le->setText(confirmation);
    catcher.clear();
    form->modify_btn->click();
    return catcher.lastTitle() + QStringLiteral(": ") + catcher.lastText();
}

#endif // ACCOUNTSTEST_H
