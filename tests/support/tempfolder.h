#ifndef TEMPFOLDER_H
#define TEMPFOLDER_H

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "globalobject.h"

// A temporary folder that becomes the working directory and appDirPath for
// its lifetime; the previous values come back when it goes.
class TempFolder
{
public:
    TempFolder() : m_oldCwd(QDir::currentPath()), m_oldAppDir(appDirPath)
    {
        if (m_dir.isValid()) {
            QDir::setCurrent(m_dir.path());
            appDirPath = m_dir.path();
        }
    }
    ~TempFolder()
    {
        QDir::setCurrent(m_oldCwd);
        appDirPath = m_oldAppDir;
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    bool isValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
    QString m_oldAppDir;
};

#endif // TEMPFOLDER_H
