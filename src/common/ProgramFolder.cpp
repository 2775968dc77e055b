#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString programFolderBeforeApplication()
{
    const QFileInfo program(QStringLiteral("/proc/self/exe"));
    if (!program.exists() || !program.isSymLink())
        return {};
    return QFileInfo(program.canonicalFilePath()).path();
}

QString inProgramFolder(const QString& folder, const QString& relativePath)
{
    return QDir(folder).filePath(relativePath);
}
