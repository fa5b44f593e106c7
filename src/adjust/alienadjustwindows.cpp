#include "alienadjustwindows.h"
#include "ui_alienadjustwindows.h"

#include <QCloseEvent>
#include <QDebug>

#include <cmath>
#include <limits>

#include "adjustframes.h"
#include "configfile.h"
#include "digitvalidator.h"
#include "globalobject.h"
#include "windowkit.h"

namespace {

using Form = Ui::AlienAdjustWindows;

const QString alienGroup = QStringLiteral("AlienSetting");

// The twelve texts of the window, in the order they are stored and loaded:
// the results first, so that loaded inputs recompute them afterwards.
const struct
{
    const char *key;
    QLineEdit *Form::*edit;
} storedTexts[] = {
    {"HorizontalStart", &Form::had_le}, {"HorizontalSize", &Form::hsize_le},
    {"VerticalStart", &Form::vad_le},   {"VerticalSize", &Form::vsize_ld},
    {"WResolution", &Form::RW},         {"HResolution", &Form::RH},
    {"TotalLenghtL", &Form::PL},        {"TotalLenghtH", &Form::PH},
    {"SingleLenghtL", &Form::OPL},      {"SingleLenghtH", &Form::OPH},
    {"IntervalLength", &Form::IL},      {"IntervalHeight", &Form::IH},
};

// Each result's "Apply" button and the instruction pair that carries it.
const struct
{
    QPushButton *Form::*button;
    QLineEdit *Form::*result;
    const char *high;
    const char *low;
} resultSends[] = {
    {&Form::hok_btn, &Form::had_le, "hor_begin_adjust", "hor_begin_adjust1"},
    {&Form::hsizeok_btn, &Form::hsize_le, "hor_size_adjust", "hor_size_adjust1"},
    {&Form::vok_btn, &Form::vad_le, "ver_begin_adjust", "ver_begin_adjust1"},
    {&Form::vsizeok_btn, &Form::vsize_ld, "ver_size_adjust", "ver_size_adjust1"},
};

constexpr int largestValue = 0xFFFF;

} // namespace

AlienAdjustWindows::AlienAdjustWindows(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::AlienAdjustWindows)
{
    ui->setupUi(this);
    initForm();
    initConnect();
    initValidator();
    loadConfig();
    // What a close saves when the operator changed nothing.
    writeConfig(*ConfigFile::untouched());
}

AlienAdjustWindows::~AlienAdjustWindows() = default;

void AlienAdjustWindows::initForm()
{
    WindowKit::setupFrameless(this);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void AlienAdjustWindows::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->startadjust_cb, &QCheckBox::stateChanged, this, &AlienAdjustWindows::changeEnabled);
    for (const auto &send : resultSends)
        connect(ui.get()->*send.button, &QPushButton::clicked, this, &AlienAdjustWindows::sendInstructionOperation);
    for (QLineEdit *input : {ui->RW, ui->RH, ui->PL, ui->PH, ui->OPL, ui->OPH, ui->IL, ui->IH})
        connect(input, &QLineEdit::textChanged, this, &AlienAdjustWindows::calculateAdjustValue);
}

void AlienAdjustWindows::initValidator()
{
    QValidator *results = digitValidator(QStringLiteral("^\\d{4}$"), this);
    for (const auto &send : resultSends)
        (ui.get()->*send.result)->setValidator(results);
    // Resolutions may carry a fraction, lengths are whole numbers; nine
    // digits keep every length within what toInt reads.
    QValidator *resolutions = digitValidator(QStringLiteral("^\\d{1,9}(\\.\\d{1,6})?$"), this);
    for (QLineEdit *input : {ui->RW, ui->RH})
        input->setValidator(resolutions);
    QValidator *lengths = digitValidator(QStringLiteral("^\\d{1,9}$"), this);
    for (QLineEdit *input : {ui->PL, ui->PH, ui->OPL, ui->OPH, ui->IL, ui->IH})
        input->setValidator(lengths);
}

QString AlienAdjustWindows::shareText(double size, int part, int total)
{
    if (total == 0)
        return QString();
    // Product first, one division: the quotient first loses a pixel
    // (13 * 1440 / 20 is 936, not 935).
    const double share = std::trunc(size * part / total);
    if (!std::isfinite(share) || share < 0 || share > std::numeric_limits<int>::max())
        return QString();
    return QString::number(qint64(share));
}

