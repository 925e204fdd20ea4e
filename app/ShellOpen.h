#pragma once

#include <QUrl>

#include <functional>

// Opens an address (a web page, a help file) with the system's handler for it. Tests
// install an opener that notes the address instead.
using UrlOpener = std::function<bool(const QUrl &)>;
void installUrlOpener(UrlOpener opener);
bool openWithSystem(const QUrl &address);

// OpenHelp: the file in the program's Help folder (inHelpFolder) or as named; true when the
// system opened it.
bool OpenHelp(const QString &programFolder, const QString &fileName, bool inHelpFolder);
