#include "digitvalidator.h"

#include <QRegExp>
#include <QRegExpValidator>

QValidator *digitValidator(const QString &pattern, QObject *parent)
{
    QString ascii = pattern;
    ascii.replace(QStringLiteral("\\d"), QStringLiteral("[0-9]"));
    return new QRegExpValidator(QRegExp(ascii), parent);
}
