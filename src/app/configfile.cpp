#include "configfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>

#include "globalobject.h"

namespace ConfigFile {

QString path()
{
    return appDirPath + QStringLiteral("/config.ini");
}

namespace {

// The keys the console keeps, by group. An array goes by its name: its
// entries and its size stand below it.
struct OwnGroup
{
    const char *group;
    const char *keys; // separated by spaces
};
const OwnGroup ownGroups[] = {
    {"MainSetting", "Language Skin Row Column Username Userimage SignalIndex MatrixInputIndex SceneIndex DelayOn "
                    "MatrixSelect Fan1 Fan2 MatrixBeginIn MatrixEndIn MatrixBeginOut MatrixEndOut MatrixSec "
                    "SceneBegin SceneEnd SceneSec VideoMatrixIn DviMatrixIn VgaMatrixIn HdmiMatrixIn "
                    "GeneralMatrixIn SceneList"},
    {"MatrixConfig", "VideoId DviId VgaId HdmiId ResponseTime IntervalTime priority VideoInputNum DviInputNum "
                     "VgaInputNum HdmiInputNum VideoIndex VgaIndex DviIndex HdmiIndex SdiIndex MatrixOut"},
    {"PortConfig", "ConMethod LPort VPort DPort VLink DLink Addr Port AutoOpen ComList"},
    {"FontSetting", "Text TDelay Transparent BgColorIndex"},
    {"AlienSetting", "HorizontalStart HorizontalSize VerticalStart VerticalSize WResolution HResolution "
                     "TotalLenghtL TotalLenghtH SingleLenghtL SingleLenghtH IntervalLength IntervalHeight"},
    {"EdgeSetting", "HAdjust VAdjust"},
    {"PictureSetting", "Red Green Blue"},
    {"TimingConfig", "Model StartHour StartMin EndHour EndMin Switch"},
};

// The longest value the console writes: a logo path of PATH_MAX bytes (a
// caption holds 4000 characters, a name 64). A longer one came from another
// hand, and every start would cut it anyway.
constexpr int longestValue = 4095;

int valueLength(const QVariant &value)
{
    if (value.userType() == QMetaType::QStringList) // "a, b" reads as a list
        return value.toStringList().join(QStringLiteral(", ")).size();
    return value.toString().size();
}

bool isOwn(const QString &key, const QVariant &value)
{
    const QStringList parts = key.split(QLatin1Char('/'));
    const auto own = std::find_if(std::begin(ownGroups), std::end(ownGroups),
                                  [&](const OwnGroup &g) { return parts.first() == QLatin1String(g.group); });
    return parts.size() > 1 && own != std::end(ownGroups)
           && QString::fromLatin1(own->keys).split(QLatin1Char(' ')).contains(parts.at(1))
           && valueLength(value) <= longestValue;
}

// Once for each file: a console that keeps running on the same file says a
// thing about it once, whatever number of windows open the settings.
bool firstTime(QString &named, const QString &identity)
{
    if (identity == named)
        return false;
    named = identity;
    return true;
}

// QSettings reads the whole file into memory and keeps every key of it: a
// file of a gigabyte costs gigabytes and minutes, at start and again when a
// window saves its group. Each start names a refused file once, however many
// windows open the settings.
bool tooLarge(const QFileInfo &info)
{
    if (info.size() <= maxBytes)
        return false;
    static QString named;
    if (firstTime(named, fileIdentity(info)))
        qWarning("Settings not read or saved, %s is larger than %lld bytes: %lld bytes",
                 qPrintable(QDir::toNativeSeparators(info.absoluteFilePath())), maxBytes, info.size());
    return true;
}

// Settings below a file find nothing to read, and their writes fail because
// no folder (nor lock file) can be made there: the file itself is left alone.
std::unique_ptr<QSettings> refused()
{
    return std::make_unique<QSettings>(path() + QStringLiteral("/config.ini"), QSettings::IniFormat);
}

// Holds the scratch folder for as long as the settings written into it.
struct ScratchFolder
{
    std::unique_ptr<QTemporaryDir> folder;
};

// Settings on a copy of config.ini in a scratch folder. QSettings rewrites
// the whole file at each save, keys of other programs included, each escaped
// anew (raw UTF-8 comes back four times as long): what it would write is
// known only once it has written it. So it writes the copy, whenever it syncs,
// and config.ini is replaced by the copy only when the settings go, the copy
// changed and it is within maxBytes: a config.ini the next start refuses is
// never written, not even for a moment. A copy over the bound loses the keys
// the console does not keep, and values longer than it writes; one still
// over it (only a hand makes one) is not saved, and config.ini stays as it
// was. Either is named in one warning line.
class BoundedSettings : private ScratchFolder, public QSettings
{
public:
    BoundedSettings(std::unique_ptr<QTemporaryDir> folder, const QByteArray &original, const QString &identity)
        : ScratchFolder{std::move(folder)}
        , QSettings(this->folder->filePath(QStringLiteral("config.ini")), QSettings::IniFormat)
        , original(original)
        , identity(identity)
    {
    }
    ~BoundedSettings() override
    {
        sync();
        QByteArray bytes = written();
        if (bytes == original)
            return;
        if (bytes.size() > maxBytes) {
            leaveOutForeign();
            bytes = written();
            if (bytes.size() > maxBytes) {
                static QString namedUnsaved;
                if (firstTime(namedUnsaved, identity))
                    qWarning("Settings not saved, %s would be larger than %lld bytes",
                             qPrintable(QDir::toNativeSeparators(path())), maxBytes);
                return;
            }
            static QString namedTrimmed;
            if (firstTime(namedTrimmed, identity))
                qWarning("Settings saved without the keys the console does not keep, %s would be larger than %lld "
                         "bytes with them",
                         qPrintable(QDir::toNativeSeparators(path())), maxBytes);
        }
        QSaveFile file(path());
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
            file.commit();
    }

private:
    QByteArray written() const
    {
        QFile copy(fileName());
        return copy.open(QIODevice::ReadOnly) ? copy.readAll() : original;
    }
    void leaveOutForeign() const
    {
        QSettings kept(fileName(), QSettings::IniFormat);
        for (const QString &key : kept.allKeys()) {
            if (!isOwn(key, kept.value(key)))
                kept.remove(key);
        }
    }

