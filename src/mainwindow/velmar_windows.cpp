#include "velmar_windows.h"
#include "ui_velmar_windows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCompleter>
#include <QDesktopWidget>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QScreen>
#include <QTextDocument>
#include <QTimer>

#include "addersetwindows.h"
#include "configfile.h"
#include "digitvalidator.h"
#include "globalobject.h"
#include "heldtext.h"
#include "joinsettingwindows.h"
#include "matrixconfigurationwindows.h"
#include "portsettingwindows.h"
#include "windowkit.h"

namespace {

const QString blueSkin = QStringLiteral(":/qss/staticfile/qss/blue.css");
const QString blackSkin = QStringLiteral(":/qss/staticfile/qss/black.css");

// The words of the two state texts in both languages; any other text is
// left as it is by the language switch.
struct StateWord
{
    const char *english;
    const char *chinese;
};
const StateWord permissionWords[] = {{"User", "用户"}, {"Administrator", "管理员"}};
const StateWord portStatusWords[] = {{"Closed", "关闭"}, {"Opened", "开启"}};

template<size_t N>
void exchangeWord(QString &text, const StateWord (&words)[N], bool toChinese)
{
    for (const StateWord &word : words) {
        const QString from = QString::fromUtf8(toChinese ? word.english : word.chinese);
        if (text == from) {
            text = QString::fromUtf8(toChinese ? word.chinese : word.english);
            return;
        }
    }
}

} // namespace

Velmar_Windows::Velmar_Windows(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui_Velmar_Windows)
{
    qRegisterMetaType<MATRIXBROWSEDATA>("MATRIXBROWSEDATA");
    ui->setupUi(this);
    initForm();
    initConnect();
    updateTime();
    initValidator();
    loadConfig();
    // What a close saves when the operator changed nothing.
    writeConfig(*ConfigFile::untouched());
}

Velmar_Windows::~Velmar_Windows()
{
    endTours();
    delete ui;
}

void Velmar_Windows::initForm()
{
    // Child windows live until the process ends; closing one only hides it.
    portSetWindow = new PortSettingWindows;
    joinSetWindow = new JoinSettingWindows;
    matrixSetWindow = new MatrixConfigurationWindows;
    adderSetWindow = new AdderSetWindows;
    createAccountWindows();
    initAdjustWindows();
    createPlaybackWindows();

    clockTimer = new QTimer;
    inputCompleter = new QCompleter;
    sceneCompleter = new QCompleter;
    beginSceneCompleter = new QCompleter;
    endSceneCompleter = new QCompleter;
    createMenus();

    updateStatusLabels();

    for (QComboBox *combo : {ui->signal_type_cb, ui->matrix_type_cb, ui->scene_cb, ui->bscene_cb, ui->sscene_cb})
        combo->setView(new QListView(combo));

    QTableWidget *table = ui->cent_tablewidget;
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->setRowCount(2);
    table->setColumnCount(2);
    table->horizontalHeader()->setVisible(true);
    table->verticalHeader()->setVisible(true);
    table->horizontalHeader()->setFixedHeight(18);
    table->setCurrentCell(0, 0);

    ui->linktitle_lb->hide();
    ui->linktitle_lb_2->hide();
    ui->linktitle_lb_2->setText(matrixSetWindow->getMatrixModel(ui->signal_type_cb->currentText()));

    for (int i = 1; i <= 16; ++i)
        sceneNames.append(QStringLiteral("scene%1").arg(i));
    fillSceneCombos();
    const QList<QPair<QComboBox *, QCompleter *>> sceneCombos = {{ui->scene_cb, sceneCompleter},
                                                                 {ui->bscene_cb, beginSceneCompleter},
                                                                 {ui->sscene_cb, endSceneCompleter}};
    for (const auto &pair : sceneCombos) {
        pair.second->setModel(pair.first->model());
        pair.second->setCaseSensitivity(Qt::CaseInsensitive);
        pair.first->setCompleter(pair.second);
        // A name typed in the box and entered becomes a scene of its own.
        HeldText::hold(pair.first->lineEdit(), HeldText::maxNameLength);
    }

    matrixSetWindow->setRowColumn(table->rowCount(), table->columnCount());
    imageAdjustAction->setEnabled(false);
    // Days of use must not slow the console down: the oldest lines go first.
    ui->com_textedit->document()->setMaximumBlockCount(10000);
    clockTimer->start(1000);
    setRibbonIcons();

    ui->label_title->installEventFilter(this);
    ui->show_image->installEventFilter(this);
    ui->matrix_type_cb->lineEdit()->installEventFilter(this);
    skinMenu->installEventFilter(this);

    initMatrixInputList();

    skinIndex = 0;
    languageIndex = false;
    stitchingEnabled = false;
    maximized = false;
    autoOpen = portSetWindow->isAutoOpen();

    WindowKit::setupMainWindow(this);
    GlobalObject::setButtonIcon(ui->min_pbtn, QStringLiteral("min"));
    GlobalObject::setButtonIcon(ui->max_pbtn, QStringLiteral("max"));
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
    GlobalObject::setLabelImage(ui->show_image, userImagePath);
}

