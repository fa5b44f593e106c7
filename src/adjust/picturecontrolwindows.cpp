#include "picturecontrolwindows.h"
#include "ui_picturecontrolwindows.h"

#include <QCloseEvent>

#include <array>

#include "adjustframes.h"
#include "configfile.h"
#include "globalobject.h"
#include "windowkit.h"

namespace {

using Form = Ui::PictureControlWindows;
using ButtonOf = QPushButton *Form::*;

// One adjustment row: its decrease and increase buttons (a fixed command has
// only the second), the instructions it sends, one frame each in this order,
// and the parameter of each frame for the increase button ('a' "add",
// 'r' "red"). The decrease button sends the opposite parameter in every
// frame; the grey row's increase button lowers all three channels.
struct AdjustRow
{
    ButtonOf minus;
    ButtonOf plus;
    const char *plusParams;
    std::array<const char *, 3> instructions;
};

const AdjustRow adjustRows[] = {
    {&Form::brightsub_btn, &Form::brightadd_btn, "a", {"light"}},
    {&Form::contrastsub_btn, &Form::contrastadd_btn, "a", {"contrast"}},
    {&Form::saturabilitysub_btn, &Form::saturabilityadd_btn, "a", {"chroma"}},
    {&Form::definitionsub_btn, &Form::definitionadd_btn, "a", {"definition"}},
    {&Form::huesub_btn, &Form::hueadd_btn, "a", {"hue"}},
    {&Form::hpositionsub_btn, &Form::hpositionadd_btn, "a", {"horizonta"}},
    {&Form::vpositionsub_btn, &Form::vpositionadd_btn, "a", {"vertical"}},
    {&Form::ipositionsub_btn, &Form::ipositionadd_btn, "a", {"hor_beginpos"}},
    {&Form::hsizesub_btn, &Form::hsizeadd_btn, "a", {"hor_size"}},
    {&Form::beginpossub_btn, &Form::beginposadd_btn, "a", {"ver_beginpos"}},
    {&Form::vsizesub_btn, &Form::vsizeadd_btn, "a", {"ver_size"}},
    {&Form::brightsub_btn2, &Form::brightadd_btn2, "a", {"v_light"}},
    {&Form::contrastsub_btn2, &Form::contrastadd_btn2, "a", {"v_gacon"}},
    {&Form::hpositionsub_btn2, &Form::hpositionadd_btn2, "a", {"v_hor_adjust"}},
    {&Form::vpositionsub_btn2, &Form::vpositionadd_btn2, "a", {"v_ver_adjust"}},
    {&Form::clocksub_btn, &Form::clockadd_btn, "a", {"clock_aj"}},
    {&Form::ppossub_btn, &Form::pposadd_btn, "a", {"phase_aj"}},
    {&Form::bredsub_btn, &Form::bredadd_btn, "a", {"adc_r_gain_aj"}},
    {&Form::bgreensub_btn, &Form::bgreenadd_btn, "a", {"adc_g_gain_aj"}},
    {&Form::bbluesub_btn, &Form::bblueadd_btn, "a", {"adc_b_gain_aj"}},
    {&Form::dredsub_btn, &Form::dredadd_btn, "a", {"adc_r_offset_aj"}},
    {&Form::dgreensub_btn, &Form::dgreenadd_btn, "a", {"adc_g_offset_aj"}},
    {&Form::dbluesub_btn, &Form::dblueadd_btn, "a", {"adc_b_offset_aj"}},
    {nullptr, &Form::autocolor_btn, "a", {"auto_color_aj"}},
    {nullptr, &Form::autopos_btn, "a", {"auto_local_aj"}},
    {&Form::brightsub_btn3, &Form::brightadd_btn3, "a", {"v_light"}},
    {&Form::contrastsub_btn3, &Form::contrastadd_btn3, "a", {"v_gacon"}},
    {&Form::hpositionsub_btn3, &Form::hpositionadd_btn3, "a", {"v_hor_adjust"}},
    {&Form::vpositionsub_btn3, &Form::vpositionadd_btn3, "a", {"v_ver_adjust"}},
    {&Form::bredsub_btn2, &Form::bredadd_btn2, "a", {"r_gain"}},
    {&Form::bgreensub_btn2, &Form::bgreenadd_btn2, "a", {"g_gain"}},
    {&Form::bbluesub_btn2, &Form::bblueadd_btn2, "a", {"b_gain"}},
    {&Form::byellowsub_btn, &Form::byellowadd_btn, "aar", {"r_gain", "g_gain", "b_gain"}},
    {&Form::bpurplesub_btn, &Form::bpurpleadd_btn, "ara", {"r_gain", "g_gain", "b_gain"}},
    {&Form::bcyansub_btn, &Form::bcyanadd_btn, "raa", {"r_gain", "g_gain", "b_gain"}},
    {&Form::bgraysub_btn, &Form::bgrayadd_btn, "rrr", {"r_gain", "g_gain", "b_gain"}},
    {&Form::dredsub_btn2, &Form::dredadd_btn2, "a", {"r_offset"}},
    {&Form::dgreensub_btn2, &Form::dgreenadd_btn2, "a", {"g_offset"}},
    {&Form::dbluesub_btn2, &Form::dblueadd_btn2, "a", {"b_offset"}},
    {&Form::dyellowsub_btn, &Form::dyellowadd_btn, "aar", {"r_offset", "g_offset", "b_offset"}},
    {&Form::dpurplesub_btn, &Form::dpurpleadd_btn, "ara", {"r_offset", "g_offset", "b_offset"}},
    {&Form::dcyansub_btn, &Form::dcyanadd_btn, "raa", {"r_offset", "g_offset", "b_offset"}},
    {&Form::dgraysub_btn, &Form::dgrayadd_btn, "rrr", {"r_offset", "g_offset", "b_offset"}},
    {&Form::blsub_btn, &Form::bladd_btn, "aa", {"back_light_aj", "back_light_aj_1"}},
    {nullptr, &Form::reset_btn, "a", {"sys_reset"}},
    {nullptr, &Form::save_btn, "a", {"save"}},
};

// The "Adjustment" button sends the three spin values as they stand.
struct ChannelValue
{
    QSpinBox *Form::*spin;
    const char *instruction;
};
const ChannelValue channelValues[] = {{&Form::r_sb, "R"}, {&Form::g_sb, "G"}, {&Form::b_sb, "B"}};

// The palette: one row of 36 swatches per colour family, white at column 0.
// The level of column i is 255 - 4i and fills every %1 of the style; the
// letters of the name's three-character prefix are the channels a click
// sends. The grey family's index runs from 36 down to 1 so that its value
// falls as the grey darkens.
struct SwatchFamily
{
    const char *nameTemplate;
    const char *styleTemplate;
    QHBoxLayout *Form::*row;
    bool descendingIndex;
    int clickFocusColumns;
};
const SwatchFamily swatchFamilies[] = {
    {"rg_color_%1", "background-color:rgb(255,255,%1);", &Form::horizontalLayout_4, false, 36},
    {"r_bcolor_%1", "background-color:rgb(255,%1,255);", &Form::horizontalLayout_5, false, 36},
    {"_gbcolor_%1", "background-color:rgb(%1,255,255);", &Form::horizontalLayout_7, false, 36},
    {"r__color_%1", "background-color:rgb(255,%1,%1);", &Form::horizontalLayout_6, false, 18},
    {"_g_color_%1", "background-color:rgb(%1,255,%1);", &Form::horizontalLayout_12, false, 0},
    {"__bcolor_%1", "background-color:rgb(%1,%1,255);", &Form::horizontalLayout_13, false, 0},
    {"rgbcolor_%1", "background-color:rgb(%1,%1,%1);", &Form::horizontalLayout_14, true, 0},
};
constexpr int swatchColumns = 36;
constexpr int swatchParamBase = 110;

const QString pictureGroup = QStringLiteral("PictureSetting");

} // namespace

