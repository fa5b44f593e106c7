#ifndef GOLDENROWS_H
#define GOLDENROWS_H

#include <QByteArrayList>
#include <QFile>
#include <QTest>

// Adds the rows of a golden file under tests/data/ to the current _data
// function: tab-separated, the first line names the row-name column and then
// the others (all QString), lines starting with "#" after it are comments.
inline void goldenRows(const QString &fileName)
{
    static QByteArrayList names; // QTest keeps pointers to the column names
    QFile golden(QStringLiteral(VW_TEST_DATA "/") + fileName);
    QVERIFY2(golden.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(golden.fileName()));
    for (const QByteArray &column : golden.readLine().trimmed().split('\t').mid(1)) {
        names.append(column);
        QTest::addColumn<QString>(names.last().constData());
    }
    while (!golden.atEnd()) {
        const QStringList row = QString::fromUtf8(golden.readLine()).remove('\n').split('\t');
        if (row.first().startsWith('#'))
            continue;
        QTestData &data = QTest::newRow(qPrintable(row.first()));
        for (const QString &field : row.mid(1))
            data << field;
    }
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