void Velmar_Windows::createMenus()
{
    tableMenu = new QMenu(ui->cent_tablewidget);
    signalPatternMenu = new QMenu;
    agingModeMenu = new QMenu;
    flipModelMenu = new QMenu;
    stitchingModeMenu = new QMenu;

    stillAction = new QAction;
    imageAdjustAction = new QAction;
    localSaveAction = new QAction;
    borderEffectAction = new QAction;
    blackScreenAction = new QAction;
    blueScreenAction = new QAction;
    specialRegulationAction = new QAction;
    agingOpenAction = new QAction;
    agingOffAction = new QAction;
    positiveAction = new QAction;
    inverseAction = new QAction;
    updateAction = new QAction;
    stitch2kAction = new QAction;
    stitch4kAction = new QAction;
    multiScreenAction = new QAction;

    signalPatternMenu->addActions({blackScreenAction, blueScreenAction});
    agingModeMenu->addActions({agingOpenAction, agingOffAction});
    flipModelMenu->addActions({positiveAction, inverseAction});
    stitchingModeMenu->addActions({stitch2kAction, stitch4kAction, multiScreenAction});

    skinMenu = new QMenu(ui->skin_btn);
    blueSkinAction = new QAction;
    blackSkinAction = new QAction;
    skinMenu->addAction(blueSkinAction);
    skinMenu->addAction(blackSkinAction);
    ui->skin_btn->setMenu(skinMenu);
}

void Velmar_Windows::setRibbonIcons()
{
    struct RibbonIcon
    {
        QToolButton *button;
        const char *file;
    };
    const RibbonIcon icons[] = {
        {ui->port_open_btn, "连接串口.png"}, {ui->port_close_btn, "断开串口.png"},
        {ui->port_set_btn, "通讯配置.png"},  {ui->spl_set_btn, "拼接配置.png"},
        {ui->mat_set_btn, "矩阵配置.png"},   {ui->admin_btn, "管理员.png"},
        {ui->language_btn, "语言.png"},      {ui->about_btn, "版本信息.png"},
        {ui->play_set_btn, "播放设置.png"},  {ui->addr_set_btn, "地址设置.png"},
        {ui->skin_btn, "皮肤.png"},          {ui->timi_btn, "定时设置.png"},
        {ui->font_set_btn, "字幕设置.png"},  {ui->control_btn, "虚拟遥控.png"},
    };
    for (const RibbonIcon &icon : icons)
        icon.button->setIcon(QIcon(QStringLiteral(":/images/staticfile/images/") + QString::fromUtf8(icon.file)));
}

void Velmar_Windows::updateStatusLabels()
{
    ui->show_username->setText(QStringLiteral("%1").arg(userName));
    ui->usertype_lb->setText(tr("Permission : %1").arg(permissionText));
    ui->show_comstatus->setText(QStringLiteral("%1%2").arg(portSetWindow->getPortDescription(), portStatusText));
}

