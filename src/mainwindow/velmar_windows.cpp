#include "velmar_windows.h"
#include "ui_velmar_windows.h"

#include <QEvent>

#include "globalobject.h"
#include "windowkit.h"

Velmar_Windows::Velmar_Windows(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui_Velmar_Windows)
{
    ui->setupUi(this);
    initForm();
    initConnect();
}

Velmar_Windows::~Velmar_Windows()
{
    delete ui;
}

void Velmar_Windows::initForm()
{
    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOn, Qt::WindowMinimizeButtonHint);
    GlobalObject::setButtonIcon(ui->min_pbtn, QStringLiteral("min"));
    GlobalObject::setButtonIcon(ui->max_pbtn, QStringLiteral("max"));
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void Velmar_Windows::initConnect()
{
    connect(ui->min_pbtn, &QPushButton::clicked, this, &Velmar_Windows::showMinimized);
    connect(ui->max_pbtn, &QPushButton::clicked, this, &Velmar_Windows::maxBottonClick);
    connect(ui->close_pbtn, &QPushButton::clicked, this, &Velmar_Windows::close);
}

void Velmar_Windows::openSerial()
{
}

void Velmar_Windows::maxBottonClick()
{
    if (isMaximized()) {
        showNormal();
        GlobalObject::setButtonIcon(ui->max_pbtn, QStringLiteral("max"));
    } else {
        showMaximized();
        GlobalObject::setButtonIcon(ui->max_pbtn, QStringLiteral("normal"));
    }
}

void Velmar_Windows::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QWidget::changeEvent(event);
}
