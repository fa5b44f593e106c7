#ifndef MATRIXMODELS_H
#define MATRIXMODELS_H

#include <QString>
#include <QStringList>

// The matrix models offered per signal type ("VIDEO", "VGA", "DVI", "HDMI",
// "SDI"), in list order. config.ini keeps only the index into these lists and
// the command builders compare the names case-sensitively, so neither the
// order nor the spelling may change. Any other type gives an empty list.
QStringList matrixModelNames(const QString &signalType);

#endif // MATRIXMODELS_H
