#ifndef CONFIGFILE_H
#define CONFIGFILE_H

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

// config.ini lives in the application directory; every window owns one group.
namespace ConfigFile {

QString path();

// The settings object for config.ini, INI format. A config.ini that is no
// regular file (a FIFO, a device) counts as missing: nothing is read from it
// or written to it.
std::unique_ptr<QSettings> open();

// A group is read only when the file exists and holds that group.
bool hasGroup(const QString &group);

// The values of an array of the current group, fallback for a missing one;
// at most maxCount of them, whatever size the file claims.
QStringList readArray(QSettings &settings, const QString &array, const QString &key,
                      const QString &fallback, int maxCount);

} // namespace ConfigFile

#endif // CONFIGFILE_H
