#include "modifypwdwindows.h"
#include "ui_modifypwdwindows.h"

#include <QCloseEvent>
#include <QDebug>

#include "globalobject.h"
#include "messagebox.h"
#include "windowkit.h"

ModifyPwdWindows::ModifyPwdWindows(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::ModifyPwdWindows>())
{
    ui->setupUi(this);
    initForm();
    initConnect();
    database.connectDatabase();
    database.closeDatabase();
}

ModifyPwdWindows::~ModifyPwdWindows() = default;

void ModifyPwdWindows::initForm()
{
    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOff);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void ModifyPwdWindows::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->close_btn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->modify_btn, &QPushButton::clicked, this, &ModifyPwdWindows::modifyPwd);
}

void ModifyPwdWindows::modifyPwd()
{
    const QString oldPassword = ui->opwd_le->text();
    const QString newPassword = ui->npwd_le->text();
    const QString confirmation = ui->npwd2_le->text();

    const QString message = database.openDatabase()
                                ? changePassword(oldPassword, newPassword, confirmation)
                                : tr("The user database cannot be read, please check the file database.db!");
    database.closeDatabase();

    MessageBox box;
    box.setMessage(tr("Prompt"), message);
    box.exec();
}

QString ModifyPwdWindows::changePassword(const QString &oldPassword, const QString &newPassword,
                                         const QString &confirmation)
{
    const QString unreadable = tr("The user database cannot be read, please check the file database.db!");
    if (!database.checkPassword(oldPassword)) {
        return database.lastError().isEmpty() ? tr("Please confirm that the original password is entered correctly!")
                                              : unreadable;
    }
    qDebug().noquote() << "数据存在";
    if (newPassword.isEmpty() && confirmation.isEmpty())
        return tr("Please confirm that the new password is not empty!");
    if (newPassword.isEmpty() || confirmation.isEmpty())
        return tr("The new password is incomplete!");
    if (newPassword != confirmation)
        return tr("The new passwords do not match!");
    // Login is by password alone: two accounts with one password would make
    // one of them unreachable.
    if (newPassword != oldPassword && database.checkPassword(newPassword))
        return tr("The new password is already used by another account, please choose another one!");
    if (!database.lastError().isEmpty())
        return unreadable;
    // A write that another program's lock refused may go through later; one
    // that the file made too long or too large will not.
    if (!database.updatePassword(oldPassword, newPassword))
        return database.hitBound() ? unreadable : tr("The password could not be saved in the user database!");
    return tr("Successfully modified!");
}

void ModifyPwdWindows::closeEvent(QCloseEvent *event)
{
    ui->opwd_le->clear();
    ui->npwd_le->clear();
    ui->npwd2_le->clear();
    event->accept();
}

void ModifyPwdWindows::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        return;
    }
    QWidget::changeEvent(event);
}
