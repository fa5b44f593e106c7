#include "digitvalidator.h"

#include <QLineEdit>
#include <QRegExp>
#include <QRegExpValidator>

QValidator *digitValidator(const QString &pattern, QObject *parent)
{
    QString ascii = pattern;
    ascii.replace(QStringLiteral("\\d"), QStringLiteral("[0-9]"));
    return new QRegExpValidator(QRegExp(ascii), parent);
}

void setStoredText(QLineEdit *edit, const QString &text)
{
    QString checked = text;
    int position = 0;
    const QValidator *validator = edit->validator();
    if (validator && validator->validate(checked, position) == QValidator::Invalid)
        return;
    edit->setText(text);
}