void AlienAdjustWindows::calculateAdjustValue()
{
    const double width = ui->RW->text().toDouble();
    const double height = ui->RH->text().toDouble();
    const int totalL = ui->PL->text().toInt();
    const int totalH = ui->PH->text().toInt();
    ui->had_le->setText(shareText(width, ui->IL->text().toInt(), totalL));
    ui->hsize_le->setText(shareText(width, ui->OPL->text().toInt(), totalL));
    ui->vad_le->setText(shareText(height, ui->IH->text().toInt(), totalH));
    ui->vsize_ld->setText(shareText(height, ui->OPH->text().toInt(), totalH));
    qDebug() << ui->had_le->text() << "," << ui->hsize_le->text() << "," << ui->vad_le->text() << ","
             << ui->vsize_ld->text();
}

void AlienAdjustWindows::sendInstructionOperation()
{
    for (const auto &send : resultSends) {
        if (sender() != ui.get()->*send.button)
            continue;
        bool ok = false;
        const int value = (ui.get()->*send.result)->text().toInt(&ok);
        // Two bytes are all the controllers take: anything else sends nothing.
        if (ok && value >= 0 && value <= largestValue)
            sendPair({send.high, send.low, value});
        return;
    }
}

void AlienAdjustWindows::sendPair(const Pair &pair)
{
    pendingPairs.append(pair);
    // A send processes events while it waits; an Apply that arrives then is
    // queued behind the pair on its way and goes out from here.
    if (sendingPair)
        return;
    sendingPair = true;
    while (!pendingPairs.isEmpty()) {
        const Pair next = pendingPairs.takeFirst();
        AdjustFrames::sendCode(next.high, AdjustFrames::byteText(next.value >> 8));
        AdjustFrames::sendCode(next.low, AdjustFrames::byteText(next.value & 0xFF));
    }
    sendingPair = false;
}

void AlienAdjustWindows::changeEnabled(int status)
{
    if (status != Qt::Checked && status != Qt::Unchecked)
        return;
    const bool on = status == Qt::Checked;
    ui->Alienadjust_gb->setEnabled(on);
    AdjustFrames::send("Different_adjust", on ? "pow_on" : "pow_off");
}

void AlienAdjustWindows::closeEvent(QCloseEvent *event)
{
    saveConfig();
    event->accept();
}

void AlienAdjustWindows::changeEvent(QEvent *event)
{
    if (event->type() != QEvent::LanguageChange) {
        QWidget::changeEvent(event);
        return;
    }
    QStringList texts;
    for (const auto &stored : storedTexts)
        texts.append((ui.get()->*stored.edit)->text());
    ui->retranslateUi(this);
    // Re-texting resets the inputs, which recomputes the results: put all
    // twelve back without a further computation.
    for (int i = 0; i < texts.size(); ++i) {
        QLineEdit *edit = ui.get()->*storedTexts[i].edit;
        const QSignalBlocker editBlocker(edit);
        edit->setText(texts.at(i));
    }
}

void AlienAdjustWindows::saveConfig()
{
    const auto settings = ConfigFile::open();
    writeConfig(*settings);
    ConfigFile::save(*settings);
}

void AlienAdjustWindows::writeConfig(ConfigFile::Settings &settings)
{
    settings.beginGroup(alienGroup);
    for (const auto &stored : storedTexts)
        settings.setValue(QLatin1String(stored.key), (ui.get()->*stored.edit)->text());
    settings.endGroup();
}

void AlienAdjustWindows::loadConfig()
{
    if (!ConfigFile::hasGroup(alienGroup))
        return;
    const auto settings = ConfigFile::open();
    settings->beginGroup(alienGroup);
    QStringList texts;
    for (const auto &stored : storedTexts)
        texts.append(settings->value(QLatin1String(stored.key)).toString());
    settings->endGroup();
    // Every text keeps to what could be typed into its field: a negative
    // length or a digit of another script would reach the wire, and a
    // result the inputs do not recompute (they were refused) would be sent
    // by its Apply as it stands. The results come first, so that loaded
    // inputs recompute them afterwards.
    for (int i = 0; i < texts.size(); ++i)
        setStoredText(ui.get()->*storedTexts[i].edit, texts.at(i));
}
