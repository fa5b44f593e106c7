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

// The settings object for config.ini, INI format. A config.ini that is no
// regular file (a FIFO, a device), cannot be read or is larger than maxBytes
// counts as missing: nothing is read from it or written to it. A refused
// large file is named in one warning line, until another file takes its place.
// What the object writes reaches config.ini when it goes (a sync() before
// that writes a scratch copy only), and only within maxBytes: a rewrite that
// would pass it leaves out the keys the console does not keep (another
// program's, and values longer than the console writes) or, still too large,
// is not saved; either is named in one warning line.
std::unique_ptr<QSettings> open();

// A group is read only when the file exists and holds that group.
bool hasGroup(const QString &group);

// The values of an array of the current group, fallback for a missing one;
// at most maxCount of them, whatever size the file claims.
QStringList readArray(QSettings &settings, const QString &array, const QString &key,
                      const QString &fallback, int maxCount);

} // namespace ConfigFile

#endif // CONFIGFILE_H
