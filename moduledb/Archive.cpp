#include "Archive.h"

#include "Ansi.h"
#include "ByteCursor.h"

#include <cmath>
#include <zlib.h>

qint32 inflateCapacity(qint32 inflatedSize)
{
    // nearbyint rounds in the default mode, to nearest with ties to even.
    return qint32(std::nearbyint(double(inflatedSize) * 0.01 + double(inflatedSize) + 12.0));
}

namespace {

// Inflates data onto the end of content, into room for inflateCapacity(inflatedSize) bytes,
// and keeps what uncompress wrote there.
int inflateOnto(QByteArray &content, QByteArrayView data, qint32 inflatedSize)
{
    if (inflatedSize < 0 || inflatedSize > maxBlockBytes)
        return Z_MEM_ERROR;
    const qint32 capacity = inflateCapacity(inflatedSize);
    const qsizetype start = content.size();
    content.resize(start + capacity);
    uLongf outputLength = uLongf(capacity);
    const int result = uncompress(reinterpret_cast<Bytef *>(content.data() + start), &outputLength,
                                  reinterpret_cast<const Bytef *>(data.data()), uLong(data.size()));
    content.truncate(start + qsizetype(outputLength));
    return result;
}

} // namespace

int InflateBlock(QByteArray &block, qint32 inflatedSize)
{
    QByteArray output;
    const int result = inflateOnto(output, block, inflatedSize);
    block = output;
    return result;
}

bool isSafeEntryName(const QString &name)
{
    if (name.isEmpty() || name == QStringLiteral(".") || name.contains(QStringLiteral("..")))
        return false;
    for (QChar ch : name) {
        if (ch == u'/' || ch == u'\\' || ch == u':' || ch == QChar(0))
            return false;
    }
    return true;
}

bool isProgramFolderEntry(const QString &name)
{
    const QString lower = name.toLower();
    return lower == QStringLiteral("readme.txt") || lower == QStringLiteral("eula.txt");
}

namespace {

ParsedArchive failed(ParsedArchive archive, ArchiveFailure failure, const QString &problem)
{
    archive.failure = failure;
    archive.problem = problem;
    return archive;
}

QString entryProblem(int index, const QString &what)
{
    return QStringLiteral("Entry %1: %2").arg(index).arg(what);
}

} // namespace

ParsedArchive parseArchive(QByteArrayView archive)
{
    ParsedArchive result;
    ByteCursor cursor(archive);

    const auto entryCount = cursor.readInt16();
    if (!entryCount || *entryCount < 1)
        return failed(result, ArchiveFailure::NoTestModule,
                      QStringLiteral("The archive holds no entries."));
    result.entryCount = *entryCount;

    const auto fillerLength = cursor.readInt16();
    const auto filler = fillerLength ? cursor.readBytes(*fillerLength) : std::nullopt;
    if (!filler)
        return failed(result, ArchiveFailure::Damaged,
                      QStringLiteral("The archive header is broken."));
    result.filler = filler->toByteArray();
    for (QByteArray *headerString : {&result.headerString1, &result.headerString2}) {
        const auto length = cursor.readByte();
        const auto text = length ? cursor.readBytes(*length) : std::nullopt;
        if (!text)
            return failed(result, ArchiveFailure::Damaged,
                          QStringLiteral("The archive header is broken."));
        *headerString = text->toByteArray();
    }

    qint64 unpackedBytes = 0;
    for (int index = 1; index <= result.entryCount; ++index) {
        const auto nameLength = cursor.readByte();
        const auto nameBytes = nameLength ? cursor.readBytes(*nameLength) : std::nullopt;
        const auto reserved = nameBytes ? cursor.readBytes(16) : std::nullopt;
        if (!reserved)
            return failed(result, ArchiveFailure::Damaged,
                          entryProblem(index, QStringLiteral("the archive ends in its header.")));
        UnpackedEntry entry{fromAnsi(*nameBytes), {}, reserved->toByteArray(), {}};
        if (!isSafeEntryName(entry.name))
            return failed(result, ArchiveFailure::Damaged,
                          entryProblem(index, QStringLiteral("the name \"%1\" is not a plain "
                                                             "file name.")
                                                  .arg(entry.name)));

        bool inflationFailed = false;
        for (;;) {
            const auto storedLength = cursor.readInt32();
            if (!storedLength)
                return failed(result, ArchiveFailure::Damaged,
                              entryProblem(index, QStringLiteral("the archive ends before its "
                                                                 "end marker.")));
            if (*storedLength == 0)
                break;
            const auto inflatedSize = cursor.readInt32();
            if (!inflatedSize)
                return failed(result, ArchiveFailure::Damaged,
                              entryProblem(index, QStringLiteral("the archive ends in a block.")));
            if (*storedLength < 0 || *storedLength >= maxBlockBytes || *inflatedSize < 0 ||
                *inflatedSize > maxBlockBytes)
                return failed(result, ArchiveFailure::Damaged,
                              entryProblem(index, QStringLiteral("a block has the impossible "
                                                                 "sizes %1 and %2.")
                                                      .arg(*storedLength)
                                                      .arg(*inflatedSize)));
            const auto data = cursor.readBytes(qsizetype(*storedLength) + 1);
            if (!data)
                return failed(result, ArchiveFailure::Damaged,
                              entryProblem(index, QStringLiteral("a block runs past the end of "
                                                                 "the archive.")));
            // Each block is inflated straight onto the entry's content.
            entry.blockSizes.append(*inflatedSize);
            const qsizetype before = entry.content.size();
            if (inflateOnto(entry.content, *data, *inflatedSize) != Z_OK)
                inflationFailed = true;
            unpackedBytes += entry.content.size() - before;
            if (unpackedBytes > maxUnpackedBytes)
                return failed(result, ArchiveFailure::Damaged,
                              entryProblem(index, QStringLiteral("the archive unpacks to more "
                                                                 "than %1 bytes.")
                                                      .arg(maxUnpackedBytes)));
        }
        result.entries.append(std::move(entry));
        if (inflationFailed)
            return failed(result, ArchiveFailure::Damaged,
                          entryProblem(index, QStringLiteral("a block does not inflate.")));
    }
    return result;
}