    const QByteArray original;
    const QString identity; // config.ini as it was when the copy was made
};

} // namespace

std::unique_ptr<QSettings> open()
{
    // Opening a FIFO blocks until someone writes to it, a device never ends:
    // such a file, one too large and one that cannot be read are left alone.
    // A folder named config.ini cannot be opened at all and needs no care.
    const QFileInfo info(path());
    if (info.isDir())
        return std::make_unique<QSettings>(path(), QSettings::IniFormat);
    QByteArray original;
    if (info.exists()) {
        QFile file(path());
        if (!info.isFile() || tooLarge(info) || !file.open(QIODevice::ReadOnly))
            return refused();
        original = file.read(maxBytes + 1);
        if (file.error() != QFile::NoError || original.size() > maxBytes) // it grew since it was looked at
            return refused();
    }
    auto folder = std::make_unique<QTemporaryDir>();
    QFile copy(folder->filePath(QStringLiteral("config.ini")));
    if (!folder->isValid() || !copy.open(QIODevice::WriteOnly) || copy.write(original) != original.size()
        || !copy.flush()) {
        static QString named;
        if (firstTime(named, fileIdentity(info)))
            qWarning("Settings not read or saved, no copy of %s could be made in %s",
                     qPrintable(QDir::toNativeSeparators(path())),
                     qPrintable(QDir::toNativeSeparators(QDir::tempPath())));
        return refused();
    }
    copy.close();
    return std::make_unique<BoundedSettings>(std::move(folder), original, fileIdentity(info));
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
