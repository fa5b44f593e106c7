#include "edgemeltingwindows.h"
#include "ui_edgemeltingwindows.h"

#include <QCloseEvent>

#include "adjustframes.h"
#include "configfile.h"
#include "globalobject.h"
#include "windowkit.h"

namespace {

const QString edgeGroup = QStringLiteral("EdgeSetting");

} // namespace

EdgeMeltingWindows::EdgeMeltingWindows(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::EdgeMeltingWindows)
{
    ui->setupUi(this);
    initForm();
    // Connected before loading, so that a loaded amount moves its slider.
    initConnect();
    loadConfig();
    // What a close saves when the operator changed nothing.
    writeConfig(*ConfigFile::untouched());
}

EdgeMeltingWindows::~EdgeMeltingWindows() = default;

void EdgeMeltingWindows::initForm()
{
    WindowKit::setupFrameless(this);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void EdgeMeltingWindows::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->enable_cb, &QCheckBox::stateChanged, this, &EdgeMeltingWindows::changeEnable);
    connect(ui->hadjust_sb, QOverload<int>::of(&QSpinBox::valueChanged), this, &EdgeMeltingWindows::updateSdValue);
    connect(ui->vadjust_sb, QOverload<int>::of(&QSpinBox::valueChanged), this, &EdgeMeltingWindows::updateSdValue);
    connect(ui->hadjust_sd, &QSlider::valueChanged, this, &EdgeMeltingWindows::updateSbValue);
    connect(ui->vadjust_sd, &QSlider::valueChanged, this, &EdgeMeltingWindows::updateSbValue);
    connect(ui->apply_btn, &QPushButton::clicked, this, &EdgeMeltingWindows::sendInstructionOperation);
}

void EdgeMeltingWindows::changeEnable(int status)
{
    if (status == Qt::Checked || status == Qt::Unchecked)
        ui->fuseadjust_gb->setEnabled(status == Qt::Checked);
}

void EdgeMeltingWindows::updateSbValue(int value)
{
    if (sender() == ui->hadjust_sd)
        ui->hadjust_sb->setValue(value);
    else if (sender() == ui->vadjust_sd)
        ui->vadjust_sb->setValue(value);
}

void EdgeMeltingWindows::updateSdValue(int value)
{
    if (sender() == ui->hadjust_sb)
        ui->hadjust_sd->setValue(value);
    else if (sender() == ui->vadjust_sb)
        ui->vadjust_sd->setValue(value);
}

void EdgeMeltingWindows::sendInstructionOperation()
{
    // The vertical amount is read only after the horizontal frame's pause.
    AdjustFrames::sendCode("hor_border_aj", AdjustFrames::byteText(ui->hadjust_sd->value()));
    AdjustFrames::sendCode("ver_border_aj", AdjustFrames::byteText(ui->vadjust_sd->value()));
}

void EdgeMeltingWindows::closeEvent(QCloseEvent *event)
{
    saveConfig();
    event->accept();
}

void EdgeMeltingWindows::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        return;
    }
    QWidget::changeEvent(event);
}

void EdgeMeltingWindows::saveConfig()
{
    const auto settings = ConfigFile::open();
    writeConfig(*settings);
    ConfigFile::save(*settings);
}

void EdgeMeltingWindows::writeConfig(ConfigFile::Settings &settings)
{
    settings.beginGroup(edgeGroup);
    settings.setValue(QStringLiteral("HAdjust"), ui->hadjust_sb->value());
    settings.setValue(QStringLiteral("VAdjust"), ui->vadjust_sb->value());
    settings.endGroup();
}

void EdgeMeltingWindows::loadConfig()
{
    if (!ConfigFile::hasGroup(edgeGroup))
        return;
    const auto settings = ConfigFile::open();
    settings->beginGroup(edgeGroup);
    const int horizontal = settings->value(QStringLiteral("HAdjust")).toInt();
    const int vertical = settings->value(QStringLiteral("VAdjust")).toInt();
    settings->endGroup();
    ui->hadjust_sb->setValue(horizontal);
    ui->vadjust_sb->setValue(vertical);
}
