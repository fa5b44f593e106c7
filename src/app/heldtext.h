#ifndef HELDTEXT_H
#define HELDTEXT_H

#include <QString>

class QLineEdit;

// Texts held to a number of characters, typed or loaded, as a field with a
// maximum length holds them, but never cut between the two halves of a
// character beyond the basic plane (an emoji): half of one is no character,
// and config.ini would keep it as such.
namespace HeldText {

// The longest scene, input or user name. Every name at this length, in
// characters that config.ini escapes to six bytes, keeps the longest file
// the console saves (some 730 kB) within the size it reads back
// (ConfigFile::maxBytes).
constexpr int maxNameLength = 64;

// The longest start of text that fits in room, never half a character.
QString fitted(const QString &text, int room);

// Holds the field to maxLength as fitted does, whatever brings the text in:
// typing, a paste, a drop or the program.
void hold(QLineEdit *edit, int maxLength);

} // namespace HeldText

#endif // HELDTEXT_H
