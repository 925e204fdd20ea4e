#include "interactive/ModulePicture.h"

#include "moduledb/Archive.h"

#include <QDir>
#include <QFileInfo>

namespace {
constexpr int fileNotFoundError = 53;
constexpr int invalidPictureError = 481;
} // namespace

ModulePicture loadModulePicture(const QString &moduleFolder, const QString &fileName)
{
    ModulePicture loaded;
    const QString path = QDir(moduleFolder).filePath(fileName);
    if (!isSafeEntryName(fileName) || !QFileInfo(path).isFile()) {
        loaded.problem = QStringLiteral("File not found");
        loaded.errorNumber = fileNotFoundError;
        return loaded;
    }
    if (!loaded.picture.load(path)) {
        loaded.problem = QStringLiteral("Invalid picture");
        loaded.errorNumber = invalidPictureError;
    }
    return loaded;
}
