#include "timingsetwindows.h"
#include "ui_timingsetwindows.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QListView>
#include <QTimerEvent>

#include <initializer_list>

#include "communication.h"
#include "configfile.h"
#include "globalobject.h"
#include "windowkit.h"

namespace {

const QString kGroup = QStringLiteral("TimingConfig");
const int onceMode = 1;

} // namespace

TimingSetWindows::TimingSetWindows(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TimingSetWindows>())
    , clock(&QDateTime::currentDateTime)
{
    ui->setupUi(this);
    initForm();
    // Connected before loading: a stored ticked switch enables the fields.
    initConnect();
    loadConfig();
    // What a close saves when the operator changed nothing.
    writeConfig(*ConfigFile::untouched());
}

TimingSetWindows::~TimingSetWindows() = default;

void TimingSetWindows::setClock(Clock newClock)
{
    clock = std::move(newClock);
}

void TimingSetWindows::initForm()
{
    ui->model_cb->setView(new QListView(ui->model_cb));
    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOff);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void TimingSetWindows::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->close_btn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->starttime_btn, &QPushButton::clicked, this, &TimingSetWindows::applyTiming);
    connect(ui->on_off_btn, &QCheckBox::stateChanged, this, &TimingSetWindows::changeEnabled);
    // A window still open when the program ends keeps what the operator set.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        if (isVisible())
            saveConfig();
    });
}

void TimingSetWindows::applyTiming()
{
    if (ui->on_off_btn->isChecked() && timerId == 0) {
        timerId = startTimer(1000, Qt::CoarseTimer);
    } else {
        if (timerId != 0)
            killTimer(timerId);
        timerId = 0;
    }
    close();
}

void TimingSetWindows::changeEnabled(int state)
{
    if (state != Qt::Unchecked && state != Qt::Checked)
        return;
    for (QWidget *field : std::initializer_list<QWidget *>{ui->model_cb, ui->bhour_sb, ui->bminute_sb,
                                                           ui->shour_sb, ui->smimute_sb})
        field->setEnabled(state == Qt::Checked);
}

void TimingSetWindows::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != timerId || timerId == 0) {
        QWidget::timerEvent(event);
        return;
    }
    scheduleTick();
}

bool TimingSetWindows::falls(const QDateTime &now, int hour, int minute, QDateTime &lastFired)
{
    const QTime time = now.time();
    const QDateTime thisMinute(now.date(), QTime(time.hour(), time.minute()));
    if (time.hour() != hour || time.minute() != minute || lastFired == thisMinute)
        return false;
    lastFired = thisMinute;
    return true;
}

void TimingSetWindows::scheduleTick()
{
    const QDateTime now = clock();
    const bool once = ui->model_cb->currentIndex() == onceMode;

    // Marked as fired before sending: the paced wait after the frame runs
    // events, and a tick inside it must not send the same event again.
    if (falls(now, ui->bhour_sb->value(), ui->bminute_sb->value(), onFiredAt) && sendPower("pow_on"))
        onSent = true;
    if (falls(now, ui->shour_sb->value(), ui->smimute_sb->value(), offFiredAt) && sendPower("pow_off"))
        offSent = true;

    if (!(onSent && offSent))
        return;
    onSent = false;
    offSent = false;
    // The operator may have stopped the schedule during a send: the id
    // that counts is the one held now.
    if (once && timerId != 0) {
        killTimer(timerId);
        timerId = 0;
    }
}

bool TimingSetWindows::sendPower(const char *param)
{
    return sendLcdCommand(GlobalObject::instructionHash.value(QStringLiteral("on_off")),
                          GlobalObject::instructionHash.value(QLatin1String(param)), false, 1);
}

void TimingSetWindows::loadConfig()
{
    if (!ConfigFile::hasGroup(kGroup))
        return;
    const auto settings = ConfigFile::open();
    settings->beginGroup(kGroup);
    const int model = settings->value(QStringLiteral("Model")).toInt();
    const int startHour = settings->value(QStringLiteral("StartHour")).toInt();
    const int startMin = settings->value(QStringLiteral("StartMin")).toInt();
    const int endHour = settings->value(QStringLiteral("EndHour")).toInt();
    const int endMin = settings->value(QStringLiteral("EndMin")).toInt();
    const int onOff = settings->value(QStringLiteral("Switch")).toInt();
    settings->endGroup();

    // A repeat type the list does not hold reads as "Everyday".
    ui->model_cb->setCurrentIndex(model >= 0 && model < ui->model_cb->count() ? model : 0);
    ui->bhour_sb->setValue(startHour);
    ui->bminute_sb->setValue(startMin);
    ui->shour_sb->setValue(endHour);
    ui->smimute_sb->setValue(endMin);
    if (onOff == 0)
        ui->on_off_btn->setChecked(false);
    else if (onOff == 1)
        ui->on_off_btn->setChecked(true);
}

void TimingSetWindows::saveConfig()
{
    const auto settings = ConfigFile::open();
    writeConfig(*settings);
    ConfigFile::save(*settings);
}

void TimingSetWindows::writeConfig(ConfigFile::Settings &settings)
{
    const int model = ui->model_cb->currentIndex();
    const int startHour = ui->bhour_sb->value();
    const int startMin = ui->bminute_sb->value();
    const int endHour = ui->shour_sb->value();
    const int endMin = ui->smimute_sb->value();
    const int onOff = ui->on_off_btn->isChecked() ? 1 : 0;

    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("Model"), model);
    settings.setValue(QStringLiteral("StartHour"), startHour);
    settings.setValue(QStringLiteral("StartMin"), startMin);
    settings.setValue(QStringLiteral("EndHour"), endHour);
    settings.setValue(QStringLiteral("EndMin"), endMin);
    settings.setValue(QStringLiteral("Switch"), onOff);
    settings.endGroup();
}

void TimingSetWindows::closeEvent(QCloseEvent *event)
{
    saveConfig();
    event->accept();
}

void TimingSetWindows::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        const int model = ui->model_cb->currentIndex();
        ui->retranslateUi(this);
        ui->model_cb->setCurrentIndex(model);
        return;
    }
    QWidget::changeEvent(event);
}
