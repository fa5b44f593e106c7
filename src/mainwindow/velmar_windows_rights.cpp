// What a login unlocks, and the permission shown in the status strip.

#include "velmar_windows.h"
#include "ui_velmar_windows.h"

#include <QAction>

#include "globalobject.h"

void Velmar_Windows::userLoginChange(int mode, QString type)
{
    if (languageIndex)
        permissionText = type;
    else
        permissionText = type == QStringLiteral("用户") ? QStringLiteral("User") : QStringLiteral("Administrator");
    ui->usertype_lb->setText(tr("Permission : %1").arg(permissionText));

    switch (mode) {
    case 0:
    case 1:
    case 3:
        ui->com_textedit->clear();
        ui->mat_set_btn->setEnabled(true);
        if (mode == 3) {
            ui->play_set_btn->setEnabled(true);
            ui->control_btn->setEnabled(true);
        }
        imageAdjustAction->setEnabled(true);
        if (mode != 0)
            ui->stackedWidget->setCurrentIndex(1);
        break;
    case 2:
        stitchingEnabled = true;
        break;
    default:
        break;
    }
}

void Velmar_Windows::userLogoutChange()
{
    permissionText = languageIndex ? QStringLiteral("用户") : QStringLiteral("User");
    ui->usertype_lb->setText(tr("Permission : %1").arg(permissionText));
    ui->mat_set_btn->setEnabled(false);
    ui->play_set_btn->setEnabled(false);
    ui->control_btn->setEnabled(false);
    imageAdjustAction->setEnabled(false);
    ui->stackedWidget->setCurrentIndex(0);
}
