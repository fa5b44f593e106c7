// The output map of the matrix configuration window: which matrix output
// feeds each wall cell, shown and edited in the output table.
#include "matrixconfigurationwindows.h"
#include "ui_matrixconfigurationwindows.h"

#include <QSignalBlocker>

#include "communication.h"
#include "globalobject.h"

void MatrixConfigurationWindows::setRowColumn(int rows, int cols)
{
    QTableWidget *table = ui->matr_tablewidget;
    if (!WallSize::isValid(rows))
        rows = table->rowCount();
    if (!WallSize::isValid(cols))
        cols = table->columnCount();
    table->clearContents();
    table->setRowCount(rows);
    table->setColumnCount(cols);
    fillMatrixTable(rows, cols);
}

void MatrixConfigurationWindows::fillMatrixTable(int rows, int cols)
{
    if (rows < 1)
        return;
    // Filling writes each entry's own number; it must not come back through
    // updateMNum as an edit.
    const QSignalBlocker blocker(ui->matr_tablewidget);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int index = r * cols + c;
            if (index >= WallSize::kCells)
                return;
            auto *item = new QTableWidgetItem(QString::number(matrixOut[index]));
            item->setTextAlignment(Qt::AlignCenter);
            ui->matr_tablewidget->setItem(r, c, item);
        }
    }
}

void MatrixConfigurationWindows::updateMNum(QTableWidgetItem *item)
{
    if (!item)
        return;
    const int index = item->row() * ui->matr_tablewidget->columnCount() + item->column();
    if (index < 0 || index >= WallSize::kCells)
        return;
    matrixOut[index] = item->text().toInt(); // a text that is no number counts as 0
}

void MatrixConfigurationWindows::setOneToOne()
{
    for (int i = 0; i < WallSize::kCells; ++i)
        matrixOut[i] = i + 1;
    ui->matr_tablewidget->clearContents();
    fillMatrixTable(ui->matr_tablewidget->rowCount(), ui->matr_tablewidget->columnCount());
}

int MatrixConfigurationWindows::cellOutput(int row, int column) const
{
    const QTableWidget *table = ui->matr_tablewidget;
    if (row < 0 || row >= table->rowCount() || column < 0 || column >= table->columnCount())
        return 0;
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text().toInt() : 0;
}

void MatrixConfigurationWindows::updateMatrixOutList(QStringList addresses)
{
    GlobalObject::matrixOutList.clear();
    for (const QString &address : addresses) {
        // Column digit, then row digit, both counted from 1. An address that
        // names no cell (a 0 digit, no hex digit, beyond the table, a screen
        // of a wall since made smaller) gives output 0, which the switching
        // builder skips.
        int output = 0;
        if (address.size() == 2) {
            const int column = hexDigitValue(address.at(0).toLatin1()) - 1;
            const int row = hexDigitValue(address.at(1).toLatin1()) - 1;
            output = cellOutput(row, column);
        }
        GlobalObject::matrixOutList.append(output);
    }
}
