#ifndef MODIFYPWDWINDOWS_H
#define MODIFYPWDWINDOWS_H

#include <QWidget>

#include <memory>

#include "userdatabase.h"

namespace Ui {
class ModifyPwdWindows;
}

// Replaces a password of the user database: the old one, the new one twice,
// and a message for every outcome.
class ModifyPwdWindows : public QWidget
{
    Q_OBJECT

public:
    explicit ModifyPwdWindows(QWidget *parent = nullptr);
    ~ModifyPwdWindows() override;

public slots:
    void modifyPwd();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();
    // The message that ends an attempt on the open database.
    QString changePassword(const QString &oldPassword, const QString &newPassword, const QString &confirmation);

    std::unique_ptr<Ui::ModifyPwdWindows> ui;
    UserDatabase database;

    friend class AccountsTest;
};

#endif // MODIFYPWDWINDOWS_H
