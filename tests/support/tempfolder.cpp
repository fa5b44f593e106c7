#include "tempfolder.h"

#include <QDir>
#include <QFile>

#include "globalobject.h"

TempFolder::TempFolder()
    : m_oldCwd(QDir::currentPath())
    , m_oldAppDir(appDirPath)
{
    if (!m_dir.isValid())
        return;
    QDir::setCurrent(m_dir.path());
    appDirPath = m_dir.path();
}

TempFolder::~TempFolder()
{
    QDir::setCurrent(m_oldCwd);
    appDirPath = m_oldAppDir;
}

void TempFolder::removeConfig() const
{
    QFile::remove(m_dir.filePath(QStringLiteral("config.ini")));
}