void Velmar_Windows::initValidator()
{
    QValidator *rangeValidator = digitValidator(QStringLiteral("^[0-9]{3}$"), this);
    for (QLineEdit *edit : {ui->matrix_bin_le, ui->matrix_ein_le, ui->matrix_bout_le, ui->matrix_eout_le})
        edit->setValidator(rangeValidator);
    QValidator *addressValidator = digitValidator(QStringLiteral("^\\d{0,4}$"), this);
    for (QLineEdit *edit : {ui->num_le1, ui->x_le1, ui->y_le1})
        edit->setValidator(addressValidator);
}

void Velmar_Windows::showPortSetWindow()
{
    WindowKit::showInFront(portSetWindow);
}

void Velmar_Windows::showJoinSetWindow()
{
    joinSetWindow->setUserName(ui->show_username->text());
    joinSetWindow->setRowColumn(ui->cent_tablewidget->rowCount(), ui->cent_tablewidget->columnCount());
    WindowKit::showInFront(joinSetWindow);
}

void Velmar_Windows::showMatrixSetWindow()
{
    matrixSetWindow->setRowColumn(ui->cent_tablewidget->rowCount(), ui->cent_tablewidget->columnCount());
    WindowKit::showInFront(matrixSetWindow);
}

void Velmar_Windows::showAdderSetWindow()
{
    adderSetWindow->showWindow();
}

void Velmar_Windows::updateTime()
{
    currentTime = QDateTime::currentDateTime();
    ui->time_label->setText(GlobalObject::locale.toString(currentTime, QStringLiteral("yyyy/MM/dd hh:mm:ss dddd")));
}

void Velmar_Windows::CheckStatus(int status)
{
    if (sender() == ui->retard_btn) {
        if (status == Qt::Unchecked || status == Qt::Checked) {
            ui->set_sec->setEnabled(status == Qt::Checked);
            ui->sec_lb->setEnabled(status == Qt::Checked);
        }
    } else if (sender() == ui->link_cb) {
        const bool linked = status != Qt::Unchecked;
        ui->matrix_type_cb->setEnabled(linked);
        ui->linktitle_lb->setVisible(linked);
        ui->linktitle_lb_2->setVisible(linked);
        if (linked)
            ui->linktitle_lb_2->setText(matrixSetWindow->getMatrixModel(ui->signal_type_cb->currentText()));
    }
}

void Velmar_Windows::RadioStatus()
{
    if (sender() == ui->fan_manual) {
        ui->fan_sp1->setEnabled(ui->fan_manual->isChecked());
        ui->fan_sp2->setEnabled(ui->fan_manual->isChecked());
    } else if (sender() == ui->logo_close) {
        ui->logomodel_gb->setEnabled(false);
    } else if (sender() == ui->logo_open) {
        ui->logomodel_gb->setEnabled(true);
    }
}

void Velmar_Windows::showToolButtonMenu()
{
    blueSkinAction->setText(tr("Blue"));
    blackSkinAction->setText(tr("Black"));
}

void Velmar_Windows::skinSwitch()
{
    if (sender() == blueSkinAction) {
        skinIndex = 0;
        GlobalObject::setStyle(blueSkin);
    } else if (sender() == blackSkinAction) {
        skinIndex = 1;
        GlobalObject::setStyle(blackSkin);
    }
}

void Velmar_Windows::languageSwitch()
{
    const bool toChinese = !languageIndex;
    // The state words change before the translators, so the language-change
    // events that follow already find the new words.
    exchangeWord(permissionText, permissionWords, toChinese);
    exchangeWord(portStatusText, portStatusWords, toChinese);
    if (toChinese) {
        GlobalObject::loadChineseTranslators();
    } else {
        GlobalObject::locale = QLocale(QLocale::English);
        QCoreApplication::removeTranslator(&GlobalObject::translatorApp);
        QCoreApplication::removeTranslator(&GlobalObject::translatorQt);
        QCoreApplication::removeTranslator(&GlobalObject::translatorWidgets);
    }
    languageIndex = toChinese;
}

