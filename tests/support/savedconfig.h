#ifndef SAVEDCONFIG_H
#define SAVEDCONFIG_H

#include "configfile.h"

// One key of config.ini set and saved, as a window's close saves it; false
// when config.ini stayed as it was.
inline bool saveConfigValue(const QString &key, const QVariant &value)
{
    const auto settings = ConfigFile::open();
    settings->setValue(key, value);
    return ConfigFile::save(*settings);
}

#endif // SAVEDCONFIG_H
