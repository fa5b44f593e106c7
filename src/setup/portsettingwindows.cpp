#include "portsettingwindows.h"
#include "ui_portsettingwindows.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QListView>
#include <QSerialPortInfo>

#include <algorithm>

#include "configfile.h"
#include "digitvalidator.h"
#include "globalobject.h"
#include "windowkit.h"

namespace {

const QString kGroup = QStringLiteral("PortConfig");

// Serial line settings of every port opened from the record: 9600 baud,
// 8 data bits, no parity, one stop bit, no flow control.
constexpr int kBaudRate = 9600;
constexpr int kDataBits8 = 3;
constexpr int kNoParity = 0;
constexpr int kOneStopBit = 0;
constexpr int kNoFlowControl = 0;

// Far more names than any machine has ports; "Port refresh" lists all found.
constexpr int kMaxStoredPorts = 256;

// A stored index that names no item falls back to the first one.
void setIndexOrFirst(QComboBox *box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : 0);
}

// 0 unticks, 1 ticks, any other stored value leaves the box as it is.
void applyStoredCheck(QCheckBox *box, int value)
{
    if (value == 0 || value == 1)
        box->setChecked(value == 1);
}

} // namespace

PortSettingWindows::PortSettingWindows(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::PortSettingWindows>())
{
    ui->setupUi(this);
    initForm();
    initConnect();
    initValidator();
    loadConfig();
    // What a close saves when the operator changed nothing.
    writeConfig(*ConfigFile::untouched());
}

PortSettingWindows::~PortSettingWindows() = default;

void PortSettingWindows::initForm()
{
    for (int i = 0; i < ui->lcd_port_cb->count(); ++i)
        comList.append(ui->lcd_port_cb->itemText(i));
    for (QComboBox *box : {ui->lcd_port_cb, ui->video_cb, ui->rvd_cb})
        box->setView(new QListView(box));

    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOff);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void PortSettingWindows::initConnect()
{
    connect(ui->pt_ok_btn, &QPushButton::clicked, this, &PortSettingWindows::sendSignal);
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    // By click, not by toggling: setting the mode from code must not come here.
    connect(ui->seri_rbtn, &QRadioButton::clicked, this, &PortSettingWindows::conn_type_choice);
    connect(ui->wire_rbtn, &QRadioButton::clicked, this, &PortSettingWindows::conn_type_choice);
    connect(ui->refresh_btn, &QPushButton::clicked, this, &PortSettingWindows::updataComList);
    connect(ui->vlink_cb, &QCheckBox::stateChanged, this, &PortSettingWindows::CheckStatus);
    connect(ui->dlink_cb, &QCheckBox::stateChanged, this, &PortSettingWindows::CheckStatus);
    // A window still open when the program ends keeps what the operator set.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        if (isVisible())
            saveConfig();
    });
}

void PortSettingWindows::initValidator()
{
    // Four dotted parts of 0 to 255. The validator matches the whole text,
    // so word-boundary look-aheads would only keep a full address from
    // counting as complete.
    const QString ipv4(QStringLiteral(
        "(((\\d{1,2})|(1\\d{1,2})|(2[0-4]\\d)|(25[0-5]))\\.){3}"
        "((\\d{1,2})|(1\\d{1,2})|(2[0-4]\\d)|(25[0-5]))"));
    // Every TCP port from 0 to 65535.
    const QString tcpPort(QStringLiteral(
        "([0-9]|[1-9]\\d{1,3}|[1-5]\\d{4}|6[0-4]\\d{3}|65[0-4]\\d{2}|655[0-2]\\d|6553[0-5])"));
    ui->addrip_lb->setValidator(digitValidator(ipv4, this));
    ui->port_lb->setValidator(digitValidator(tcpPort, this));
}

bool PortSettingWindows::isAutoOpen() const
{
    return ui->auto_cb->isChecked();
}

PortSettingRecord PortSettingWindows::getPortSetting()
{
    portSetting.wireless = ui->wire_rbtn->isChecked() ? 1 : 0;
    portSetting.baudRate = kBaudRate;
    portSetting.dataBitsIndex = kDataBits8;
    portSetting.parityIndex = kNoParity;
    portSetting.stopBitsIndex = kOneStopBit;
    portSetting.flowControlIndex = kNoFlowControl;
    // A port that is no number or does not fit 16 bits gives 0, on which the
    // connection fails, rather than some other port made of its low bits.
    bool ok = false;
    const uint port = ui->port_lb->text().toUInt(&ok);
    portSetting.tcpPort = ok && port <= 0xFFFF ? quint16(port) : quint16(0);
    portSetting.lcdPortName = ui->lcd_port_cb->currentText();
    portSetting.videoPortName = ui->video_cb->currentText();
    portSetting.rgbPortName = ui->rvd_cb->currentText();
    // An incomplete address ("127.0") would be completed by the resolver to
    // some other host; none at all fails with the wrong-address message.
    portSetting.ipAddress = ui->addrip_lb->hasAcceptableInput() ? ui->addrip_lb->text() : QString();
    portSetting.videoLink = ui->vlink_cb->isChecked();
    portSetting.rgbLink = ui->dlink_cb->isChecked();
    return portSetting;
}

QString PortSettingWindows::getPortDescription() const
{
    if (!ui->seri_rbtn->isChecked())
        return QStringLiteral("WIRELESS ");
    QString description = ui->lcd_port_cb->currentText() + QLatin1Char(' ');
    if (ui->vlink_cb->isChecked())
        description += ui->video_cb->currentText() + QLatin1Char(' ');
    if (ui->dlink_cb->isChecked())
        description += ui->rvd_cb->currentText() + QLatin1Char(' ');
    return description;
}