void Velmar_Windows::maxBottonClick()
{
    if (!maximized) {
        normalGeometry = geometry();
        setGeometry(QApplication::desktop()->geometry());
        GlobalObject::setButtonIcon(ui->max_pbtn, QStringLiteral("normal"));
    } else {
        setGeometry(normalGeometry);
        GlobalObject::setButtonIcon(ui->max_pbtn, QStringLiteral("max"));
    }
    maximized = !maximized;
}

bool Velmar_Windows::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == ui->label_title)
            maxBottonClick();
        else if (watched == ui->matrix_type_cb->lineEdit())
            showInputNameWindow();
    } else if (event->type() == QEvent::Show && watched == skinMenu) {
        skinMenu->move(skinMenu->pos() + QPoint(48, -25));
    } else if (event->type() == QEvent::Resize && watched == ui->show_image) {
        // The logo is scaled to the label's size of the moment, which the
        // layout settles only after the window is shown or maximised.
        GlobalObject::setLabelImage(ui->show_image, userImagePath);
    }
    return QWidget::eventFilter(watched, event);
}

void Velmar_Windows::closeEvent(QCloseEvent *event)
{
    // Child windows keep their own groups when they close; do that before
    // the program ends with them still open. This window's save writes all
    // of them at once: one wait for a lock held elsewhere, one line if it
    // fails.
    {
        const ConfigFile::HeldSaves held;
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget *w : windows) {
            if (w != this && w->isVisible())
                w->close();
        }
    }
    saveConfig();
    // The program ends with this window: the tours stop, their steps not yet
    // sent are dropped, and a step or a Boot being sent ends, so nothing
    // holds the event loop up.
    closed = true;
    ++powerRun;
    stopThreads();
    stopMatrixThreads();
    tourQueue.clear();
    event->accept();
}

void Velmar_Windows::changeEvent(QEvent *event)
{
    if (event->type() != QEvent::LanguageChange) {
        QWidget::changeEvent(event);
        return;
    }
    const int signalIndex = ui->signal_type_cb->currentIndex();
    const int inputIndex = ui->matrix_type_cb->currentIndex();
    const int sceneIndex = ui->scene_cb->currentIndex();
    const int beginSceneIndex = ui->bscene_cb->currentIndex();
    const int endSceneIndex = ui->sscene_cb->currentIndex();
    const int fan1 = ui->fan_sp1->value();
    const int fan2 = ui->fan_sp2->value();
    const QString beginIn = ui->matrix_bin_le->text();
    const QString beginOut = ui->matrix_bout_le->text();
    const QString endIn = ui->matrix_ein_le->text();
    const QString endOut = ui->matrix_eout_le->text();

    ui->retranslateUi(this);

    ui->signal_type_cb->setCurrentIndex(signalIndex);
    // Re-texting may refill the input combo through the signal type; the
    // operator's chosen input must survive for the next linked switch.
    if (inputIndex < ui->matrix_type_cb->count())
        ui->matrix_type_cb->setCurrentIndex(inputIndex);
    ui->scene_cb->setCurrentIndex(sceneIndex);
    ui->fan_sp1->setValue(fan1);
    ui->fan_sp2->setValue(fan2);
    ui->bscene_cb->setCurrentIndex(beginSceneIndex);
    ui->sscene_cb->setCurrentIndex(endSceneIndex);
    ui->matrix_bin_le->setText(beginIn);
    ui->matrix_bout_le->setText(beginOut);
    ui->matrix_ein_le->setText(endIn);
    ui->matrix_eout_le->setText(endOut);

    // Re-texting empties the model label, which the linked switch and the
    // matrix scenes take the model from, and the logo label, whose text
    // replaces its picture: fill both again.
    ui->linktitle_lb_2->setText(matrixSetWindow->getMatrixModel(ui->signal_type_cb->currentText()));
    GlobalObject::setLabelImage(ui->show_image, userImagePath);
    updateStatusLabels();
    updateTime();
}
