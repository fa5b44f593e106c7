#include "debugwindows.h"
#include "ui_debugwindows.h"

#include <QEvent>
#include <QRegularExpression>

#include "communication.h"
#include "globalobject.h"
#include "windowkit.h"

DebugWindows::DebugWindows(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::DebugWindows>())
{
    ui->setupUi(this);
    initForm();
    initConnect();
}

DebugWindows::~DebugWindows() = default;

void DebugWindows::initForm()
{
    ui->command_le->setFocus();
    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOff);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void DebugWindows::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->close_btn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->send_btn, &QPushButton::clicked, this, &DebugWindows::debugSend);
    connect(&lcdCommunication, &Communication::sendDebug, this, &DebugWindows::showResult);
}

void DebugWindows::showWindow()
{
    ui->command_le->setFocus(Qt::OtherFocusReason);
    WindowKit::showInFront(this);
}

void DebugWindows::debugSend()
{
    const QString text = ui->command_le->text();
    if (text.isEmpty())
        return;
    // Only whole pairs of hex digits, blanks between pairs: the converter
    // would turn a typo into some byte and send it to the wall.
    static const QRegularExpression hexPairs(QStringLiteral("\\A *(?:[0-9A-Fa-f]{2} *)+\\z"));
    if (!hexPairs.match(text).hasMatch()) {
        showResult(false);
        return;
    }
    lcdCommunication.sendRaw(lcdCommunication.hexToBytes(text));
}

void DebugWindows::showResult(bool ok)
{
    ui->result_tb->setPlainText(ok ? QStringLiteral("success!") : QStringLiteral("failed!"));
}

void DebugWindows::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        return;
    }
    QWidget::changeEvent(event);
}
