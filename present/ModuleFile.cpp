#include "ModuleFile.h"

#include "moduledb/Archive.h"

#include <QDir>
#include <QFileInfo>

std::optional<QString> moduleFilePath(const QString &moduleFolder, const QString &fileName)
{
    // The same rule that keeps archive entries inside their folder.
    if (!isSafeEntryName(fileName))
        return std::nullopt;
    return QDir(moduleFolder).filePath(fileName);
}

bool isRegularFile(const QString &path)
{
    return QFileInfo(path).isFile();
}
