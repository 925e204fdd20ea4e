#include "present/ModulePicture.h"

#include "present/ModuleFile.h"

namespace {
constexpr int fileNotFoundError = 53;
constexpr int invalidPictureError = 481;
} // namespace

ModulePicture loadModulePicture(const QString &moduleFolder, const QString &fileName)
{
    ModulePicture loaded;
    const std::optional<QString> path = moduleFilePath(moduleFolder, fileName);
    if (!path || !isRegularFile(*path)) {
        loaded.problem = QStringLiteral("File not found");
        loaded.errorNumber = fileNotFoundError;
        return loaded;
    }
    if (!loaded.picture.load(*path)) {
        loaded.problem = QStringLiteral("Invalid picture");
        loaded.errorNumber = invalidPictureError;
    }
    return loaded;
}
