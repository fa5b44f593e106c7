#include "configfile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include "globalobject.h"

namespace ConfigFile {

QString path()
{
    return appDirPath + QStringLiteral("/config.ini");
}

namespace {

// QSettings reads the whole file into memory and keeps every key of it: a
// file of a gigabyte costs gigabytes and minutes, at start and again when a
// window saves its group. Each start names a refused file once, however many
// windows open the settings.
bool tooLarge(const QFileInfo &info)
{
    if (info.size() <= maxBytes)
        return false;
    static QString named;
    const QString key = fileIdentity(info);
    if (key != named) {
        named = key;
        qWarning("Settings not read or saved, %s is larger than %lld bytes: %lld bytes",
                 qPrintable(QDir::toNativeSeparators(info.absoluteFilePath())), maxBytes, info.size());
    }
    return true;
}

} // namespace

std::unique_ptr<QSettings> open()
{
    // Opening a FIFO blocks until someone writes to it, a device never ends.
    // Settings below such a file find nothing to read, and their writes fail
    // because no folder (nor lock file) can be made there: the file itself is
    // left alone. A folder named config.ini cannot be opened at all and needs
    // no care.
    const QFileInfo info(path());
    if (info.exists() && !info.isDir() && (!info.isFile() || tooLarge(info)))
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
