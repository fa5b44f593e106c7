#include "joinsettingwindows.h"
#include "ui_joinsettingwindows.h"

#include <QCompleter>
#include <QEvent>
#include <QFileDialog>
#include <QListView>

#include "globalobject.h"
#include "heldtext.h"
#include "wallsize.h"
#include "windowkit.h"

JoinSettingWindows::JoinSettingWindows(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::JoinSettingWindows>())
{
    ui->setupUi(this);
    initForm();
    initConnect();
}

JoinSettingWindows::~JoinSettingWindows() = default;

void JoinSettingWindows::initForm()
{
    imagePath = userImagePath;
    HeldText::hold(ui->username_lb, HeldText::maxNameLength);

    rowCompleter = new QCompleter(ui->join_row_cb->model(), this);
    columnCompleter = new QCompleter(ui->join_column_cb->model(), this);
    ui->join_row_cb->setCompleter(rowCompleter);
    ui->join_column_cb->setCompleter(columnCompleter);
    ui->join_row_cb->setView(new QListView(ui->join_row_cb));
    ui->join_column_cb->setView(new QListView(ui->join_column_cb));
    rows = ui->join_row_cb->currentText().toInt();
    columns = ui->join_column_cb->currentText().toInt();

    WindowKit::setupFrameless(this, WindowKit::QuitOnCloseOff);
    GlobalObject::setButtonIcon(ui->close_pbtn, QStringLiteral("close"));

    showPreview();
}

void JoinSettingWindows::initConnect()
{
    connect(ui->close_btn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->close_pbtn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->confirm_btn, &QPushButton::clicked, this, &JoinSettingWindows::confirmButton);
    connect(ui->pic_import_btn, &QPushButton::clicked, this, &JoinSettingWindows::pictureImport);
}

void JoinSettingWindows::setRowColumn(int row, int column)
{
    if (WallSize::isValid(row))
        rows = row;
    if (WallSize::isValid(column))
        columns = column;
    ui->join_row_cb->setCurrentIndex(rows - 1);
    ui->join_column_cb->setCurrentIndex(columns - 1);
}

void JoinSettingWindows::setUserName(const QString &name)
{
    ui->username_lb->setText(name);
    ui->username_lb->selectAll();
    ui->username_lb->setFocus();
}

QString JoinSettingWindows::chooseImageFile()
{
    return QFileDialog::getOpenFileName(this, tr("Open"), QStringLiteral("/"),
                                        QStringLiteral("Image Files(*.png *.jpg *.bmp)"));
}

void JoinSettingWindows::pictureImport()
{
    const QString path = chooseImageFile();
    // A cancelled dialog goes back to the logo in effect, and so does the
    // preview. A file picked is decoded again: it may have changed since.
    if (!path.isEmpty())
        GlobalObject::forgetLabelImage(path);
    imagePath = path.isEmpty() ? userImagePath : path;
    showPreview();
}

int JoinSettingWindows::acceptedCount(QComboBox *box, int previous)
{
    // The boxes are editable: a typed text that is no size of 1 to 15 gives
    // way to the previous size. Either way the box ends on the size taken.
    bool ok = false;
    int count = box->currentText().trimmed().toInt(&ok);
    if (!ok || !WallSize::isValid(count))
        count = previous;
    box->setCurrentIndex(count - 1);
    return count;
}

void JoinSettingWindows::confirmButton()
{
    rows = acceptedCount(ui->join_row_cb, rows);
    columns = acceptedCount(ui->join_column_cb, columns);
    QHash<QString, QString> data;
    data.insert(QStringLiteral("joinrow"), QString::number(rows));
    data.insert(QStringLiteral("joincolumn"), QString::number(columns));

    // The receiver reads both strings while it handles senddata.
    userName = ui->username_lb->text();
    userImagePath = imagePath;
    emit senddata(data);
    close();
}

void JoinSettingWindows::showPreview()
{
    GlobalObject::setLabelImage(ui->show_image, imagePath);
}

void JoinSettingWindows::showEvent(QShowEvent *event)
{
    // Each showing starts from the logo in effect; an unconfirmed pick is dropped.
    imagePath = userImagePath;
    showPreview();
    QWidget::showEvent(event);
}

void JoinSettingWindows::changeEvent(QEvent *event)
{
    // The row and column lists and the preview are not translated texts, so
    // re-texting leaves the operator's choice and the picture as they are.
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        return;
    }
    QWidget::changeEvent(event);
}
