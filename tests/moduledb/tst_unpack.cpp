#include "ErrorReportBox.h"
#include "FakeMessageBoxes.h"
#include "common/ErrorReport.h"
#include "moduledb/Archive.h"
#include "moduledb/Unpack.h"
#include "moduledb/writer/ModuleWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A program folder inside a scratch folder, with its module folder and archive.
struct Folders
{
    QTemporaryDir root;
    QString program = root.filePath(u"program"_s);
    QString module = program + u"/Module"_s;
    QString archive = program + u"/512-330.qdb"_s;
    OneBasedArray<QString> testFiles;

    explicit Folders(const QByteArray &archiveBytes)
    {
        QDir().mkpath(program);
        QFile file(archive);
        if (file.open(QIODevice::WriteOnly))
            file.write(archiveBytes);
    }
    bool unpack() { return UnpackTest(archive, module, program, testFiles); }
};

} // namespace

class TestUnpack : public QObject
{
    Q_OBJECT

    // Archives are built by hand here, so that damage can go anywhere.
    static QByteArray le(qint64 value, int bytes)
    {
        QByteArray encoded;
        for (int i = 0; i < bytes; ++i)
            encoded.append(char(value >> 8 * i));
        return encoded;
    }
    // A zlib stream as compress() makes it.
    static QByteArray zlibStream(const QByteArray &content) { return qCompress(content).mid(4); }
    static QByteArray header(int count) { return le(count, 2) + le(0, 2) + le(0, 1) + le(0, 1); }
    static QByteArray entryHeader(const QByteArray &name)
    {
        return char(name.size()) + name + QByteArray(16, '\0');
    }
    static QByteArray block(const QByteArray &data, qint64 inflatedSize)
    {
        return le(data.size() - 1, 4) + le(inflatedSize, 4) + data;
    }
    static QByteArray entry(const QByteArray &name, const QByteArray &content)
    {
        return entryHeader(name) + block(zlibStream(content), content.size()) + le(0, 4);
    }

private Q_SLOTS:
    void inflateBlock_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<int>("inflatedSize");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("outputSize");
        const auto row = [](const char *name, const QByteArray &block, int size, int result,
                            int output) {
            QTest::newRow(name) << block << size << result << output;
        };
        const QByteArray text =
            QByteArray("Answer records hold one entry per question. ").repeated(40);
        row("true size", zlibStream(text), 1760, Z_OK, 1760);
        row("one byte after the stream", zlibStream(text) + 'x', 1760, Z_OK, 1760);
        row("more than stated, within capacity", zlibStream(QByteArray(112, 'b')), 100, Z_OK, 112);
        // Beyond its capacity (1 % + 12, half to even) the output is full.
        const QByteArray large = zlibStream(QByteArray(2000, 'a'));
        row("capacity 62.5 to 62", large, 50, Z_BUF_ERROR, 62);
        row("capacity 163.5 to 164", large, 150, Z_BUF_ERROR, 164);
        row("negative size", zlibStream("x"), -1, Z_MEM_ERROR, 0);
        row("above the largest block", zlibStream("x"), maxBlockBytes + 1, Z_MEM_ERROR, 0);
    }
    void inflateBlock()
    {
        QFETCH(QByteArray, block);
        QFETCH(int, inflatedSize);
        QFETCH(int, result);
        QFETCH(int, outputSize);
        QCOMPARE(InflateBlock(block, inflatedSize), result);
        QCOMPARE(block.size(), outputSize);
    }

    void parseArchive_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ArchiveFailure>("failure");
        QTest::addColumn<QByteArrayList>("contents");
        const auto row = [](const char *name, const QByteArray &bytes, ArchiveFailure failure,
                            const QByteArrayList &contents = {}) {
            QTest::newRow(name) << bytes << failure << contents;
        };
        const QByteArray good = entry("good.dat", "fine");
        const QByteArray data = zlibStream("content");
        // After a good entry, the second of three.
        const auto damaged = [&](const char *name, const QByteArray &second) {
            row(name, header(3) + good + second, ArchiveFailure::Damaged, {"fine"});
        };
        QByteArray spoiled = zlibStream("broken content");
        spoiled[spoiled.size() - 2] = char(spoiled[spoiled.size() - 2] ^ 0x55); // the checksum

        row("empty entry", header(2) + entryHeader("e.dat") + le(0, 4) + good, ArchiveFailure::None,
            {"", "fine"});
        row("negative count", header(-3) + good, ArchiveFailure::NoTestModule);
        row("negative filler", le(1, 2) + le(-2, 2) + le(0, 2) + good, ArchiveFailure::Damaged);
        damaged("parent folder", entry("../evil.dat", "x"));
        damaged("backslash", entry("sub\\evil.dat", "x"));
        damaged("drive", entry("C:evil.dat", "x"));
        damaged("empty name", entry("", "x"));
        damaged("dot", entry(".", "x"));
        damaged("nul in name", entry(QByteArray("a\0b", 3), "x"));
        damaged("negative storedLength", entryHeader("a") + le(-5, 4) + le(7, 4) + data + le(0, 4));
        damaged("negative inflatedSize", entryHeader("a") + block(data, -1) + le(0, 4));
        damaged("huge inflatedSize", entryHeader("a") + block(data, 0x7FFFFFFF) + le(0, 4));
        // The entry of a block that does not inflate is read to its end marker; nothing after.
        row("block does not inflate",
            header(3) + good + entryHeader("two.dat") + block(spoiled, 14) +
                block(zlibStream(" and more"), 9) + le(0, 4) + entry("three.dat", "3"),
            ArchiveFailure::Damaged, {"fine", "broken content and more"});
    }
    void parseArchive()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(ArchiveFailure, failure);
        QFETCH(QByteArrayList, contents);
        const ParsedArchive archive = ::parseArchive(bytes);
        QCOMPARE(archive.failure, failure);
        QCOMPARE(archive.problem.isEmpty(), failure == ArchiveFailure::None);
        QByteArrayList parsed;
        for (const UnpackedEntry &entry : archive.entries)
            parsed.append(entry.content);
        QCOMPARE(parsed, contents);
    }

    void everyTruncationIsAReadFailure()
    {
        const QByteArray whole =
            packArchive({{"qm_info.dat", "first entry content"}, {"qm_dnd.dat", "second"}},
                        {"fill", "Quendra test module", "512-330", 7, true});
        for (qsizetype length = 0; length < whole.size(); ++length) {
            const ParsedArchive archive = ::parseArchive(whole.first(length));
            const auto expected =
                length < 2 ? ArchiveFailure::NoTestModule : ArchiveFailure::Damaged;
            QVERIFY2(archive.failure == expected && archive.entries.size() < 2,
                     qPrintable(QString::number(length)));
        }
    }

    void existingTargetsAreReplacedNotWrittenThrough()
    {
        Folders folders(header(3) + entry("old.dat", "new") + entry("link.dat", "new") +
                        entry("hard.dat", "new"));
        QDir().mkpath(folders.module);
        const QString readOnly = folders.module + u"/old.dat"_s;
        const QString outside = folders.root.filePath(u"outside.txt"_s);
        for (const QString &path : {readOnly, outside}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("left from an earlier run");
        }
        const auto readOnlyMode = QFileDevice::ReadOwner | QFileDevice::ReadUser;
        QVERIFY(QFile::setPermissions(readOnly, readOnlyMode));
        QVERIFY(QFile::setPermissions(outside, readOnlyMode));
        QVERIFY(QFile::link(outside, folders.module + u"/link.dat"_s));
        QCOMPARE(::link(QFile::encodeName(outside).constData(),
                        QFile::encodeName(folders.module + u"/hard.dat"_s).constData()),
                 0);
        const QFileDevice::Permissions outsideMode = QFile::permissions(outside);
        FakeMessageBoxes boxes;
        QVERIFY(folders.unpack());
        for (const char *name : {"/old.dat", "/link.dat", "/hard.dat"})
            QCOMPARE(contentOf(folders.module + QLatin1String(name)), QByteArray("new"));
        QCOMPARE(contentOf(outside), QByteArray("left from an earlier run"));
        QCOMPARE(QFile::permissions(outside), outsideMode);
    }

    void aFileThatCannotBeWrittenEndsUnpacking_data()
    {
        QTest::addColumn<bool>("folderInTheWay");
        QTest::addColumn<int>("number");
        QTest::newRow("a folder where the table goes") << true << int(EISDIR);
        // As a full disk does: the file cannot grow past a few bytes.
        QTest::newRow("the file cannot grow") << false << int(EFBIG);
    }
    void aFileThatCannotBeWrittenEndsUnpacking()
    {
        QFETCH(bool, folderInTheWay);
        QFETCH(int, number);
        Folders folders(header(3) + entry("readme.txt", "Read me.") + entry("one.dat", "1") +
                        entry("two.dat", QByteArray(4096, 't')));
        const QString failing = folders.module + u"/two.dat"_s;
        if (folderInTheWay)
            QVERIFY(QDir().mkpath(failing + u"/inside"_s));
        rlimit limit{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit unlimited = limit;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (!folderInTheWay) {
            limit.rlim_cur = 100;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        }
        FakeMessageBoxes boxes;
        const bool unpacked = folders.unpack();
        setrlimit(RLIMIT_FSIZE, &unlimited);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(!unpacked);
        const ErrorReport report{failing + u": "_s + QString::fromLocal8Bit(std::strerror(number)),
                                 number, u"Function Name: UnpackTest"_s};
        QCOMPARE(boxes.shown, QList{errorReportBox(report)});
        // What was written before is gone; nothing half written is left to be loaded.
        QCOMPARE(QDir(folders.module).entryList(QDir::Files), QStringList());
        QVERIFY(!QFileInfo::exists(folders.program + u"/readme.txt"_s));
    }
};

QTEST_GUILESS_MAIN(TestUnpack)
#include "tst_unpack.moc"
