#include "fontsetwindows.h"
#include "ui_fontsetwindows.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFontDialog>
#include <QListView>
#include <QPixmap>

#include "configfile.h"
#include "globalobject.h"
#include "rollcaptionwindows.h"
#include "windowkit.h"

namespace {

const QString kGroup = QStringLiteral("FontSetting");
const QSize swatchSize(70, 20);

} // namespace

FontSetWindows::FontSetWindows(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::FontSetWindows>())
{
    ui->setupUi(this);
    initForm();
    initConnect();
    loadConfig();
    // What a close saves when the operator changed nothing.
    writeConfig(*ConfigFile::untouched());
}

FontSetWindows::~FontSetWindows() = default;

void FontSetWindows::initForm()
{
    // The stored index means a position in the toolkit's list of colour
    // names; the swatches stand in that order, without their names.
    const QStringList names = QColor::colorNames();
    for (const QString &name : names) {
        QPixmap swatch(swatchSize);
        swatch.fill(QColor(name));
        ui->colorlist_cb->addItem(QIcon(swatch), QString());
    }
    auto *popup = new QListView(ui->colorlist_cb);
    popup->setIconSize(swatchSize);
    ui->colorlist_cb->setView(popup);

    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOff);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void FontSetWindows::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->close_btn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->setfont_btn, &QPushButton::clicked, this, &FontSetWindows::showFontDialog);
    connect(ui->setcolor_btn, &QPushButton::clicked, this, &FontSetWindows::showColorDialog);
    connect(ui->addfont_btn, &QPushButton::clicked, this, &FontSetWindows::showCaption);
    // A window still open when the program ends keeps what the operator set.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        if (isVisible())
            saveConfig();
    });
}

void FontSetWindows::showFontDialog()
{
    bool accepted = false;
    const QFont font = QFontDialog::getFont(&accepted);
    if (accepted)
        captionFont = font;
}

void FontSetWindows::showColorDialog()
{
    // A cancel gives the invalid colour: the next caption is drawn in black.
    captionColor = QColorDialog::getColor(Qt::black, nullptr, QString());
}

QColor FontSetWindows::backgroundColor() const
{
    const QStringList names = QColor::colorNames();
    const int index = ui->colorlist_cb->currentIndex();
    return QColor(names.value(index >= 0 && index < names.size() ? index : 0));
}

void FontSetWindows::showCaption()
{
    const QString text = ui->fonttext_te->toPlainText();
    if (text.isEmpty())
        return;

    // Nothing keeps the caption: it deletes itself when its button closes it.
    auto *caption = new RollCaptionWindows;
    caption->setCaptionFont(captionFont);
    caption->setTextColor(captionColor);
    caption->setInterval(ui->msvalue_sp->value());
    caption->setText(text);
    if (ui->transparent_cb->isChecked())
        caption->setTransparent();
    else
        caption->setBackgroundColor(backgroundColor());
    caption->show();
}

void FontSetWindows::loadConfig()
{
    if (!ConfigFile::hasGroup(kGroup))
        return;
    const auto settings = ConfigFile::open();
    settings->beginGroup(kGroup);
    const QString text = settings->value(QStringLiteral("Text")).toString();
    const int delay = settings->value(QStringLiteral("TDelay")).toInt();
    const int transparent = settings->value(QStringLiteral("Transparent")).toInt();
    const int colorIndex = settings->value(QStringLiteral("BgColorIndex")).toInt();
    settings->endGroup();

    // The editor holds the text to its length.
    ui->fonttext_te->setPlainText(text);
    ui->msvalue_sp->setValue(delay);
    // An index past the list falls back to the first colour.
    ui->colorlist_cb->setCurrentIndex(colorIndex >= 0 && colorIndex < ui->colorlist_cb->count() ? colorIndex : 0);
    ui->transparent_cb->setChecked(transparent != 0);
}

void FontSetWindows::saveConfig()
{
    const auto settings = ConfigFile::open();
    writeConfig(*settings);
    ConfigFile::save(*settings);
}

void FontSetWindows::writeConfig(ConfigFile::Settings &settings)
{
    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("Text"), ui->fonttext_te->toPlainText());
    settings.setValue(QStringLiteral("TDelay"), ui->msvalue_sp->value());
    settings.setValue(QStringLiteral("Transparent"), ui->transparent_cb->isChecked() ? 1 : 0);
    settings.setValue(QStringLiteral("BgColorIndex"), ui->colorlist_cb->currentIndex());
    settings.endGroup();
}

void FontSetWindows::closeEvent(QCloseEvent *event)
{
    saveConfig();
    event->accept();
}

void FontSetWindows::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        // Re-texting puts the form's empty document back; keep the typed text.
        const QString text = ui->fonttext_te->toPlainText();
        ui->retranslateUi(this);
        ui->fonttext_te->setPlainText(text);
        return;
    }
    QWidget::changeEvent(event);
}
