#ifndef LOGINWINDOWS_H
#define LOGINWINDOWS_H

#include <QWidget>

#include <memory>

#include "userdatabase.h"

namespace Ui {
class LoginWindows;
}
class ModifyPwdWindows;

// Raises or drops the console's rights by password. The window only reports
// the account's mode and role name; the main window decides what they allow.
class LoginWindows : public QWidget
{
    Q_OBJECT

public:
    explicit LoginWindows(QWidget *parent = nullptr);
    ~LoginWindows() override;

    void showWindow();
    void showModifyPwdWindow();
    void login();
    void logout();

signals:
    void userLogin(int mode, QString type);
    void userLogout();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();
    void setLoggedIn(bool loggedIn);

    std::unique_ptr<Ui::LoginWindows> ui;
    // Made with no parent and kept until the program ends, like every child
    // window; never deleted here.
    ModifyPwdWindows *modifyPwdWindow = nullptr;
    UserDatabase database;
    // Return or Enter logs in while 0 and out while 1, the latter only while
    // someone is logged in.
    int enterState = 0;

    friend class AccountsTest;
};

#endif // LOGINWINDOWS_H
