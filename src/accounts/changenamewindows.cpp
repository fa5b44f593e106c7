#include "changenamewindows.h"
#include "ui_changenamewindows.h"

#include <QEvent>

#include "globalobject.h"
#include "windowkit.h"

ChangeNameWindows::ChangeNameWindows(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::ChangeNameWindows>())
{
    ui->setupUi(this);
    initForm();
    initConnect();
}

ChangeNameWindows::~ChangeNameWindows() = default;

void ChangeNameWindows::initForm()
{
    HeldText::hold(ui->chname_le, maxNameLength);
    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOff);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void ChangeNameWindows::initConnect()
{
    connect(ui->modify_btn, &QPushButton::clicked, this, &ChangeNameWindows::modifyOk);
    connect(ui->cancle_btn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
}

void ChangeNameWindows::setCurrentName(const QString &name)
{
    ui->chname_le->setText(name);
    ui->chname_le->selectAll();
    ui->chname_le->setFocus(Qt::OtherFocusReason);
}

void ChangeNameWindows::modifyOk()
{
    // The receiver decides what an empty or unchanged name means.
    emit setname(ui->chname_le->text());
    close();
}

void ChangeNameWindows::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        return;
    }
    QWidget::changeEvent(event);
}
