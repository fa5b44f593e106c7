// Every signal and slot connection of the main window, made once.

#include "velmar_windows.h"
#include "ui_velmar_windows.h"

#include <QMenu>
#include <QTimer>

#include "communication.h"
#include "joinsettingwindows.h"
#include "matrixconfigurationwindows.h"
#include "portsettingwindows.h"

void Velmar_Windows::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->min_pbtn, &QPushButton::clicked, this, &QWidget::showMinimized);
    connect(ui->max_pbtn, &QPushButton::clicked, this, &Velmar_Windows::maxBottonClick);

    connect(ui->port_set_btn, &QToolButton::clicked, this, &Velmar_Windows::showPortSetWindow);
    connect(ui->spl_set_btn, &QToolButton::clicked, this, &Velmar_Windows::showJoinSetWindow);
    connect(ui->mat_set_btn, &QToolButton::clicked, this, &Velmar_Windows::showMatrixSetWindow);
    connect(ui->addr_set_btn, &QToolButton::clicked, this, &Velmar_Windows::showAdderSetWindow);
    connectPlaybackWindows();

    connect(ui->cent_tablewidget, &QWidget::customContextMenuRequested, this, &Velmar_Windows::showTableWidgetMenu);
    connect(blueSkinAction, &QAction::triggered, this, &Velmar_Windows::skinSwitch);
    connect(blackSkinAction, &QAction::triggered, this, &Velmar_Windows::skinSwitch);
    connect(skinMenu, &QMenu::aboutToShow, this, &Velmar_Windows::showToolButtonMenu);
    connect(ui->port_open_btn, &QToolButton::clicked, this, &Velmar_Windows::openSerial);
    connect(ui->port_close_btn, &QToolButton::clicked, this, &Velmar_Windows::closeSerial);

    for (QAction *action : {stillAction, localSaveAction, blackScreenAction, blueScreenAction, agingOpenAction,
                            agingOffAction, positiveAction, inverseAction, updateAction, stitch2kAction,
                            stitch4kAction, multiScreenAction})
        connect(action, &QAction::triggered, this, &Velmar_Windows::sendInstructionOperation);
    connect(ui->save_btn, &QPushButton::clicked, this, &Velmar_Windows::sendPlanOperation);
    connect(ui->load_btn, &QPushButton::clicked, this, &Velmar_Windows::sendPlanOperation);
    connect(ui->on_btn, &QPushButton::clicked, this, &Velmar_Windows::sendInstructionOperation);
    connect(ui->off_btn, &QPushButton::clicked, this, &Velmar_Windows::sendInstructionOperation);
    connect(ui->single_btn, &QPushButton::clicked, this, &Velmar_Windows::spliceOrMatrix);
    connect(ui->beginplan_btn, &QPushButton::clicked, this, &Velmar_Windows::startThreads);
    connect(ui->stopplan_btn, &QPushButton::clicked, this, &Velmar_Windows::stopThreads);
    connect(ui->beginmatrix_btn, &QPushButton::clicked, this, &Velmar_Windows::startMatrixThreads);
    connect(ui->stopmatrix_btn, &QPushButton::clicked, this, &Velmar_Windows::stopMatrixThreads);
    connect(ui->run_btn, &QPushButton::clicked, this, &Velmar_Windows::sendInstructionOperation);
    // logo_open and logo_close send their frame first, then RadioStatus
    // switches the logo mode group: the order of these connections matters.
    for (QAbstractButton *button :
         std::initializer_list<QAbstractButton *>{ui->fan_apply, ui->ti_apply, ui->group_apply, ui->ad_apply,
                                                  ui->software_btn, ui->pupdate_btn, ui->setadder_btn1,
                                                  ui->lookadd_btn1, ui->lock_btn1, ui->unlock_btn1, ui->getnum_btn1,
                                                  ui->age_open, ui->age_close, ui->logo_open, ui->logo_close,
                                                  ui->joinmodel_btn, ui->alonemodel_btn, ui->amd_btn, ui->common_btn})
        connect(button, &QAbstractButton::clicked, this, &Velmar_Windows::sendInstructionOperation);

    connect(ui->cent_tablewidget, &QTableWidget::itemSelectionChanged, this, &Velmar_Windows::tableWidgetChanged);
    // Every change of the current signal type passes its text on.
    connect(ui->signal_type_cb, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { updateMatrixTypeName(ui->signal_type_cb->itemText(index)); });
    connect(ui->retard_btn, &QCheckBox::stateChanged, this, &Velmar_Windows::CheckStatus);
    connect(ui->link_cb, &QCheckBox::stateChanged, this, &Velmar_Windows::CheckStatus);
    connect(ui->fan_manual, &QRadioButton::toggled, this, &Velmar_Windows::RadioStatus);
    connect(ui->logo_close, &QRadioButton::clicked, this, &Velmar_Windows::RadioStatus);
    connect(ui->logo_open, &QRadioButton::clicked, this, &Velmar_Windows::RadioStatus);
    connect(clockTimer, &QTimer::timeout, this, &Velmar_Windows::updateTime);
    connect(this, &Velmar_Windows::upDateTWContent, this, &Velmar_Windows::upDateTableWidgetContent);
    connect(ui->language_btn, &QToolButton::clicked, this, &Velmar_Windows::languageSwitch);
    connect(&lcdCommunication, &Communication::sendComData, this, &Velmar_Windows::updateTextEditContent);
    for (Communication *link : {&lcdCommunication, &videoMatrixCommunication, &rgbMatrixCommunication})
        connect(link, &Communication::linkFailed, this, &Velmar_Windows::linkFailed);

    connect(portSetWindow, &PortSettingWindows::comSelectChange, this, &Velmar_Windows::updateComShow);

    connect(joinSetWindow, &JoinSettingWindows::senddata, this, &Velmar_Windows::getJoinSettingWindowsData);
    connect(matrixSetWindow, &MatrixConfigurationWindows::matrixSelectChange, this,
            &Velmar_Windows::updateMatrixModelText);
    connect(matrixSetWindow, &MatrixConfigurationWindows::matrixInputSizeChange, this,
            &Velmar_Windows::updateMatrixInputSize);
    connectAccountWindows();
    initAdjustConnect();
}
