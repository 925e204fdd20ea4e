#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>

// Reading the test database archive from bytes in memory: no files, no message boxes.

// No block of a module comes near these sizes; anything larger is damage, refused before
// anything is allocated for it.
constexpr qint32 maxBlockBytes = 64 * 1024 * 1024;
// The most bytes a whole archive may unpack to.
constexpr qint64 maxUnpackedBytes = 256 * 1024 * 1024;

// Inflates block in place with zlib's uncompress into an output buffer a little larger
// than inflatedSize (1 % plus 12 bytes, rounded half to even), and returns uncompress's
// result (0 is Z_OK). Input bytes after the end of the zlib stream are ignored. A size
// outside 0..maxBlockBytes is refused with Z_MEM_ERROR without inflating.
int InflateBlock(QByteArray &block, qint32 inflatedSize);

// The output capacity InflateBlock gives a block of that inflated size.
qint32 inflateCapacity(qint32 inflatedSize);

struct UnpackedEntry
{
    QString name;
    QByteArray content;
    // What the content does not show, kept so that the archive can be rebuilt as it is:
    // the reserved bytes and the inflated size each block states.
    QByteArray reserved;
    QList<qint32> blockSizes;
};

enum class ArchiveFailure {
    None,
    NoTestModule, // the entry count is below 1 (or the file is too short to hold one)
    Damaged,      // a block failed to inflate, or the layout is broken
};

struct ParsedArchive
{
    int entryCount = 0;
    // The entries to write, in archive order. When a block fails to inflate, its entry is
    // still read to its end marker and is the last one here; an entry whose layout is
    // broken or whose name is refused is not here, nor is anything after it.
    QList<UnpackedEntry> entries;
    ArchiveFailure failure = ArchiveFailure::None;
    // What is wrong, when failure is not None (for tests and diagnostics).
    QString problem;
    // The header's ignored parts.
    QByteArray filler;
    QByteArray headerString1;
    QByteArray headerString2;
};

ParsedArchive parseArchive(QByteArrayView archive);

// A name that stays inside its folder: not empty, not "." and free of path separators,
// drive colons, NUL and "..".
bool isSafeEntryName(const QString &name);

// "readme.txt" and "eula.txt", in any letter case, go to the program folder.
bool isProgramFolderEntry(const QString &name);
