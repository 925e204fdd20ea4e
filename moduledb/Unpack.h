#pragma once

#include "Archive.h"

#include "common/OneBasedArray.h"

#include <QString>

// Unpacks the test database at archivePath: every entry becomes a file of its own in
// destinationFolder, except "readme.txt" and "eula.txt", which go to programFolder.
// testFiles is sized to the archive's entry count and holds the entry names in archive
// order (names after a failing entry stay empty). Shows the error report or the "cannot
// read" message and returns false when the archive is missing, holds no module or is
// damaged; start-up then ends the program. A damaged archive, or one with an entry that
// would replace the archive itself, writes no file at all. Every file is made new; one
// that cannot be written whole is reported with the system's reason, and the files
// written so far are removed. readAhead, when given, is the
// archive at archivePath already read and parsed, unchanged since.
bool UnpackTest(const QString &archivePath, const QString &destinationFolder,
                const QString &programFolder, OneBasedArray<QString> &testFiles,
                const ParsedArchive *readAhead = nullptr);

// The text of the message shown when the archive is damaged.
QString cannotReadDatabaseText();
