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
#include <optional>
#include <unistd.h>

namespace {

const QString unpackProcedureLine = QStringLiteral("Function Name: UnpackTest");

// The system's own description and number of the last failed file operation.
QString systemReason(const QFile &file, int number)
{
    return number != 0 ? QString::fromLocal8Bit(std::strerror(number)) : file.errorString();
}

ErrorReport systemErrorReport(const QFile &file, int number)
{
    return {systemReason(file, number), number, unpackProcedureLine};
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

// The report of a file that could not be written whole: the file and the system's reason.
ErrorReport writeFailure(const QString &path, const QString &reason, int number)
{
    return {QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason, number,
            unpackProcedureLine};
}

ErrorReport systemWriteFailure(const QString &path, const QFile &file, int number)
{
    return writeFailure(path, systemReason(file, number), number);
}

// Writes content to a file made new at path. Whatever is there (a file left from another
// run, a link, a hard link to some other file) is removed, never written through.
std::optional<ErrorReport> writeEntryFile(const QString &path, const QByteArray &content)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT) {
        const int number = errno;
        return writeFailure(path, QString::fromLocal8Bit(std::strerror(number)), number);
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return systemWriteFailure(path, file, errno);
    errno = 0;
    if (file.write(content) != content.size() || !file.flush())
        return systemWriteFailure(path, file, errno);
    file.close();
    if (file.error() != QFileDevice::NoError)
        return systemWriteFailure(path, file, errno);
    return std::nullopt;
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
        if (const std::optional<ErrorReport> failure =
                writeEntryFile(targets[i], archive.entries[i].content)) {
            // Loading reads exactly what this run wrote: nothing half written stays behind.
            for (qsizetype written = 0; written <= i; ++written)
                QFile::remove(targets[written]);
            ShowErrorReport(*failure);
            return false;
        }
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }
    return true;
}
