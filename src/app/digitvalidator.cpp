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

namespace {

bool refuses(const QLineEdit *edit, const QString &text)
{
    QString checked = text;
    int position = 0;
    const QValidator *validator = edit->validator();
    return validator && validator->validate(checked, position) == QValidator::Invalid;
}

} // namespace

void setStoredText(QLineEdit *edit, const QString &text)
{
    if (!refuses(edit, text))
        edit->setText(text);
}

void setStoredTextOrNothing(QLineEdit *edit, const QString &text)
{
    edit->setText(refuses(edit, text) ? QString() : text);
}