PictureControlWindows::PictureControlWindows(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::PictureControlWindows)
{
    ui->setupUi(this);
    initForm();
    initConnect();
    initColorButtons();
    loadConfig();
    // What a close saves when the operator changed nothing.
    writeConfig(*ConfigFile::untouched());
}

PictureControlWindows::~PictureControlWindows() = default;

void PictureControlWindows::initForm()
{
    expanded = false;
    baseWidth = frameGeometry().width();
    WindowKit::setupFrameless(this);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
    GlobalObject::setLabelImage(ui->show_rgb_image_lb, QStringLiteral(":/images/staticfile/images/rgb.png"));
    ui->showrange_lb->setTextFormat(Qt::PlainText);
}

void PictureControlWindows::initConnect()
{
    connectAllButtons();
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->close_btn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->extend_btn, &QPushButton::clicked, this, &PictureControlWindows::pageTurning);
    for (QPushButton *button : {ui->autocolor_btn, ui->autopos_btn, ui->blsub_btn, ui->bladd_btn, ui->reset_btn,
                                ui->save_btn, ui->rgbadjust_btn})
        connect(button, &QPushButton::clicked, this, &PictureControlWindows::sendInstructionOperation);
}

void PictureControlWindows::connectAllButtons()
{
    for (QGroupBox *box : {ui->groupBox, ui->groupBox_2, ui->groupBox_3, ui->groupBox_4, ui->groupBox_5,
                           ui->groupBox_6, ui->groupBox_7, ui->groupBox_8, ui->groupBox_9})
        connectButtons(box->children());
}

void PictureControlWindows::connectButtons(const QObjectList &children)
{
    for (QObject *child : children) {
        if (!child->children().isEmpty())
            connectButtons(child->children());
        else if (auto *button = qobject_cast<QPushButton *>(child))
            connect(button, &QPushButton::clicked, this, &PictureControlWindows::sendInstructionOperation);
    }
}

