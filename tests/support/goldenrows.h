#ifndef GOLDENROWS_H
#define GOLDENROWS_H

#include <QByteArrayList>
#include <QFile>
#include <QTest>

// The lines of a golden file under tests/data/, split at tabs: the header
// first, then the rows; lines starting with "#" after the header are
// comments. Empty when the file cannot be read.
inline QList<QStringList> goldenLines(const QString &fileName)
{
    QList<QStringList> lines;
    QFile golden(QStringLiteral(VW_TEST_DATA "/") + fileName);
    if (!golden.open(QIODevice::ReadOnly | QIODevice::Text))
        return lines;
    lines.append(QString::fromUtf8(golden.readLine().trimmed()).split('\t'));
    while (!golden.atEnd()) {
        const QStringList row = QString::fromUtf8(golden.readLine()).remove('\n').split('\t');
        if (!row.first().startsWith('#'))
            lines.append(row);
    }
    return lines;
}

// Whether the row'th row (from 0) of a golden file runs in this binary. A
// long table runs in shares, each in a binary of its own built from the same
// source, so that no binary takes long: VW_SHARED_TABLES names the tables
// ("a.tsv b.tsv") and VW_ROW_SHARE "k/n" keeps the k-th of every n of their
// rows. Other tables run whole.
inline bool inRowShare(const QString &fileName, int row)
{
#ifdef VW_ROW_SHARE
    const QString share = QStringLiteral(VW_ROW_SHARE);
    if (QStringLiteral(VW_SHARED_TABLES).split(QLatin1Char(' ')).contains(fileName))
        return row % share.section(QLatin1Char('/'), 1).toInt() == share.section(QLatin1Char('/'), 0, 0).toInt() - 1;
#else
    Q_UNUSED(fileName)
    Q_UNUSED(row)
#endif
    return true;
}

// Adds the rows of a golden file (those of this binary's share) to the
// current _data function: the first line names the row-name column and then
// the others (all QString).
inline void goldenRows(const QString &fileName)
{
    static QByteArrayList names; // QTest keeps pointers to the column names
    const QList<QStringList> lines = goldenLines(fileName);
    QVERIFY2(!lines.isEmpty(), qPrintable(fileName));
    for (const QString &column : lines.first().mid(1)) {
        names.append(column.toUtf8());
        QTest::addColumn<QString>(names.last().constData());
    }
    for (int i = 1; i < lines.size(); ++i) {
        if (!inRowShare(fileName, i - 1))
            continue;
        const QStringList &row = lines.at(i);
        QTestData &data = QTest::newRow(qPrintable(row.first()));
        for (const QString &field : row.mid(1))
            data << field;
    }
}

// Every value of the named column of a golden file, in the order of its rows.
inline QStringList goldenColumn(const QString &fileName, const QString &column)
{
    const QList<QStringList> lines = goldenLines(fileName);
    const int index = lines.value(0).indexOf(column);
    QStringList values;
    for (const QStringList &row : lines.mid(1))
        values.append(row.value(index));
    return values;
}

// The named field of the current golden row.
inline QString golden(const char *column)
{
    return *static_cast<QString *>(QTest::qData(column, qMetaTypeId<QString>()));
}

// A '|'-separated field of a golden row as a list (empty: no item).
inline QStringList goldenList(const QString &field)
{
    return field.isEmpty() ? QStringList() : field.split(QLatin1Char('|'));
}

#endif // GOLDENROWS_H
