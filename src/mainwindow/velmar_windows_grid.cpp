// Screen grid, selection and the matrix input and scene name lists.

#include "velmar_windows.h"
#include "ui_velmar_windows.h"

#include <QCompleter>

#include "globalobject.h"
#include "matrixconfigurationwindows.h"
#include "wallsize.h"

namespace {

QString screenAddress(int row, int column)
{
    return QString::number(column + 1, 16).toUpper() + QString::number(row + 1, 16).toUpper();
}

void appendNumbers(QList<QString> &list, int from, int to)
{
    for (int i = from; i <= to; ++i)
        list.append(QString::number(i));
}

} // namespace

void Velmar_Windows::tableWidgetChanged()
{
    collectSelectedScreens();
}

void Velmar_Windows::collectSelectedScreens()
{
    GlobalObject::targetAddressList.clear();
    const QModelIndexList indexes = ui->cent_tablewidget->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : indexes)
        GlobalObject::targetAddressList.append(screenAddress(index.row(), index.column()));
    matrixSetWindow->updateMatrixOutList(GlobalObject::targetAddressList);
}

void Velmar_Windows::upDateTableWidgetContent()
{
    QTableWidget *table = ui->cent_tablewidget;
    const QString text = ui->signal_type_cb->currentText();
    auto place = [table, &text](int row, int column) {
        auto *item = new QTableWidgetItem(text);
        item->setTextAlignment(Qt::AlignCenter);
        table->setItem(row, column, item);
    };
    // This model switches the whole wall at once, whatever is selected.
    if (ui->linktitle_lb_2->text() == QLatin1String("AE-VGA-T")) {
        for (int row = 0; row < table->rowCount(); ++row) {
            for (int column = 0; column < table->columnCount(); ++column)
                place(row, column);
        }
        return;
    }
    const QModelIndexList indexes = table->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : indexes)
        place(index.row(), index.column());
}

void Velmar_Windows::setWallSize(int rows, int columns)
{
    // Addresses have one hex digit per row and column: keep the wall within
    // 1..15 each way and ignore anything else.
    if (!WallSize::isValid(rows) || !WallSize::isValid(columns))
        return;
    ui->cent_tablewidget->setRowCount(rows);
    ui->cent_tablewidget->setColumnCount(columns);
    matrixSetWindow->setRowColumn(rows, columns);
}

void Velmar_Windows::getJoinSettingWindowsData(QHash<QString, QString> data)
{
    GlobalObject::setLabelImage(ui->show_image, userImagePath);
    ui->show_username->setText(userName);
    setWallSize(data.value(QStringLiteral("joinrow")).toInt(), data.value(QStringLiteral("joincolumn")).toInt());
}

void Velmar_Windows::initMatrixInputList()
{
    const QList<int> counts = matrixSetWindow->getMatrixInputNums();
    appendNumbers(generalMatrixIn, 1, 32);
    QList<QString> *lists[] = {&videoMatrixIn, &dviMatrixIn, &vgaMatrixIn, &hdmiMatrixIn};
    for (int i = 0; i < 4 && i < counts.size(); ++i)
        appendNumbers(*lists[i], 1, counts.at(i));
    fillCombo(ui->matrix_type_cb, videoMatrixIn);
    inputCompleter->setModel(ui->matrix_type_cb->model());
    inputCompleter->setCaseSensitivity(Qt::CaseInsensitive);
    ui->matrix_type_cb->setCompleter(inputCompleter);
}

QList<QString> &Velmar_Windows::inputListFor(const QString &signalType)
{
    if (signalType == QLatin1String("VIDEO"))
        return videoMatrixIn;
    if (signalType == QLatin1String("VGA"))
        return vgaMatrixIn;
    if (signalType == QLatin1String("DVI"))
        return dviMatrixIn;
    if (signalType == QLatin1String("HDMI"))
        return hdmiMatrixIn;
    return generalMatrixIn;
}

void Velmar_Windows::fillCombo(QComboBox *combo, const QList<QString> &items)
{
    combo->clear();
    combo->addItems(items);
}

void Velmar_Windows::fillSceneCombos()
{
    for (QComboBox *combo : {ui->scene_cb, ui->bscene_cb, ui->sscene_cb})
        fillCombo(combo, sceneNames);
}

void Velmar_Windows::updateMatrixTypeName(QString text)
{
    ui->linktitle_lb_2->setText(matrixSetWindow->getMatrixModel(text));
    fillCombo(ui->matrix_type_cb, inputListFor(text));
}

void Velmar_Windows::updateMatrixModelText(QString name, QString text)
{
    if (name == ui->signal_type_cb->currentText())
        ui->linktitle_lb_2->setText(text);
}

void Velmar_Windows::updateMatrixInputSize(QString name, int size)
{
    if (name != QLatin1String("VIDEO") && name != QLatin1String("DVI") && name != QLatin1String("VGA")
        && name != QLatin1String("HDMI"))
        return;
    QList<QString> &list = inputListFor(name);
    size = qMax(0, size);
    const int n = list.size();
    if (size == n)
        return;
    if (size > n)
        appendNumbers(list, n + 1, size);
    else
        list.erase(list.begin() + size, list.end());
    if (ui->signal_type_cb->currentText() == name)
        fillCombo(ui->matrix_type_cb, list);
}

void Velmar_Windows::updateSceneName(QString text)
{
    const int i = ui->scene_cb->currentIndex();
    if (i < 0)
        return;
    for (QComboBox *combo : {ui->scene_cb, ui->bscene_cb, ui->sscene_cb}) {
        if (i < combo->count())
            combo->setItemText(i, text);
    }
}

void Velmar_Windows::updateMInputName(QString text)
{
    const int i = ui->matrix_type_cb->currentIndex();
    QList<QString> &list = inputListFor(ui->signal_type_cb->currentText());
    if (i < 0 || i >= list.size())
        return;
    ui->matrix_type_cb->setItemText(i, text);
    list[i] = text;
}
