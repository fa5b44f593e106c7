#ifndef CONFIGFILE_H
#define CONFIGFILE_H

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

// config.ini lives in the application directory; every window owns one group.
namespace ConfigFile {

QString path();

// The largest config.ini read, in bytes: above the largest the console
// saves, every list and name at its longest (some 730 kB, bench/configbench).
constexpr qint64 maxBytes = 1024 * 1024;

// The settings object for config.ini, INI format, read straight from the
// file. A config.ini that is no regular file (a FIFO, a device), cannot be
// read or is larger than maxBytes counts as missing: nothing is read from it
// or written to it, and it is named in one warning line, until another file
// takes its place.
std::unique_ptr<QSettings> open();

// Writes what the object changed to config.ini, merged with the file as it
// is now under a lock beside it, so another writer's keys stay. config.ini is
// replaced only once every byte of the new file is on disk (each write, the
// flush and the sync checked), and only within maxBytes: a rewrite that would
// pass it leaves out the keys the console does not keep (another program's,
// and values longer than the console writes) or, still too large, is not
// saved. A file not read whole is never written over. When config.ini stays
// as it was, one warning line names it and why; false then. Nothing else
// writes: QSettings' own syncs (as its object goes) do not.
bool save(QSettings &settings);

// A group is read only when the file exists and holds that group.
bool hasGroup(const QString &group);

// The values of an array of the current group, fallback for a missing one;
// at most maxCount of them, whatever size the file claims.
QStringList readArray(QSettings &settings, const QString &array, const QString &key,
                      const QString &fallback, int maxCount);

} // namespace ConfigFile

#endif // CONFIGFILE_H
