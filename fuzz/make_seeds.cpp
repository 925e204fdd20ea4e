#include "FuzzInputs.h"
#include "SampleModule.h"

#include "moduledb/writer/ModuleWriter.h"

#include <QDir>
#include <QFile>

#include <cstdio>

// Writes the seed corpus of the fuzz targets into the given folder: archives of a small
// module with every question type, in several block layouts, and its framed table files.
namespace {
bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <corpus-folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString archives = root + QStringLiteral("/archive");
    const QString tables = root + QStringLiteral("/tables");
    if (!QDir().mkpath(archives) || !QDir().mkpath(tables))
        return 1;

    const QuestionBank bank = sampleBank();
    QList<ArchiveEntry> entries = bankEntries(bank);
    entries.append({QByteArrayLiteral("readme.txt"), QByteArrayLiteral("Read me.\r\n")});

    bool written = true;
    int seed = 0;
    for (int blockSize : {65536, 256, 31}) {
        for (bool extraByte : {false, true}) {
            ArchiveLayout layout;
            layout.headerString1 = QByteArrayLiteral("Quendra test module");
            layout.headerString2 = QByteArrayLiteral("512-330");
            layout.filler = QByteArray(seed % 3, 'f');
            layout.blockSize = blockSize;
            layout.extraByte = extraByte;
            written &= write(archives + QStringLiteral("/sample-%1.qdb").arg(++seed),
                             packArchive(entries, layout));
        }
    }

    QList<TableFile> files;
    for (const ArchiveEntry &entry : bankEntries(bank))
        files.append({QString::fromLatin1(entry.name), entry.content});
    written &= write(tables + QStringLiteral("/sample.tables"), frameTableFiles(files));
    return written ? 0 : 1;
}
