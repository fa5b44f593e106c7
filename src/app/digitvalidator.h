#ifndef DIGITVALIDATOR_H
#define DIGITVALIDATOR_H

#include <QString>

class QLineEdit;
class QObject;
class QValidator;

// The validator of every field where a number is typed. Each "\d" of the
// pattern stands for an ASCII digit 0-9 only: a full-width or Arabic-Indic
// digit would pass a plain "\d" and then read as 0 on the wire. The pattern
// must match the whole text; write "\d" outside brackets.
QValidator *digitValidator(const QString &pattern, QObject *parent);

// Puts a text read from config.ini into a field under the rule of typing: a
// text that the field's validator refuses leaves the field as it is.
void setStoredText(QLineEdit *edit, const QString &text);

// The same, but a refused text empties the field: for a field whose form
// value is a real destination that must not stand in for the stored one.
void setStoredTextOrNothing(QLineEdit *edit, const QString &text);

#endif // DIGITVALIDATOR_H
