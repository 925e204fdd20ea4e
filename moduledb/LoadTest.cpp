#include "LoadTest.h"

#include "Archive.h"
#include "TableReader.h"

#include "common/ErrorReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace {

const QString loadProcedureLine = QStringLiteral("Procedure Name: LoadTest");

void showLoadProblem(const LoadProblem &problem)
{
    ShowErrorReport({problem.description, problem.number, loadProcedureLine});
}

LoadProblem systemProblem(const QFile &file, int number)
{
    return {number != 0 ? QString::fromLocal8Bit(std::strerror(number)) : file.errorString(),
            number};
}

enum class TableFileRead { Read, NotOpened, Failed };

// Reads a table file into bytes and deletes it; on failure fills problem.
TableFileRead takeTableFile(const QString &path, QByteArray &bytes, LoadProblem &problem)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        problem = systemProblem(file, errno);
        return TableFileRead::NotOpened;
    }
    TableFileRead result = TableFileRead::Read;
    if (file.size() > maxUnpackedBytes) {
        // Unpacking never writes this much; it is not ours.
        problem = {QStringLiteral("The table file %1 is larger than any module.")
                       .arg(QFileInfo(path).fileName()),
                   0};
        result = TableFileRead::Failed;
    } else {
        errno = 0;
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            problem = systemProblem(file, errno);
            result = TableFileRead::Failed;
        }
    }
    file.remove();
    return result;
}

// True when the table files in folder are the ones written from the module read ahead:
// the same names in the same order, each a plain file of its entry's length.
bool tableFilesAsWritten(const OneBasedArray<QString> &testFiles, const QDir &folder,
                         const PreloadedModule &module)
{
    const QList<UnpackedEntry> &entries = module.archive.entries;
    if (!module.tablesLoaded || testFiles.size() != entries.size())
        return false;
    for (int i = 1; i <= testFiles.size(); ++i) {
        const UnpackedEntry &entry = entries[i - 1];
        if (testFiles[i] != entry.name)
            return false;
        if (isProgramFolderEntry(entry.name))
            continue;
        const QFileInfo file(folder.filePath(entry.name));
        if (!file.isFile() || file.isSymLink() || file.size() != entry.content.size())
            return false;
    }
    return true;
}

} // namespace

bool LoadTest(const OneBasedArray<QString> &testFiles, const QString &moduleFolder,
              QuestionBank &bank, PreloadedModule *readAhead)
{
    bank = QuestionBank();
    const QDir folder(moduleFolder);

    if (readAhead && tableFilesAsWritten(testFiles, folder, *readAhead)) {
        for (const UnpackedEntry &entry : readAhead->archive.entries) {
            if (!isProgramFolderEntry(entry.name))
                QFile::remove(folder.filePath(entry.name));
        }
        if (readAhead->loadProblem) {
            showLoadProblem(*readAhead->loadProblem);
            return false;
        }
        bank = std::move(readAhead->bank);
        return true;
    }

    std::optional<LoadProblem> problem;

    for (int i = 1; i <= testFiles.size(); ++i) {
        const QString &name = testFiles[i];
        if (!isSafeEntryName(name))
            continue;
        const QString path = folder.filePath(name);
        if (problem) {
            // Loading has stopped; the table files still go.
            QFile::remove(path);
            continue;
        }
        QByteArray bytes;
        LoadProblem failure;
        switch (takeTableFile(path, bytes, failure)) {
        case TableFileRead::Read:
            problem = readTable(tableNameOf(name), bytes, bank);
            break;
        case TableFileRead::NotOpened:
            // Only the first table file must be there: the plain text entries that
            // unpacking put in the program folder are not found here and are skipped.
            if (i == 1)
                problem = failure;
            break;
        case TableFileRead::Failed:
            problem = failure;
            break;
        }
    }

    if (!problem)
        problem = completeBank(bank);
    if (problem) {
        showLoadProblem(*problem);
        return false;
    }
    return true;
}
