#ifndef TEMPFOLDER_H
#define TEMPFOLDER_H

#include <QString>
#include <QTemporaryDir>

// A temporary folder that becomes the working directory and appDirPath for
// its lifetime; the previous values come back when it goes.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Removes config.ini so that a test starts as on a first start.
    void removeConfig() const;

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
    QString m_oldAppDir;
};

#endif // TEMPFOLDER_H
