#pragma once

#include <QPixmap>
#include <QString>

// A picture that a question names, read from the module folder.
struct ModulePicture
{
    QPixmap picture;
    // What went wrong, as the error report gives it; errorNumber 0 when the picture loaded.
    QString problem;
    int errorNumber = 0;
};

// Loads fileName from moduleFolder. A name that is not a plain file name inside the folder
// (a path separator, a drive colon, "..") counts as a missing file.
ModulePicture loadModulePicture(const QString &moduleFolder, const QString &fileName);
