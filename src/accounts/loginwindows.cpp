#include "loginwindows.h"
#include "ui_loginwindows.h"

#include <QEvent>
#include <QKeyEvent>

#include "globalobject.h"
#include "messagebox.h"
#include "modifypwdwindows.h"
#include "windowkit.h"

namespace {

// The mode whose login leaves the window's buttons as they were, so that it
// can be followed by another login without a logout.
const int keepButtonsMode = 2;

} // namespace

LoginWindows::LoginWindows(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::LoginWindows>())
{
    ui->setupUi(this);
    database.initDatabase();
    initForm();
    initConnect();
}

LoginWindows::~LoginWindows() = default;

void LoginWindows::initForm()
{
    modifyPwdWindow = new ModifyPwdWindows;
    enterState = 0;
    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOff);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void LoginWindows::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->login_btn, &QPushButton::clicked, this, &LoginWindows::login);
    connect(ui->logout_btn, &QPushButton::clicked, this, &LoginWindows::logout);
    connect(ui->changepwd_btn, &QPushButton::clicked, this, &LoginWindows::showModifyPwdWindow);
    connect(ui->admin_close_btn, &QPushButton::clicked, this, &QWidget::close);
}

void LoginWindows::showWindow()
{
    WindowKit::showInFront(this);
    ui->password_ld->setFocus(Qt::OtherFocusReason);
}

void LoginWindows::showModifyPwdWindow()
{
    WindowKit::showInFront(modifyPwdWindow);
}

void LoginWindows::setLoggedIn(bool loggedIn)
{
    ui->login_btn->setEnabled(!loggedIn);
    ui->logout_btn->setEnabled(loggedIn);
    ui->changepwd_btn->setEnabled(loggedIn);
}

void LoginWindows::login()
{
    const QString password = ui->password_ld->text();
    const bool opened = database.openDatabase();
    const QHash<QString, QString> user = opened ? database.queryUser(password) : QHash<QString, QString>();
    const QString failure = database.lastError();
    database.closeDatabase();

    if (user.isEmpty()) {
        // A file that cannot be read is not a wrong password.
        MessageBox box;
        box.setMessage(tr("Prompt"), failure.isEmpty() ? tr("The password is wrong, please confirm and re-enter!")
                                                       : tr("The user database cannot be read, please check the file database.db!"));
        box.exec();
        return;
    }

    bool isNumber = false;
    int mode = user.value(QStringLiteral("mode")).toInt(&isNumber);
    if (!isNumber)
        mode = -1; // a mode that is no number grants nothing
    emit userLogin(mode, user.value(QStringLiteral("type")));
    if (mode != keepButtonsMode)
        setLoggedIn(true);
    ui->password_ld->clear();
    close();
}

void LoginWindows::logout()
{
    emit userLogout();
    setLoggedIn(false);
}

void LoginWindows::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return;
    // A logout by button leaves the state at 1 with nobody logged in: Return
    // then logs in, as it does after a logout by Return.
    if (enterState == 1 && !ui->logout_btn->isEnabled())
        enterState = 0;
    if (enterState == 0) {
        login();
        if (!ui->login_btn->isEnabled())
            enterState = 1;
    } else {
        logout();
        enterState = 0;
    }
}

void LoginWindows::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        // Re-texting also empties the password field.
        ui->retranslateUi(this);
        ui->password_ld->clear();
        return;
    }
    QWidget::changeEvent(event);
}
