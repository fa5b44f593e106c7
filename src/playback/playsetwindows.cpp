#include "playsetwindows.h"
#include "ui_playsetwindows.h"

#include <QEvent>

#include "globalobject.h"
#include "keycommands.h"
#include "windowkit.h"

namespace {

// All under "vir_control"; a literal parameter is sent as it stands.
const KeyCommand playKeys[] = {
    {"cycle_btn", "vir_control", "21", true, 0},
    {"manual_btn", "vir_control", "20", true, 0},
    {"pic_rbtn", "vir_control", "picture_model", false, 0},
    {"video_rbtn", "vir_control", "video_model", false, 0},
    {"deg_rbtn0", "vir_control", "deg0", false, 0},
    {"deg_rbtn1", "vir_control", "deg1", false, 0},
    {"deg_rbtn2", "vir_control", "deg2", false, 0},
    {"deg_rbtn3", "vir_control", "deg3", false, 0},
    {"no1_btn", "vir_control", "31", true, 0},
    {"no2_btn", "vir_control", "32", true, 0},
    {"no3_btn", "vir_control", "33", true, 0},
    {"no4_btn", "vir_control", "34", true, 0},
    {"no5_btn", "vir_control", "35", true, 0},
    {"no6_btn", "vir_control", "36", true, 0},
    {"no7_btn", "vir_control", "37", true, 0},
    {"no8_btn", "vir_control", "38", true, 0},
    {"no9_btn", "vir_control", "39", true, 0},
    {"no10_btn", "vir_control", "3A", true, 0},
    {"no11_btn", "vir_control", "3B", true, 0},
    {"no12_btn", "vir_control", "3C", true, 0},
    {"no13_btn", "vir_control", "3D", true, 0},
    {"no14_btn", "vir_control", "3E", true, 0},
    {"no15_btn", "vir_control", "3F", true, 0},
    {"no16_btn", "vir_control", "40", true, 0},
    {"auto_btn", "vir_control", "30", true, 0},
    {"up_btn", "vir_control", "vup", false, 0},
    {"down_btn", "vir_control", "vdown", false, 0},
    {"left_btn", "vir_control", "vleft", false, 0},
    {"right_btn", "vir_control", "vrigth", false, 0},
    {"enter_btn", "vir_control", "venter", false, 0},
    {"play_btn", "vir_control", "vpaly", false, 0},
    {"pause_btn", "vir_control", "vpause", false, 0},
    {"pre_btn", "vir_control", "vpre", false, 0},
    {"next_btn", "vir_control", "vnext", false, 0},
    {"exit_btn", "vir_control", "vexit", false, 0},
};

} // namespace

PlaySetWindows::PlaySetWindows(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::PlaySetWindows>())
{
    ui->setupUi(this);
    initForm();
    initConnect();
}

PlaySetWindows::~PlaySetWindows() = default;

void PlaySetWindows::initForm()
{
    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOff);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void PlaySetWindows::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    KeyCommands::connectAll(this, playKeys, &PlaySetWindows::sendInstructionOperation);
}

void PlaySetWindows::sendInstructionOperation()
{
    KeyCommands::send(sender(), playKeys);
}

void PlaySetWindows::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        return;
    }
    QWidget::changeEvent(event);
}
