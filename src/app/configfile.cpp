#include "configfile.h"

#include <QFileInfo>

#include <algorithm>

#include "globalobject.h"

namespace ConfigFile {

QString path()
{
    return appDirPath + QStringLiteral("/config.ini");
}

std::unique_ptr<QSettings> open()
{
    // Opening a FIFO blocks until someone writes to it, a device never ends.
    // Settings below such a file find nothing to read, and their writes fail
    // because no folder can be made there: the file itself is left alone. A
    // folder named config.ini cannot be opened at all and needs no care.
    const QFileInfo info(path());
    if (info.exists() && !info.isFile() && !info.isDir())
        return std::make_unique<QSettings>(path() + QStringLiteral("/config.ini"), QSettings::IniFormat);
    return std::make_unique<QSettings>(path(), QSettings::IniFormat);
}

bool hasGroup(const QString &group)
{
    if (!fileExists(path()))
        return false;
    return open()->childGroups().contains(group);
}

QStringList readArray(QSettings &settings, const QString &array, const QString &key,
                      const QString &fallback, int maxCount)
{
    QStringList values;
    const int size = std::min(settings.beginReadArray(array), maxCount);
    for (int i = 0; i < size; ++i) {
        settings.setArrayIndex(i);
        values.append(settings.value(key, fallback).toString());
    }
    settings.endArray();
    return values;
}

} // namespace ConfigFile
