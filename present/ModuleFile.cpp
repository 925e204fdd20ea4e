#include "ModuleFile.h"

#include <QDir>

std::optional<QString> moduleFilePath(const QString &moduleFolder, const QString &fileName)
{
    if (fileName.isEmpty() || fileName == QStringLiteral(".") ||
        fileName.contains(QStringLiteral("..")) || fileName.contains(QLatin1Char('/')) ||
        fileName.contains(QLatin1Char('\\')) || fileName.contains(QLatin1Char(':')) ||
        fileName.contains(QChar(0)))
        return std::nullopt;
    return QDir(moduleFolder).filePath(fileName);
}
