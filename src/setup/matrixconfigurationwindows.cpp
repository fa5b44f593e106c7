#include "matrixconfigurationwindows.h"
#include "ui_matrixconfigurationwindows.h"

#include <QCloseEvent>
#include <QCompleter>
#include <QCoreApplication>
#include <QHeaderView>
#include <QListView>
#include <QSignalBlocker>

#include "communication.h"
#include "configfile.h"
#include "digitvalidator.h"
#include "globalobject.h"
#include "matrixmodels.h"
#include "windowkit.h"

namespace {

const QString kGroup = QStringLiteral("MatrixConfig");
const QString kOutArray = QStringLiteral("MatrixOut");
const QString kOutKey = QStringLiteral("out");

constexpr int kToWholeWall = 1; // frame from "11" to "FF"

} // namespace

MatrixConfigurationWindows::MatrixConfigurationWindows(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::MatrixConfigurationWindows>())
{
    ui->setupUi(this);
    initForm();
    initConnect();
    initValidator();
    loadConfig();
    // What a close saves when the operator changed nothing.
    writeConfig(*ConfigFile::untouched());
}

MatrixConfigurationWindows::~MatrixConfigurationWindows() = default;

void MatrixConfigurationWindows::initForm()
{
    modelBoxes = {{{ui->video_cb, "VIDEO", "VideoIndex"},
                   {ui->vga_cb, "VGA", "VgaIndex"},
                   {ui->dvi_cb, "DVI", "DviIndex"},
                   {ui->hdmi_cb, "HDMI", "HdmiIndex"},
                   {ui->sdi_cb, "SDI", "SdiIndex"}}};
    countEdits = {{{ui->vinputnum_le, "VIDEO", "VideoInputNum", 0},
                   {ui->dinputnum_le, "DVI", "DviInputNum", 0},
                   {ui->vgainputnum_le, "VGA", "VgaInputNum", 0},
                   {ui->hinputnum_le, "HDMI", "HdmiInputNum", 0}}};
    idEdits = {{{ui->video_id, "VideoId"},
                {ui->dvi_id, "DviId"},
                {ui->vga_id, "VgaId"},
                {ui->hdmi_id, "HdmiId"}}};

    for (const ModelBox &model : modelBoxes) {
        model.box->addItems(matrixModelNames(QLatin1String(model.type)));
        auto *completer = new QCompleter(model.box->model(), this);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        model.box->setView(new QListView(model.box));
        model.box->setCompleter(completer);
        model.box->setCurrentIndex(0);
    }
    for (CountEdit &count : countEdits)
        count.announced = count.edit->text().toInt();

    ui->matr_tablewidget->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->matr_tablewidget->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    for (int i = 0; i < WallSize::kCells; ++i)
        matrixOut[i] = i + 1;

    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOff);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void MatrixConfigurationWindows::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->matr_tablewidget, &QTableWidget::itemChanged, this,
            &MatrixConfigurationWindows::updateMNum);
    for (const ModelBox &model : modelBoxes)
        connect(model.box, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &MatrixConfigurationWindows::selectChange);
    // A count is handed out when its typing is finished, not per keystroke:
    // typing "128" must not shrink the main window's input list to 1 first.
    for (const CountEdit &count : countEdits)
        connect(count.edit, &QLineEdit::editingFinished, this,
                &MatrixConfigurationWindows::InputSizeChange);
    connect(ui->one_to_one, &QPushButton::clicked, this, &MatrixConfigurationWindows::setOneToOne);
    connect(ui->mat_ok_btn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->on_btn, &QPushButton::clicked, this,
            &MatrixConfigurationWindows::sendInstructionOperation);
    connect(ui->off_btn, &QPushButton::clicked, this,
            &MatrixConfigurationWindows::sendInstructionOperation);
    // A window still open when the program ends keeps what the operator set.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        if (isVisible())
            keepOnClose();
    });
}

void MatrixConfigurationWindows::initValidator()
{
    QValidator *ids = digitValidator(QStringLiteral("^\\d{3}$"), this);
    for (const IdEdit &id : idEdits)
        id.edit->setValidator(ids);
    // Every count from 1 to 255.
    QValidator *counts =
        digitValidator(QStringLiteral("^([1-9]|[1-9]\\d|1\\d{2}|2[0-4]\\d|25[0-5])$"), this);
    for (const CountEdit &count : countEdits)
        count.edit->setValidator(counts);
}

