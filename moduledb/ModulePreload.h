#pragma once

#include "Archive.h"
#include "QuestionBank.h"
#include "TableReader.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <thread>

// What a file looked like when it was read: a file that still looks the same holds the
// same bytes.
struct FileStamp
{
    qint64 size = -1;
    qint64 modifiedNanoseconds = 0;
    quint64 inode = 0;
    bool operator==(const FileStamp &) const = default;
};
FileStamp stampOf(const QString &path);

// The archive as read ahead, and, when its tables can be loaded from the entries alone,
// the question bank they give.
struct PreloadedModule
{
    QString archivePath;
    FileStamp stamp;
    ParsedArchive archive;
    // Set when the bank below is what loading the unpacked table files will give.
    bool tablesLoaded = false;
    std::optional<LoadProblem> loadProblem;
    QuestionBank bank;
};

// Reads and unpacks the test database in memory, and loads its tables, on a thread of its
// own: started before the windows are built, it has done that work by the time start-up
// reaches the module. It writes nothing and shows nothing; UnpackTest and LoadTest still
// run in their place, take what it read when the archive is unchanged, and report every
// problem themselves.
class ModulePreload
{
public:
    // first: other start-up work that needs no window, done on the same thread before the
    // reading.
    explicit ModulePreload(const QString &archivePath, std::function<void()> first = {});
    ~ModulePreload();
    ModulePreload(const ModulePreload &) = delete;
    ModulePreload &operator=(const ModulePreload &) = delete;

    // Waits for the reading; nothing when the archive could not be read then, or has
    // changed since.
    PreloadedModule *take(const QString &archivePath);
    // What take gave.
    PreloadedModule *taken() const { return m_taken; }
    // Frees what was read, once the module is loaded.
    void release();

private:
    void waitForWorker();

    std::unique_ptr<PreloadedModule> m_module;
    PreloadedModule *m_taken = nullptr;
    std::thread m_worker;
};

// The preload's work, on the calling thread: nothing when the archive cannot be read or is
// larger than any module.
std::unique_ptr<PreloadedModule> preloadModule(const QString &archivePath);

// The same work on an archive already in memory: parses it and, when its tables can be
// loaded from the entries alone, loads them. archivePath and stamp stay empty.
PreloadedModule preloadArchive(QByteArrayView archive);
