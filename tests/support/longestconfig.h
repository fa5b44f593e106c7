#ifndef LONGESTCONFIG_H
#define LONGESTCONFIG_H

#include <QSettings>
#include <QString>

#include "configfile.h"

// config.ini with every window's values at their longest, as the console
// loads them: 255 input names of each of the five lists, 99 scenes, 256
// ports, a 15 x 15 wall's outputs, a caption of 4000 characters, a logo path
// of 4095 bytes; names (and the user name) of the length given, all in
// characters that INI escapes to six bytes each.
namespace LongestConfig {

// A character INI writes as "\x4e00".
inline QString wide(int length) { return QString(length, QChar(0x4E00)); }

inline void writeArray(QSettings &settings, const QString &array, const QString &key, int count, const QString &value)
{
    settings.beginWriteArray(array, count);
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        settings.setValue(key, value);
    }
    settings.endArray();
}

// Every group at its longest as a start loads it, names of nameLength.
inline void writeLongestConfig(int nameLength)
{
    ConfigFile::readAgain();
    QSettings settings(ConfigFile::path(), QSettings::IniFormat);
    const QString name = wide(nameLength);
    settings.beginGroup(QStringLiteral("MainSetting"));
    settings.setValue(QStringLiteral("Row"), 15);
    settings.setValue(QStringLiteral("Column"), 15);
    settings.setValue(QStringLiteral("Username"), name);
    settings.setValue(QStringLiteral("Userimage"), QStringLiteral("/") + wide(4095 / 3 - 1)); // 4095 bytes of UTF-8
    for (const char *array : {"VideoMatrixIn", "DviMatrixIn", "VgaMatrixIn", "HdmiMatrixIn", "GeneralMatrixIn"})
        writeArray(settings, QLatin1String(array), QStringLiteral("In"), 255, name);
    writeArray(settings, QStringLiteral("SceneList"), QStringLiteral("Scene"), 99, name);
    settings.endGroup();
    settings.beginGroup(QStringLiteral("MatrixConfig"));
    for (const char *key : {"VideoInputNum", "DviInputNum", "VgaInputNum", "HdmiInputNum"})
        settings.setValue(QLatin1String(key), 255);
    for (const char *key : {"VideoId", "DviId", "VgaId", "HdmiId"})
        settings.setValue(QLatin1String(key), QStringLiteral("255"));
    writeArray(settings, QStringLiteral("MatrixOut"), QStringLiteral("out"), 225, QStringLiteral("255"));
    settings.endGroup();
    settings.beginGroup(QStringLiteral("PortConfig"));
    writeArray(settings, QStringLiteral("ComList"), QStringLiteral("Com"), 256, wide(255 / 3)); // a file name's 255 bytes
    settings.endGroup();
    settings.beginGroup(QStringLiteral("FontSetting"));
    settings.setValue(QStringLiteral("Text"), wide(4000));
    settings.endGroup();
    settings.beginGroup(QStringLiteral("AlienSetting"));
    for (const char *key : {"HorizontalStart", "HorizontalSize", "VerticalStart", "VerticalSize", "WResolution",
                            "HResolution", "TotalLenghtL", "TotalLenghtH", "SingleLenghtL", "SingleLenghtH",
                            "IntervalLength", "IntervalHeight"})
        settings.setValue(QLatin1String(key), QStringLiteral("65535"));
    settings.endGroup();
}


} // namespace LongestConfig

#endif // LONGESTCONFIG_H
