#include "aboutdialog.h"
#include "ui_aboutdialog.h"

#include <QEvent>

#include "communication.h"
#include "globalobject.h"
#include "windowkit.h"

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::AboutDialog>())
{
    ui->setupUi(this);
    initForm();
    initConnect();
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::initForm()
{
    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOff);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void AboutDialog::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->look_pbtn, &QPushButton::clicked, this, &AboutDialog::sendInstructionOperation);
}

void AboutDialog::sendInstructionOperation()
{
    sendLcdCommand(GlobalObject::instructionHash.value(QStringLiteral("version")),
                   GlobalObject::instructionHash.value(QStringLiteral("update")), false, 0);
}

void AboutDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        return;
    }
    QDialog::changeEvent(event);
}
