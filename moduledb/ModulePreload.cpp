#include "ModulePreload.h"

#include <QFile>
#include <QSet>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// True when loading the table files that unpacking writes reads exactly the table entries,
// in archive order: the first entry is a table (loading insists on finding the first file)
// and no two entries share a name (the later one would replace the earlier file).
bool tablesFollowTheEntries(const ParsedArchive &archive)
{
    if (archive.failure != ArchiveFailure::None || archive.entries.isEmpty() ||
        isProgramFolderEntry(archive.entries.first().name))
        return false;
    QSet<QString> names;
    for (const UnpackedEntry &entry : archive.entries) {
        if (names.contains(entry.name))
            return false;
        names.insert(entry.name);
    }
    return true;
}

FileStamp stampFrom(const struct stat &status)
{
    if (!S_ISREG(status.st_mode))
        return {};
    return {status.st_size, status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec,
            status.st_ino};
}

} // namespace

FileStamp stampOf(const QString &path)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return stampFrom(status);
}

PreloadedModule preloadArchive(QByteArrayView archive)
{
    PreloadedModule module;
    module.archive = parseArchive(archive);
    if (tablesFollowTheEntries(module.archive)) {
        QList<TableFile> tables;
        for (const UnpackedEntry &entry : module.archive.entries) {
            if (!isProgramFolderEntry(entry.name))
                tables.append({entry.name, entry.content});
        }
        module.loadProblem = loadTables(tables, module.bank);
        module.tablesLoaded = true;
    }
    return module;
}

std::unique_ptr<PreloadedModule> preloadModule(const QString &archivePath)
{
    // Read without QFile: a QObject made on this thread before the application object
    // exists could make Qt take it for the main thread. Not blocking: a pipe in the
    // archive's place must not hold the reading up (it is refused below).
    const int descriptor =
        ::open(QFile::encodeName(archivePath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    // The stamp of the open file describes the bytes read, whatever replaces the path.
    struct stat status = {};
    const FileStamp stamp = ::fstat(descriptor, &status) == 0 ? stampFrom(status) : FileStamp();
    const bool readable = stamp.size >= 0 && stamp.size <= maxUnpackedBytes;
    QByteArray bytes(readable ? stamp.size : 0, Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < bytes.size()) {
        const ssize_t read = ::read(descriptor, bytes.data() + filled, bytes.size() - filled);
        if (read <= 0)
            break;
        filled += read;
    }
    ::close(descriptor);
    if (!readable || filled != bytes.size())
        return nullptr;
    auto module = std::make_unique<PreloadedModule>(preloadArchive(bytes));
    module->archivePath = archivePath;
    module->stamp = stamp;
    return module;
}

ModulePreload::ModulePreload(const QString &archivePath, std::function<void()> first)
{
    // Whatever the worker touches first, the thread that starts it stays Qt's main thread.
    QThread::currentThread();
    m_worker = std::thread([this, archivePath, first = std::move(first)] {
        if (first)
            first();
        m_module = preloadModule(archivePath);
    });
}

ModulePreload::~ModulePreload()
{
    waitForWorker();
}

void ModulePreload::waitForWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}

PreloadedModule *ModulePreload::take(const QString &archivePath)
{
    waitForWorker();
    const bool unchanged =
        m_module && m_module->archivePath == archivePath && stampOf(archivePath) == m_module->stamp;
    m_taken = unchanged ? m_module.get() : nullptr;
    return m_taken;
}

void ModulePreload::release()
{
    waitForWorker();
    m_taken = nullptr;
    m_module.reset();
}