void PortSettingWindows::setWireless(bool wireless)
{
    ui->seri_rbtn->setChecked(!wireless);
    ui->wire_rbtn->setChecked(wireless);
    ui->wir_gb->setEnabled(wireless);
    ui->serialset_gb->setEnabled(!wireless);
}

void PortSettingWindows::conn_type_choice()
{
    setWireless(sender() != ui->seri_rbtn);
}

void PortSettingWindows::CheckStatus(int status)
{
    const bool linked = status != 0;
    if (sender() == ui->vlink_cb) {
        ui->label_4->setEnabled(linked);
        ui->video_cb->setEnabled(linked);
    } else if (sender() == ui->dlink_cb) {
        ui->label_5->setEnabled(linked);
        ui->rvd_cb->setEnabled(linked);
    }
}

QStringList PortSettingWindows::availablePortNames() const
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names.append(info.portName());
    return names;
}

void PortSettingWindows::updataComList()
{
    comList.clear();
    const QStringList names = availablePortNames();
    for (const QString &name : names) {
        qDebug().noquote() << QStringLiteral("Name: ") + name;
        comList.append(name);
    }
    // Plain character-code order: "COM10" comes before "COM2".
    std::sort(comList.begin(), comList.end());
    fillPortBoxes();
}

void PortSettingWindows::fillPortBoxes()
{
    for (QComboBox *box : {ui->lcd_port_cb, ui->video_cb, ui->rvd_cb}) {
        box->clear();
        box->addItems(comList);
    }
}

void PortSettingWindows::sendSignal()
{
    emit comSelectChange();
    close();
}

void PortSettingWindows::closeEvent(QCloseEvent *event)
{
    saveConfig();
    event->accept();
}

void PortSettingWindows::changeEvent(QEvent *event)
{
    // The port lists and the two edits hold no translated texts, so
    // re-texting leaves the operator's choices untouched.
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        return;
    }
    QWidget::changeEvent(event);
}

void PortSettingWindows::loadConfig()
{
    if (!ConfigFile::hasGroup(kGroup))
        return;
    const auto settings = ConfigFile::open();
    settings->beginGroup(kGroup);
    const int conMethod = settings->value(QStringLiteral("ConMethod"), 0).toInt();
    const int lcdPort = settings->value(QStringLiteral("LPort"), 0).toInt();
    const int videoPort = settings->value(QStringLiteral("VPort"), 0).toInt();
    const int rgbPort = settings->value(QStringLiteral("DPort"), 0).toInt();
    const int videoLink = settings->value(QStringLiteral("VLink"), 0).toInt();
    const int rgbLink = settings->value(QStringLiteral("DLink"), 0).toInt();
    const QString address = settings->value(QStringLiteral("Addr")).toString();
    const QString port = settings->value(QStringLiteral("Port")).toString();
    const int autoOpen = settings->value(QStringLiteral("AutoOpen"), 0).toInt();
    const QStringList storedPorts = ConfigFile::readArray(*settings, QStringLiteral("ComList"),
                                                          QStringLiteral("Com"), QStringLiteral("1"),
                                                          kMaxStoredPorts);
    if (!storedPorts.isEmpty())
        comList = storedPorts;
    settings->endGroup();

    fillPortBoxes();
    setIndexOrFirst(ui->lcd_port_cb, lcdPort);
    setIndexOrFirst(ui->video_cb, videoPort);
    setIndexOrFirst(ui->rvd_cb, rgbPort);
    // The link dials what these two fields hold. A refused address or port
    // leaves its field empty rather than the form's bridge, which the
    // operator never gave: the opening fails with its message, and a close
    // stores nothing that a later start would dial.
    setStoredTextOrNothing(ui->addrip_lb, address);
    setStoredTextOrNothing(ui->port_lb, port);
    if (conMethod == 0 || conMethod == 1)
        setWireless(conMethod == 1);
    // Ticking a linkage box enables its port box through CheckStatus.
    applyStoredCheck(ui->vlink_cb, videoLink);
    applyStoredCheck(ui->dlink_cb, rgbLink);
    applyStoredCheck(ui->auto_cb, autoOpen);
}

void PortSettingWindows::saveConfig()
{
    const auto settings = ConfigFile::open();
    writeConfig(*settings);
    ConfigFile::save(*settings);
}

void PortSettingWindows::writeConfig(ConfigFile::Settings &settings)
{
    const int conMethod = ui->seri_rbtn->isChecked() ? 0 : 1;
    QStringList ports;
    for (int i = 0; i < ui->lcd_port_cb->count(); ++i)
        ports.append(ui->lcd_port_cb->itemText(i));

    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("ConMethod"), conMethod);
    settings.setValue(QStringLiteral("LPort"), ui->lcd_port_cb->currentIndex());
    settings.setValue(QStringLiteral("VPort"), ui->video_cb->currentIndex());
    settings.setValue(QStringLiteral("DPort"), ui->rvd_cb->currentIndex());
    settings.setValue(QStringLiteral("VLink"), ui->vlink_cb->isChecked() ? 1 : 0);
    settings.setValue(QStringLiteral("DLink"), ui->dlink_cb->isChecked() ? 1 : 0);
    settings.setValue(QStringLiteral("Addr"), ui->addrip_lb->text());
    settings.setValue(QStringLiteral("Port"), ui->port_lb->text());
    settings.setValue(QStringLiteral("AutoOpen"), ui->auto_cb->isChecked() ? 1 : 0);
    // Drop the old elements so that a shorter list leaves none behind.
    settings.remove(QStringLiteral("ComList"));
    settings.beginWriteArray(QStringLiteral("ComList"), ports.size());
    for (int i = 0; i < ports.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("Com"), ports.at(i));
    }
    settings.endArray();
    settings.endGroup();
}
