#ifndef CONFIGFILE_H
#define CONFIGFILE_H

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

// config.ini lives in the application directory; every window owns one group.
// The console reads it once, at the first open() of a session, into keys of
// its own; windows read and change those keys, and a save merges what the
// session changed into config.ini as it is on the disk at that moment.
namespace ConfigFile {

QString path();

// The largest config.ini read, in bytes: above the largest the console
// saves, every list and name at its longest (some 730 kB, bench/configbench).
constexpr qint64 maxBytes = 1024 * 1024;

// A window's view of the session's keys, with the calls QSettings offers
// for groups and arrays. Keys are "Group/key"; an array's entries are
// "Array/1/key" and so on, its length "Array/size".
class Settings
{
public:
    void beginGroup(const QString &group);
    void endGroup();

    QVariant value(const QString &key, const QVariant &fallback = QVariant()) const;
    // A value set to what the session already holds, or read, is no
    // change, a number in another spelling included (3 where the file says
    // 03): the file keeps its spelling and another writer's later value.
    // Any other value is a change, saved even over another writer's value.
    void setValue(const QString &key, const QVariant &value);
    // The key and every key below it; "" is the whole current group.
    void remove(const QString &key);
    bool contains(const QString &key) const;
    QStringList childGroups() const;

    // Arrays: the length stored (0 for none) and the entries by index.
    int beginReadArray(const QString &array);
    // The length written at endArray(): the one given, or one past the
    // highest index set.
    void beginWriteArray(const QString &array, int size = -1);
    void setArrayIndex(int index);
    void endArray();

private:
    friend std::unique_ptr<Settings> untouched();

    QString fullKey(const QString &key) const;
    QString prefix() const;

    bool m_untouched = false;

    QStringList m_groups;
    struct Array
    {
        QString name;
        int index = -1;
        int highest = -1;
        int size = -1;
        bool writing = false;
    };
    std::unique_ptr<Array> m_array;
};

// The session's keys, read from config.ini at the first call of a session.
// A config.ini that is no regular file (a FIFO, a device), cannot be read or
// is larger than maxBytes is not read: the session starts with no keys,
// says so in one warning line, and never writes over the file.
std::unique_ptr<Settings> open();

// Settings that take what a window would save if the operator changed
// nothing, given right after it read its keys: its own form of each value
// (a value it refuses shown empty, a text it normalises, a result worked out
// again, its defaults where config.ini lacked the key). A key later set to
// that form is no change of the operator's: a save writes it only while
// config.ini still holds what the session read (or still lacks it), so that
// another console's or a hand's value stays. After a save that changed the
// key, the form counts no more. The first value given for a key counts;
// removing does nothing.
std::unique_ptr<Settings> untouched();

// Writes what the session changed since its last save that landed, and the
// keys set since then that config.ini lacks, merged into config.ini as it is
// now, under a lock beside it (waited for 2 s at most). config.ini is replaced
// only once every byte of the new file is on disk (each write, the flush and
// the sync checked), keeping the old file's mode, ACL and extended attributes,
// its owner where the saver may give it and else its group where the saver may
// give that, and the folder it is replaced in is synced after (a folder sync
// that fails is told: the file was replaced, false is returned, the session
// stands for what it wrote, and the next save writes those keys again unless
// config.ini holds them). An ACL that cannot be set on the new file fails the
// save. The text stays within maxBytes: a rewrite that would pass it leaves
// out the keys the console does not keep or, still too large, is not saved.
// When config.ini stays as it was, one warning line names it and why, the
// changes are kept for the next save, and false is returned. The settings
// given are not needed: every change of the session is saved. While saves are
// held it writes nothing and returns true.
bool save(const Settings &settings);

// While one lives, save() only keeps in the session what windows set: a
// close that closes several windows saves once after them, with one wait for
// the lock and one line if it fails.
class HeldSaves
{
public:
    HeldSaves();
    ~HeldSaves();
    HeldSaves(const HeldSaves &) = delete;
    HeldSaves &operator=(const HeldSaves &) = delete;
};

// A group is read only when the session's keys hold that group.
bool hasGroup(const QString &group);

// The values of an array of the current group, fallback for a missing one;
// at most maxCount of them, whatever size the file claims.
QStringList readArray(Settings &settings, const QString &array, const QString &key, const QString &fallback,
                      int maxCount);

// Forgets the session: the next open() reads config.ini as it is then, as a
// new start of the console does. For tests that change the file by hand
// between two starts in one process.
void readAgain();

} // namespace ConfigFile

#endif // CONFIGFILE_H
