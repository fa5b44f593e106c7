#ifndef ADJUSTFRAMES_H
#define ADJUSTFRAMES_H

#include <QString>

// The road every adjustment window takes to the wall: instruction and
// parameter names looked up without adding to the table, one frame over the
// selected range on the main link, then the controllers' pause.
namespace AdjustFrames {

QString code(const char *name);

// One frame of the looked-up instruction carrying param (already a code).
void sendCode(const char *instruction, const QString &param);
void send(const char *instruction, const char *param);

// value as two upper-case hex digits (0 -> "00", 10 -> "0A").
QString byteText(int value);

} // namespace AdjustFrames

#endif // ADJUSTFRAMES_H
