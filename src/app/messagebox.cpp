#include "messagebox.h"
#include "ui_messagebox.h"

#include <QEvent>

#include "globalobject.h"
#include "windowkit.h"

MessageBox::MessageBox(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui_MessageBox)
{
    ui->setupUi(this);
    initForm();
    initConnect();
}

MessageBox::~MessageBox()
{
    delete ui;
}

void MessageBox::setMessage(const QString &title, const QString &text)
{
    ui->label_title->setText(title);
    setWindowTitle(title);
    ui->text_lb->setText(text);
}

void MessageBox::initForm()
{
    WindowKit::setupFrameless(this, WindowKit::KeepQuitAttribute);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));
}

void MessageBox::initConnect()
{
    connect(ui->close_pbtn, &QPushButton::clicked, this, &MessageBox::close);
    connect(ui->ok, &QPushButton::clicked, this, &MessageBox::close);
}

void MessageBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        // Re-texting clears a title and text given by setMessage().
        ui->retranslateUi(this);
        return;
    }
    QDialog::changeEvent(event);
}
