#pragma once

#include <QString>

#include <optional>

// The path of a file a question names (exhibit, diagram), inside moduleFolder. A module
// only names plain files: a name that is empty, holds a path separator or a drive colon,
// or is "." or ".." gives nothing, so no module can make the program read elsewhere.
std::optional<QString> moduleFilePath(const QString &moduleFolder, const QString &fileName);

// True when path is a regular file, also through a link: a device, a FIFO or a folder
// named by a module would block or never end when read.
bool isRegularFile(const QString &path);
