#ifndef CONFIGFILE_H
#define CONFIGFILE_H

#include <QSettings>
#include <QString>

#include <memory>

// config.ini lives in the application directory; every window owns one group.
namespace ConfigFile {

QString path();

// The settings object for config.ini, INI format.
std::unique_ptr<QSettings> open();

// A group is read only when the file exists and holds that group.
bool hasGroup(const QString &group);

} // namespace ConfigFile

#endif // CONFIGFILE_H
