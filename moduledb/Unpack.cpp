#include "Unpack.h"

#include "Archive.h"

#include "common/ErrorReport.h"
#include "common/MessageBoxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstring>

namespace {

const QString unpackProcedureLine = QStringLiteral("Function Name: UnpackTest");

// The system's own description and number of the last failed file operation.
ErrorReport systemErrorReport(const QFile &file, int number)
{
    const QString description =
        number != 0 ? QString::fromLocal8Bit(std::strerror(number)) : file.errorString();
    return {description, number, unpackProcedureLine};
}

enum class ArchiveRead { Read, Unreadable, TooLarge };

// Reads the whole archive into bytes; on a failure shows the error report with the
// system's description.
ArchiveRead readArchive(const QString &archivePath, QByteArray &bytes)
{
    QFile file(archivePath);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        ShowErrorReport(systemErrorReport(file, errno));
        return ArchiveRead::Unreadable;
    }
    // An archive larger than anything the reader would unpack is not read at all.
    if (file.size() > maxUnpackedBytes)
        return ArchiveRead::TooLarge;
    errno = 0;
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ShowErrorReport(systemErrorReport(file, errno));
        return ArchiveRead::Unreadable;
    }
    return ArchiveRead::Read;
}

// True when target names the archive itself, in any letter case or through a link.
bool isTheArchive(const QString &target, const QString &archivePath)
{
    const QFileInfo targetInfo(target);
    const QFileInfo archiveInfo(archivePath);
    if (QDir::cleanPath(targetInfo.absoluteFilePath())
            .compare(QDir::cleanPath(archiveInfo.absoluteFilePath()), Qt::CaseInsensitive) == 0)
        return true;
    return targetInfo.exists() && targetInfo.canonicalFilePath() == archiveInfo.canonicalFilePath();
}

void showCannotReadDatabase()
{
    showMessage(errorReportTitle, cannotReadDatabaseText(), MessageIcon::Critical,
                MessageButtons::Ok);
}

// Writes content to path, replacing what is there. Failures are skipped: the loader
// notices a table that is missing.
void writeEntryFile(const QString &path, const QByteArray &content)
{
    const QFileInfo existing(path);
    if (existing.isSymLink()) {
        // Never write through a link to somewhere outside the folder.
        QFile::remove(path);
    } else if (existing.exists()) {
        // A read-only file left from an earlier run is overwritten.
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner |
                                        QFileDevice::WriteUser);
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

} // namespace

QString cannotReadDatabaseText()
{
    return QStringLiteral("Quendra cannot read the test database.\n\nPlease report to ") +
           supportAddress + QStringLiteral(" for assistance.");
}

bool UnpackTest(const QString &archivePath, const QString &destinationFolder,
                const QString &programFolder, OneBasedArray<QString> &testFiles,
                const ParsedArchive *readAhead)
{
    ParsedArchive readNow;
    if (!readAhead) {
        QByteArray bytes;
        switch (readArchive(archivePath, bytes)) {
        case ArchiveRead::Read:
            break;
        case ArchiveRead::Unreadable:
            return false;
        case ArchiveRead::TooLarge:
            showCannotReadDatabase();
            return false;
        }
        readNow = parseArchive(bytes);
    }
    const ParsedArchive &archive = readAhead ? *readAhead : readNow;
    if (archive.failure == ArchiveFailure::NoTestModule) {
        ShowErrorReport({QStringLiteral("Test database not found."), 0, unpackProcedureLine});
        return false;
    }

    testFiles.fill(archive.entryCount, QString());
    const QDir destination(destinationFolder);
    const QDir program(programFolder);
    QStringList targets;
    bool damaged = archive.failure == ArchiveFailure::Damaged;
    int index = 0;
    for (const UnpackedEntry &entry : archive.entries) {
        testFiles[++index] = entry.name;
        const QDir &folder = isProgramFolderEntry(entry.name) ? program : destination;
        targets.append(folder.filePath(entry.name));
        // An entry named like the archive would replace it, and loading would delete it.
        if (isTheArchive(targets.last(), archivePath))
            damaged = true;
    }
    // The whole archive is read before anything is written, so a damaged one changes no
    // file: no half-unpacked tables are left behind in the module folder.
    if (damaged) {
        showCannotReadDatabase();
        return false;
    }

    QDir().mkpath(destinationFolder);
    for (qsizetype i = 0; i < targets.size(); ++i) {
        writeEntryFile(targets[i], archive.entries[i].content);
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }
    return true;
}