QString MatrixConfigurationWindows::getMatrixModel(const QString &type) const
{
    for (const ModelBox &model : modelBoxes) {
        if (type == QLatin1String(model.type))
            return model.box->currentText();
    }
    return QString();
}

InstructionRecord MatrixConfigurationWindows::getInstructionRecord(const QString &type,
                                                                   const QString &model,
                                                                   int value) const
{
    InstructionRecord record;
    record.signalType = type;
    record.model = model;
    record.videoId = ui->video_id->text();
    record.dviId = ui->dvi_id->text();
    record.vgaId = ui->vga_id->text();
    record.hdmiId = ui->hdmi_id->text();
    record.value = value;
    record.responseTime = ui->rtime->value();
    record.intervalTime = ui->itime->value();
    record.matrixFirst = ui->mpreferred_rbt->isChecked();
    return record;
}

MATRIXBROWSEDATA MatrixConfigurationWindows::getMatrixBrowseData(const QString &type,
                                                                const QString &model) const
{
    // A tour takes the same context as one command, less the response time
    // and the sending order.
    const InstructionRecord record = getInstructionRecord(type, model, 0);
    MATRIXBROWSEDATA data;
    data.signalType = record.signalType;
    data.matrixModel = record.model;
    data.videoId = record.videoId;
    data.dviId = record.dviId;
    data.vgaId = record.vgaId;
    data.hdmiId = record.hdmiId;
    data.intervalTime = record.intervalTime;
    return data;
}

QList<int> MatrixConfigurationWindows::getMatrixInputNums() const
{
    QList<int> counts;
    for (const CountEdit &count : countEdits)
        counts.append(count.edit->text().toInt());
    return counts;
}

void MatrixConfigurationWindows::selectChange()
{
    for (const ModelBox &model : modelBoxes) {
        if (sender() == model.box) {
            emit matrixSelectChange(QLatin1String(model.type), model.box->currentText());
            return;
        }
    }
}

void MatrixConfigurationWindows::InputSizeChange()
{
    for (CountEdit &count : countEdits) {
        if (sender() == count.edit) {
            announceInputCount(count);
            return;
        }
    }
}

void MatrixConfigurationWindows::announceInputCount(CountEdit &count)
{
    // Unfinished or refused input (an empty edit) is not a count.
    if (!count.edit->hasAcceptableInput())
        return;
    const int size = count.edit->text().toInt();
    if (size == count.announced)
        return;
    count.announced = size;
    emit matrixInputSizeChange(QLatin1String(count.type), size);
}

void MatrixConfigurationWindows::sendInstructionOperation()
{
    // "Matrix repair" on and off: literal codes, not in the instruction table.
    const struct
    {
        QObject *button;
        const char *param;
    } repair[] = {{ui->on_btn, "46"}, {ui->off_btn, "45"}};
    for (const auto &entry : repair) {
        if (sender() != entry.button)
            continue;
        sendLcdCommand(QStringLiteral("EB"), QLatin1String(entry.param), false, kToWholeWall);
        return;
    }
}

void MatrixConfigurationWindows::keepOnClose()
{
    // A count left empty or refused is no count: keep the one in force, so
    // the saved group and the main window's input lists agree.
    for (CountEdit &count : countEdits) {
        if (!count.edit->hasAcceptableInput()) {
            const QSignalBlocker blocker(count.edit);
            count.edit->setText(QString::number(count.announced));
        }
    }
    // Table edits reach the selected-output list for the screens selected now.
    updateMatrixOutList(GlobalObject::targetAddressList);
    saveConfig();
}

void MatrixConfigurationWindows::closeEvent(QCloseEvent *event)
{
    for (CountEdit &count : countEdits)
        announceInputCount(count);
    keepOnClose();
    event->accept();
}

void MatrixConfigurationWindows::changeEvent(QEvent *event)
{
    // Model lists, ids, counts and the table hold no translated texts, so
    // re-texting keeps every choice and emits no change signal.
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        return;
    }
    QWidget::changeEvent(event);
}

