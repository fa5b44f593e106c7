#ifndef INITEXT_H
#define INITEXT_H

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

// config.ini's text: what the console reads of it and how it writes it back,
// so that a file another program wrote with QSettings reads the same here,
// and a file written here reads the same in QSettings (docs/config.md holds
// the facts this follows). The console keeps numbers and texts; a value of
// another kind ("@Rect(...)", "@Variant(...)") is carried as found.
namespace IniText {

struct Value
{
    enum Kind {
        Text, // one text; numbers are kept as their digits
        List, // texts separated by commas
        Kept, // another program's typed value: parts as they were read
    };
    Kind kind = Text;
    QStringList parts; // Text: exactly one; List and Kept lists: two or more

    static Value text(const QString &text) { return {Text, {text}}; }
    // What a window is given: a QString, a QStringList, or nothing for a
    // kept value the console does not decode.
    QVariant toVariant() const;
    static Value fromVariant(const QVariant &value);

    bool operator==(const Value &other) const { return kind == other.kind && parts == other.parts; }
    bool operator!=(const Value &other) const { return !(*this == other); }
};

// Every key by its full name, "Group/key"; top-level keys have no group.
using Keys = QMap<QString, Value>;

// Reads the whole text; what it does not understand is passed over. Time
// and memory grow with the text's length only.
Keys read(const QByteArray &bytes);

// The text of the keys: top-level keys under [General] first, then one
// section per group in the order of the groups' names.
QByteArray write(const Keys &keys);

} // namespace IniText

#endif // INITEXT_H