void PictureControlWindows::initColorButtons()
{
    for (const SwatchFamily &family : swatchFamilies) {
        QHBoxLayout *row = ui.get()->*family.row;
        for (int column = 0; column < swatchColumns; ++column) {
            const QString name = QString::fromLatin1(family.nameTemplate).arg(column);
            colorIndexHash.insert(name, family.descendingIndex ? swatchColumns - column : column);
            const QString style = QString::fromLatin1(family.styleTemplate).arg(255 - 4 * column);

            auto *swatch = new QPushButton(row->parentWidget());
            swatch->setObjectName(name);
            swatch->setFixedSize(31, 31);
            if (column < family.clickFocusColumns)
                swatch->setFocusPolicy(Qt::ClickFocus);
            row->addWidget(swatch);
            // "background-color:rgb(" is 21 characters; three 3-digit levels follow.
            swatch->setToolTip(style.mid(21, 11));
            swatch->setStyleSheet(style);
            connect(swatch, &QPushButton::clicked, this, &PictureControlWindows::colorInstructionOperation);
        }
    }
}

void PictureControlWindows::setAdjustRange(const QString &first, const QString &last)
{
    ui->showrange_lb->setText(
        QStringLiteral("%1,%2 ~ %3,%4").arg(first.mid(0, 1), first.mid(1, 1), last.mid(0, 1), last.mid(1, 1)));
}

void PictureControlWindows::setResetEnabled(bool enabled)
{
    ui->reset_btn->setEnabled(enabled);
}

void PictureControlWindows::pageTurning()
{
    const int height = frameGeometry().height();
    expanded = !expanded;
    resize(expanded ? baseWidth * 1285 / 820 : baseWidth, height);
    ui->extend_btn->setText(expanded ? QStringLiteral("<<") : QStringLiteral(">>"));
}

void PictureControlWindows::sendInstructionOperation()
{
    const QObject *button = sender();
    if (!button)
        return;
    if (button == ui->rgbadjust_btn) {
        // Each value is read just before its own frame.
        for (const ChannelValue &channel : channelValues)
            AdjustFrames::sendCode(channel.instruction, AdjustFrames::byteText((ui.get()->*channel.spin)->value()));
        return;
    }
    for (const AdjustRow &row : adjustRows) {
        const bool minus = row.minus && button == ui.get()->*row.minus;
        if (!minus && button != ui.get()->*row.plus)
            continue;
        for (int i = 0; i < int(row.instructions.size()) && row.instructions[i]; ++i) {
            const bool add = (row.plusParams[i] == 'a') != minus;
            AdjustFrames::send(row.instructions[i], add ? "add" : "red");
        }
        return;
    }
}

void PictureControlWindows::colorInstructionOperation()
{
    const QObject *swatch = sender();
    if (!swatch)
        return;
    const QString name = swatch->objectName();
    const QString prefix = name.left(3);
    const QString param = QString::number(colorIndexHash.value(name) + swatchParamBase, 16).toUpper();
    const struct
    {
        QChar letter;
        const char *instruction;
    } channels[] = {{QLatin1Char('r'), "R"}, {QLatin1Char('g'), "G"}, {QLatin1Char('b'), "B"}};
    for (const auto &channel : channels) {
        if (prefix.contains(channel.letter))
            AdjustFrames::sendCode(channel.instruction, param);
    }
}

void PictureControlWindows::closeEvent(QCloseEvent *event)
{
    saveConfig();
    event->accept();
}

void PictureControlWindows::changeEvent(QEvent *event)
{
    if (event->type() != QEvent::LanguageChange) {
        QWidget::changeEvent(event);
        return;
    }
    const QString range = ui->showrange_lb->text();
    const QString extend = ui->extend_btn->text();
    ui->retranslateUi(this);
    ui->showrange_lb->setText(range);
    ui->extend_btn->setText(extend);
}

void PictureControlWindows::saveConfig()
{
    const auto settings = ConfigFile::open();
    writeConfig(*settings);
    ConfigFile::save(*settings);
}

void PictureControlWindows::writeConfig(ConfigFile::Settings &settings)
{
    settings.beginGroup(pictureGroup);
    settings.setValue(QStringLiteral("Red"), ui->r_sb->value());
    settings.setValue(QStringLiteral("Green"), ui->g_sb->value());
    settings.setValue(QStringLiteral("Blue"), ui->b_sb->value());
    settings.endGroup();
}

void PictureControlWindows::loadConfig()
{
    if (!ConfigFile::hasGroup(pictureGroup))
        return;
    const auto settings = ConfigFile::open();
    settings->beginGroup(pictureGroup);
    const int red = settings->value(QStringLiteral("Red")).toInt();
    const int green = settings->value(QStringLiteral("Green")).toInt();
    const int blue = settings->value(QStringLiteral("Blue")).toInt();
    settings->endGroup();
    ui->r_sb->setValue(red);
    ui->g_sb->setValue(green);
    ui->b_sb->setValue(blue);
}
