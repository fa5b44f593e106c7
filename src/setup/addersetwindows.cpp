#include "addersetwindows.h"
#include "ui_addersetwindows.h"

#include <QEvent>

#include "addresscommands.h"
#include "digitvalidator.h"
#include "globalobject.h"
#include "windowkit.h"

AdderSetWindows::AdderSetWindows(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::AdderSetWindows>())
{
    ui->setupUi(this);
    initForm();
    initConnect();
    initValidator();
}

AdderSetWindows::~AdderSetWindows() = default;

void AdderSetWindows::initForm()
{
    ui->num_le->setFocus();
    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOff);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void AdderSetWindows::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    for (QPushButton *button : {ui->setadder_btn, ui->getnum_btn, ui->lookadd_btn, ui->lock_btn,
                                ui->unlock_btn})
        connect(button, &QPushButton::clicked, this, &AdderSetWindows::sendInstructionOperation);
}

void AdderSetWindows::initValidator()
{
    QValidator *digits = digitValidator(QStringLiteral("^\\d{0,4}$"), this);
    ui->num_le->setValidator(digits);
    ui->x_le->setValidator(digits);
    ui->y_le->setValidator(digits);
}

void AdderSetWindows::showWindow()
{
    ui->num_le->setFocus(Qt::OtherFocusReason);
    WindowKit::showInFront(this);
}

void AdderSetWindows::sendInstructionOperation()
{
    using AddressCommands::Action;
    const struct
    {
        QObject *button;
        Action action;
    } buttons[] = {
        {ui->getnum_btn, Action::GetSequence}, {ui->lookadd_btn, Action::LookAddress},
        {ui->lock_btn, Action::Lock},          {ui->unlock_btn, Action::Unlock},
        {ui->setadder_btn, Action::SetAddress},
    };
    for (const auto &entry : buttons) {
        if (sender() != entry.button)
            continue;
        AddressCommands::perform(entry.action, ui->num_le->text(), ui->x_le->text(), ui->y_le->text());
        return;
    }
}

void AdderSetWindows::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        return;
    }
    QWidget::changeEvent(event);
}
