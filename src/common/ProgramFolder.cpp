#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString inProgramFolder(const QString& folder, const QString& relativePath)
{
    return QDir(folder).filePath(relativePath);
}
