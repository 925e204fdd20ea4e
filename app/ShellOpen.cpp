#include "ShellOpen.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace {
UrlOpener &installedOpener()
{
    static UrlOpener opener;
    return opener;
}
} // namespace

void installUrlOpener(UrlOpener opener)
{
    installedOpener() = std::move(opener);
}

bool openWithSystem(const QUrl &address)
{
    if (installedOpener())
        return installedOpener()(address);
    return QDesktopServices::openUrl(address);
}

bool OpenHelp(const QString &programFolder, const QString &fileName, bool inHelpFolder)
{
    const QString path =
        inHelpFolder ? QDir(programFolder).filePath(QStringLiteral("Help/") + fileName) : fileName;
    // Nothing is shown when the manual is missing or cannot be opened.
    if (!QFileInfo::exists(path))
        return false;
    return openWithSystem(QUrl::fromLocalFile(path));
}
