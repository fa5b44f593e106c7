// The login, about, rename and debug windows: created once, shown on demand,
// and what their signals reach.

#include "velmar_windows.h"
#include "ui_velmar_windows.h"

#include <QLineEdit>

#include "aboutdialog.h"
#include "changenamewindows.h"
#include "debugwindows.h"
#include "loginwindows.h"
#include "windowkit.h"

void Velmar_Windows::createAccountWindows()
{
    // Like every child window: no parent, alive until the program ends.
    loginWindow = new LoginWindows;
    aboutWindow = new AboutDialog;
    sceneNameWindows = new ChangeNameWindows;
    inputNameWindows = new ChangeNameWindows;
    debugWindow = new DebugWindows;
}

void Velmar_Windows::connectAccountWindows()
{
    connect(ui->admin_btn, &QToolButton::clicked, this, &Velmar_Windows::showLoginWindow);
    connect(ui->about_btn, &QToolButton::clicked, this, &Velmar_Windows::showAboutWindow);
    connect(ui->name_btn, &QPushButton::clicked, this, &Velmar_Windows::showChangeNameWindow);
    connect(ui->manual_debug_btn, &QPushButton::clicked, this, &Velmar_Windows::showDebugWindow);
    connect(sceneNameWindows, &ChangeNameWindows::setname, this, &Velmar_Windows::updateSceneName);
    connect(inputNameWindows, &ChangeNameWindows::setname, this, &Velmar_Windows::updateMInputName);
    connect(loginWindow, &LoginWindows::userLogin, this, &Velmar_Windows::userLoginChange);
    connect(loginWindow, &LoginWindows::userLogout, this, &Velmar_Windows::userLogoutChange);
}

void Velmar_Windows::showLoginWindow()
{
    loginWindow->showWindow();
}

void Velmar_Windows::showAboutWindow()
{
    WindowKit::showInFront(aboutWindow);
}

void Velmar_Windows::showChangeNameWindow()
{
    sceneNameWindows->setCurrentName(ui->scene_cb->currentText());
    WindowKit::showInFront(sceneNameWindows);
}

void Velmar_Windows::showDebugWindow()
{
    debugWindow->showWindow();
}

// A double-click on the matrix input box renames the input, while the box
// is in use for linked switching.
void Velmar_Windows::showInputNameWindow()
{
    if (!ui->matrix_type_cb->isEnabled())
        return;
    ui->matrix_type_cb->lineEdit()->selectAll();
    inputNameWindows->setCurrentName(ui->matrix_type_cb->currentText());
    WindowKit::showInFront(inputNameWindows);
}
