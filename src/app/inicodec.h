#ifndef INICODEC_H
#define INICODEC_H

#include <QByteArray>
#include <QSettings>

// The INI text QSettings reads and writes in its IniFormat, spelled out here
// so that the console decides where and how config.ini's bytes reach the disk
// (QSettings' own writer reports no error when a flush fails). A file either
// side writes reads the same on the other: the same escapes, the same
// sections, the same value types.
namespace IniCodec {

// Every key of the text, "Group/key" as QSettings names it. A line that is
// not understood is passed over, as QSettings passes it over.
QSettings::SettingsMap parse(const QByteArray &text);

// The text of every key: the top-level keys first under [General], then one
// section per group.
QByteArray write(const QSettings::SettingsMap &keys);

} // namespace IniCodec

#endif // INICODEC_H