void MatrixConfigurationWindows::loadConfig()
{
    if (!ConfigFile::hasGroup(kGroup))
        return;
    const auto settings = ConfigFile::open();
    settings->beginGroup(kGroup);
    QStringList ids;
    for (const IdEdit &id : idEdits)
        ids.append(settings->value(QLatin1String(id.key)).toString());
    const int responseTime = settings->value(QStringLiteral("ResponseTime"), 0).toInt();
    const int intervalTime = settings->value(QStringLiteral("IntervalTime"), 0).toInt();
    const int priority = settings->value(QStringLiteral("priority"), 0).toInt();
    QStringList counts;
    for (const CountEdit &count : countEdits)
        counts.append(settings->value(QLatin1String(count.key)).toString());
    QList<int> indexes;
    for (const ModelBox &model : modelBoxes)
        indexes.append(settings->value(QLatin1String(model.indexKey), 0).toInt());

    // Elements beyond the map's 225 have no cell and are ignored.
    const QStringList outs =
        ConfigFile::readArray(*settings, kOutArray, kOutKey, QStringLiteral("1"), WallSize::kCells);
    for (int i = 0; i < outs.size(); ++i)
        matrixOut[i] = outs.at(i).toInt();
    settings->endGroup();

    GlobalObject::matrixOutList.clear();
    GlobalObject::matrixOutList.append(matrixOut[0]);

    // An id goes into the commands as it stands: one that could not be typed
    // gives way to the form's.
    for (int i = 0; i < int(idEdits.size()); ++i)
        setStoredText(idEdits[i].edit, ids.at(i));
    ui->rtime->setValue(responseTime);
    ui->itime->setValue(intervalTime);
    if (priority == 0)
        ui->spreferred_rbt->setChecked(true);
    else if (priority == 1)
        ui->mpreferred_rbt->setChecked(true);
    for (int i = 0; i < int(countEdits.size()); ++i) {
        CountEdit &count = countEdits[i];
        const QString formCount = count.edit->text();
        count.edit->setText(counts.at(i));
        // A stored count obeys the rule of typing, or the main window would
        // build a name per input without bound: one outside it, or none at
        // all, gives way to the form's count.
        if (!count.edit->hasAcceptableInput())
            count.edit->setText(formCount);
        count.announced = count.edit->text().toInt();
    }
    for (int i = 0; i < int(modelBoxes.size()); ++i) {
        QComboBox *box = modelBoxes[i].box;
        // An index that names no model falls back to the first one.
        const int index = indexes.at(i);
        box->setCurrentIndex(index >= 0 && index < box->count() ? index : 0);
    }

    fillMatrixTable(ui->matr_tablewidget->rowCount(), ui->matr_tablewidget->columnCount());
}

void MatrixConfigurationWindows::saveConfig()
{
    const auto settings = ConfigFile::open();
    writeConfig(*settings);
    ConfigFile::save(*settings);
}

void MatrixConfigurationWindows::writeConfig(ConfigFile::Settings &settings)
{
    settings.beginGroup(kGroup);
    for (const IdEdit &id : idEdits)
        settings.setValue(QLatin1String(id.key), id.edit->text());
    settings.setValue(QStringLiteral("ResponseTime"), ui->rtime->value());
    settings.setValue(QStringLiteral("IntervalTime"), ui->itime->value());
    settings.setValue(QStringLiteral("priority"), ui->spreferred_rbt->isChecked() ? 0 : 1);
    for (const CountEdit &count : countEdits)
        settings.setValue(QLatin1String(count.key), count.edit->text());
    for (const ModelBox &model : modelBoxes)
        settings.setValue(QLatin1String(model.indexKey), model.box->currentIndex());

    // The whole map, not only the cells of the current shape: a wall made
    // smaller for a while keeps the outputs of the screens it hides.
    settings.remove(kOutArray);
    settings.beginWriteArray(kOutArray, WallSize::kCells);
    for (int i = 0; i < WallSize::kCells; ++i) {
        settings.setArrayIndex(i);
        settings.setValue(kOutKey, matrixOut[i]);
    }
    settings.endArray();
    settings.endGroup();
}
