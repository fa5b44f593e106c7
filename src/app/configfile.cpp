#include "configfile.h"

#include "globalobject.h"

namespace ConfigFile {

QString path()
{
    return appDirPath + QStringLiteral("/config.ini");
}

std::unique_ptr<QSettings> open()
{
    return std::make_unique<QSettings>(path(), QSettings::IniFormat);
}

bool hasGroup(const QString &group)
{
    if (!fileExists(path()))
        return false;
    return open()->childGroups().contains(group);
}

} // namespace ConfigFile
