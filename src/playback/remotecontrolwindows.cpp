#include "remotecontrolwindows.h"
#include "ui_remotecontrolwindows.h"

#include <QEvent>

#include "globalobject.h"
#include "keycommands.h"
#include "windowkit.h"

namespace {

// OFF is the remote's own power key for the selected screens; ON is the
// direct power-on for every screen of the wall (pair "00" to "FF").
const KeyCommand remoteKeys[] = {
    {"off_btn", "vir_control", "vpower", false, 0},
    {"on_btn", "on_off", "pow_on", false, 2},
    {"adjust_btn", "vir_control", "vadjust", false, 0},
    {"mode_btn", "vir_control", "vmode", false, 0},
    {"up_btn", "vir_control", "vup", false, 0},
    {"menu_btn", "vir_control", "vmenu", false, 0},
    {"left_btn", "vir_control", "vleft", false, 0},
    {"enter_btn", "vir_control", "venter", false, 0},
    {"right_btn", "vir_control", "vrigth", false, 0},
    {"down_btn", "vir_control", "vdown", false, 0},
    {"exit_btn", "vir_control", "vexit", false, 0},
    {"play_btn", "vir_control", "vpaly", false, 0},
    {"pause_btn", "vir_control", "vpause", false, 0},
    {"pre_btn", "vir_control", "vpre", false, 0},
    {"next_btn", "vir_control", "vnext", false, 0},
};

} // namespace

RemoteControlWindows::RemoteControlWindows(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui_RemoteControl>())
{
    ui->setupUi(this);
    initForm();
    initConnect();
}

RemoteControlWindows::~RemoteControlWindows() = default;

void RemoteControlWindows::initForm()
{
    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOff);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void RemoteControlWindows::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    KeyCommands::connectAll(this, remoteKeys, &RemoteControlWindows::sendInstructionOperation);
}

void RemoteControlWindows::sendInstructionOperation()
{
    KeyCommands::send(sender(), remoteKeys);
}

void RemoteControlWindows::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        return;
    }
    QWidget::changeEvent(event);
}
