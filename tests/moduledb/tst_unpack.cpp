#include "FakeMessageBoxes.h"
#include "SampleModule.h"
#include "common/ErrorReport.h"
#include "moduledb/Archive.h"
#include "moduledb/writer/ModuleWriter.h"
#include "moduledb/Unpack.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

namespace {

QByteArray le16(int value)
{
    QByteArray bytes;
    bytes.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF));
    return bytes;
}

QByteArray le32(qint64 value)
{
    return le16(int(value & 0xFFFF)) + le16(int((value >> 16) & 0xFFFF));
}

// A zlib stream as compress() makes it.
QByteArray zlibStream(const QByteArray &content)
{
    return qCompress(content).mid(4);
}

QByteArray archiveHeader(int entryCount)
{
    return le16(entryCount) + le16(0) + QByteArray(1, '\0') + QByteArray(1, '\0');
}

QByteArray entryHeader(const QByteArray &name)
{
    return QByteArray(1, char(name.size())) + name + QByteArray(16, '\0');
}

QByteArray block(const QByteArray &data, qint64 inflatedSize)
{
    return le32(data.size() - 1) + le32(inflatedSize) + data;
}

QByteArray storedEntry(const QByteArray &name, const QByteArray &content)
{
    return entryHeader(name) + block(zlibStream(content), content.size()) + le32(0);
}

QByteArray twoEntryArchive()
{
    ArchiveLayout layout;
    layout.blockSize = 7;
    layout.extraByte = true;
    layout.filler = QByteArray(5, 'f');
    layout.headerString1 = "Quendra test module";
    layout.headerString2 = "512-330";
    return packArchive({{"qm_info.dat", "first entry content"}, {"qm_dnd.dat", "second"}}, layout);
}

struct Folders
{
    QTemporaryDir root;
    QString program = root.filePath(QStringLiteral("program"));
    QString module = root.filePath(QStringLiteral("program/Module"));
    QString archive = root.filePath(QStringLiteral("program/512-330.qdb"));

    Folders() { QDir().mkpath(program); }
    void writeArchive(const QByteArray &bytes) const
    {
        QFile file(archive);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};

} // namespace

class TestUnpack : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void capacityRoundsHalfToEven_data();
    void capacityRoundsHalfToEven();
    void inflateBlockFitsTheTrueSizeAndToleratesAnExtraByte();
    void inflateBlockFailsBeyondItsCapacity();
    void inflateBlockRefusesImpossibleSizes();

    void parsesWhatThePackerWrites();
    void emptyEntryHasNoContent();
    void entryCountBelowOneHoldsNoModule_data();
    void entryCountBelowOneHoldsNoModule();
    void damagedLayoutsAreRefused_data();
    void damagedLayoutsAreRefused();
    void everyTruncationIsAReadFailure();
    void failedInflationCompletesItsEntryAndStops();

    void unpackWritesEntriesAndTextFiles();
    void laterDuplicateReplacesEarlierFile();
    void readOnlyTargetIsOverwritten();
    void linkedTargetIsReplacedNotFollowed();
    void missingArchiveGivesTheSystemError();
    void emptyArchiveIsNotFound();
    void damagedArchiveCannotBeRead();
    void refusedNameWritesNothing();
};

void TestUnpack::capacityRoundsHalfToEven_data()
{
    QTest::addColumn<int>("inflatedSize");
    QTest::addColumn<int>("capacity");
    QTest::newRow("zero") << 0 << 12;
    QTest::newRow("100") << 100 << 113;
    QTest::newRow("tie down to even") << 50 << 62; // 62.5
    QTest::newRow("tie up to even") << 150 << 164; // 163.5
    QTest::newRow("below half") << 1020 << 1042;   // 1042.2
    QTest::newRow("above half") << 1070 << 1093;   // 1092.7
}

void TestUnpack::capacityRoundsHalfToEven()
{
    QFETCH(int, inflatedSize);
    QFETCH(int, capacity);
    QCOMPARE(inflateCapacity(inflatedSize), capacity);
}

void TestUnpack::inflateBlockFitsTheTrueSizeAndToleratesAnExtraByte()
{
    const QByteArray content =
        QByteArray("Answer records hold one entry per question. ").repeated(40);
    QByteArray exact = zlibStream(content);
    QCOMPARE(InflateBlock(exact, content.size()), Z_OK);
    QCOMPARE(exact, content);

    QByteArray withExtraByte = zlibStream(content) + 'x';
    QCOMPARE(InflateBlock(withExtraByte, content.size()), Z_OK);
    QCOMPARE(withExtraByte, content);
}

void TestUnpack::inflateBlockFailsBeyondItsCapacity()
{
    // 200 bytes with a stated size of 100: capacity 113 is too small.
    const QByteArray content(200, 'a');
    QByteArray data = zlibStream(content);
    QCOMPARE(InflateBlock(data, 100), Z_BUF_ERROR);
    QCOMPARE(data.size(), 113);

    // Within the capacity a too small stated size still inflates.
    QByteArray near = zlibStream(QByteArray(112, 'b'));
    QCOMPARE(InflateBlock(near, 100), Z_OK);
    QCOMPARE(near.size(), 112);
}

void TestUnpack::inflateBlockRefusesImpossibleSizes()
{
    QByteArray data = zlibStream("x");
    QVERIFY(InflateBlock(data, -1) != Z_OK);
    QVERIFY(InflateBlock(data, maxBlockBytes + 1) != Z_OK);
}

void TestUnpack::parsesWhatThePackerWrites()
{
    const ParsedArchive archive = parseArchive(twoEntryArchive());
    QCOMPARE(archive.failure, ArchiveFailure::None);
    QCOMPARE(archive.entryCount, 2);
    QCOMPARE(archive.entries.size(), 2);
    QCOMPARE(archive.entries[0].name, QStringLiteral("qm_info.dat"));
    QCOMPARE(archive.entries[0].content, QByteArray("first entry content"));
    QCOMPARE(archive.entries[1].name, QStringLiteral("qm_dnd.dat"));
    QCOMPARE(archive.entries[1].content, QByteArray("second"));
}

void TestUnpack::emptyEntryHasNoContent()
{
    const QByteArray bytes =
        archiveHeader(2) + entryHeader("empty.dat") + le32(0) + storedEntry("next.dat", "x");
    const ParsedArchive archive = parseArchive(bytes);
    QCOMPARE(archive.failure, ArchiveFailure::None);
    QCOMPARE(archive.entries.size(), 2);
    QCOMPARE(archive.entries[0].content, QByteArray());
    QCOMPARE(archive.entries[1].content, QByteArray("x"));
}

void TestUnpack::entryCountBelowOneHoldsNoModule_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("one byte") << QByteArray(1, '\x05');
    QTest::newRow("count 0") << archiveHeader(0) + storedEntry("a.dat", "x");
    QTest::newRow("negative count") << archiveHeader(-3) + storedEntry("a.dat", "x");
}

void TestUnpack::entryCountBelowOneHoldsNoModule()
{
    QFETCH(QByteArray, bytes);
    const ParsedArchive archive = parseArchive(bytes);
    QCOMPARE(archive.failure, ArchiveFailure::NoTestModule);
    QVERIFY(archive.entries.isEmpty());
}

void TestUnpack::damagedLayoutsAreRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("entriesKept");
    const QByteArray good = storedEntry("good.dat", "fine");
    const QByteArray data = zlibStream("content");
    auto withEntry = [&](const QByteArray &entry) { return archiveHeader(3) + good + entry; };

    QTest::newRow("parent folder") << withEntry(storedEntry("../evil.dat", "x")) << 1;
    QTest::newRow("dots inside") << withEntry(storedEntry("a..b", "x")) << 1;
    QTest::newRow("absolute") << withEntry(storedEntry("/tmp/evil.dat", "x")) << 1;
    QTest::newRow("backslash") << withEntry(storedEntry("sub\\evil.dat", "x")) << 1;
    QTest::newRow("slash") << withEntry(storedEntry("sub/evil.dat", "x")) << 1;
    QTest::newRow("drive") << withEntry(storedEntry("C:evil.dat", "x")) << 1;
    QTest::newRow("empty name") << withEntry(storedEntry("", "x")) << 1;
    QTest::newRow("dot") << withEntry(storedEntry(".", "x")) << 1;
    QTest::newRow("nul in name") << withEntry(storedEntry(QByteArray("a\0b", 3), "x")) << 1;
    QTest::newRow("negative storedLength")
        << withEntry(entryHeader("a.dat") + le32(-5) + le32(7) + data + le32(0)) << 1;
    QTest::newRow("negative inflatedSize")
        << withEntry(entryHeader("a.dat") + block(data, -1) + le32(0)) << 1;
    QTest::newRow("huge inflatedSize")
        << withEntry(entryHeader("a.dat") + block(data, 0x7FFFFFFF) + le32(0)) << 1;
    QTest::newRow("huge storedLength")
        << withEntry(entryHeader("a.dat") + le32(0x7FFFFFF0) + le32(7) + data + le32(0)) << 1;
    QTest::newRow("block past the end")
        << withEntry(entryHeader("a.dat") + le32(data.size() + 40) + le32(7) + data) << 1;
    QTest::newRow("negative filler") << le16(1) + le16(-2) + QByteArray(2, '\0') + good << 0;
    QTest::newRow("filler past the end") << le16(1) + le16(500) + good << 0;
    QTest::newRow("fewer entries than counted") << archiveHeader(3) + good + good << 2;
}

void TestUnpack::damagedLayoutsAreRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, entriesKept);
    const ParsedArchive archive = parseArchive(bytes);
    QCOMPARE(archive.failure, ArchiveFailure::Damaged);
    QVERIFY(!archive.problem.isEmpty());
    QCOMPARE(archive.entries.size(), entriesKept);
}

void TestUnpack::everyTruncationIsAReadFailure()
{
    const QByteArray whole = twoEntryArchive();
    for (qsizetype length = 0; length < whole.size(); ++length) {
        const ParsedArchive archive = parseArchive(whole.first(length));
        const ArchiveFailure expected =
            length < 2 ? ArchiveFailure::NoTestModule : ArchiveFailure::Damaged;
        QVERIFY2(archive.failure == expected, qPrintable(QString::number(length)));
        QVERIFY(archive.entries.size() < 2);
    }
}

void TestUnpack::failedInflationCompletesItsEntryAndStops()
{
    QByteArray broken = zlibStream("broken content");
    broken[broken.size() - 2] = char(broken[broken.size() - 2] ^ 0x55); // spoils the checksum
    const QByteArray bytes = archiveHeader(3) + storedEntry("one.dat", "1") +
                             entryHeader("two.dat") + block(broken, 14) +
                             block(zlibStream(" and more"), 9) + le32(0) +
                             storedEntry("three.dat", "3");
    const ParsedArchive archive = parseArchive(bytes);
    QCOMPARE(archive.failure, ArchiveFailure::Damaged);
    QCOMPARE(archive.entries.size(), 2);
    QCOMPARE(archive.entries[1].name, QStringLiteral("two.dat"));
    QVERIFY(archive.entries[1].content.endsWith(" and more"));
}

void TestUnpack::unpackWritesEntriesAndTextFiles()
{
    Folders folders;
    FakeMessageBoxes boxes;
    QList<ArchiveEntry> entries = bankEntries(sampleBank());
    entries.append(ArchiveEntry{"README.TXT", "Read me."});
    entries.append(ArchiveEntry{"eula.txt", "Terms."});
    folders.writeArchive(packArchive(entries, ArchiveLayout()));

    OneBasedArray<QString> testFiles;
    QVERIFY(UnpackTest(folders.archive, folders.module, folders.program, testFiles));
    QVERIFY(boxes.shown.isEmpty());
    QCOMPARE(testFiles.size(), 10);
    QCOMPARE(testFiles[1], QStringLiteral("qm_info.dat"));
    QCOMPARE(testFiles[9], QStringLiteral("README.TXT"));
    QCOMPARE(filesIn(folders.module).size(), 8);
    QCOMPARE(folders.read(folders.module + QStringLiteral("/qm_mcfri.dat")), entries[5].content);
    QCOMPARE(folders.read(folders.program + QStringLiteral("/README.TXT")), QByteArray("Read me."));
    QCOMPARE(folders.read(folders.program + QStringLiteral("/eula.txt")), QByteArray("Terms."));
    QCOMPARE(filesIn(folders.program),
             QStringList({QStringLiteral("512-330.qdb"), QStringLiteral("README.TXT"),
                          QStringLiteral("eula.txt")}));
}

void TestUnpack::laterDuplicateReplacesEarlierFile()
{
    Folders folders;
    FakeMessageBoxes boxes;
    folders.writeArchive(archiveHeader(2) + storedEntry("t.dat", "earlier, longer") +
                         storedEntry("t.dat", "later"));
    OneBasedArray<QString> testFiles;
    QVERIFY(UnpackTest(folders.archive, folders.module, folders.program, testFiles));
    QCOMPARE(folders.read(folders.module + QStringLiteral("/t.dat")), QByteArray("later"));
}

void TestUnpack::readOnlyTargetIsOverwritten()
{
    Folders folders;
    FakeMessageBoxes boxes;
    QDir().mkpath(folders.module);
    const QString target = folders.module + QStringLiteral("/t.dat");
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("left from an earlier run");
    }
    QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    folders.writeArchive(archiveHeader(1) + storedEntry("t.dat", "new"));
    OneBasedArray<QString> testFiles;
    QVERIFY(UnpackTest(folders.archive, folders.module, folders.program, testFiles));
    QCOMPARE(folders.read(target), QByteArray("new"));
    QVERIFY(QFile::permissions(target) & QFileDevice::WriteOwner);
}

void TestUnpack::linkedTargetIsReplacedNotFollowed()
{
    Folders folders;
    FakeMessageBoxes boxes;
    QDir().mkpath(folders.module);
    const QString outside = folders.root.filePath(QStringLiteral("outside.txt"));
    {
        QFile file(outside);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep");
    }
    QVERIFY(QFile::link(outside, folders.module + QStringLiteral("/t.dat")));
    folders.writeArchive(archiveHeader(1) + storedEntry("t.dat", "new"));
    OneBasedArray<QString> testFiles;
    QVERIFY(UnpackTest(folders.archive, folders.module, folders.program, testFiles));
    QCOMPARE(folders.read(outside), QByteArray("keep"));
    QCOMPARE(folders.read(folders.module + QStringLiteral("/t.dat")), QByteArray("new"));
}

void TestUnpack::missingArchiveGivesTheSystemError()
{
    Folders folders;
    FakeMessageBoxes boxes;
    OneBasedArray<QString> testFiles;
    QVERIFY(!UnpackTest(folders.archive, folders.module, folders.program, testFiles));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].text, (ErrorReport{QStringLiteral("No such file or directory"), ENOENT,
                                               QStringLiteral("Function Name: UnpackTest")}
                                       .text()));
    QVERIFY(!QFileInfo::exists(folders.module));
}

void TestUnpack::emptyArchiveIsNotFound()
{
    Folders folders;
    FakeMessageBoxes boxes;
    folders.writeArchive(QByteArray());
    OneBasedArray<QString> testFiles;
    QVERIFY(!UnpackTest(folders.archive, folders.module, folders.program, testFiles));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].text, (ErrorReport{QStringLiteral("Test database not found."), 0,
                                               QStringLiteral("Function Name: UnpackTest")}
                                       .text()));
}

void TestUnpack::damagedArchiveCannotBeRead()
{
    Folders folders;
    FakeMessageBoxes boxes;
    // The second entry says it inflates to 10 bytes but holds 300.
    folders.writeArchive(archiveHeader(3) + storedEntry("a.dat", "first") + entryHeader("b.dat") +
                         block(zlibStream(QByteArray(300, 'z')), 10) + le32(0) +
                         storedEntry("c.dat", "third"));
    OneBasedArray<QString> testFiles;
    QVERIFY(!UnpackTest(folders.archive, folders.module, folders.program, testFiles));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("An error has occured"));
    QCOMPARE(boxes.shown[0].icon, MessageIcon::Critical);
    QCOMPARE(boxes.shown[0].buttons, MessageButtons::Ok);
    QCOMPARE(boxes.shown[0].text,
             QStringLiteral("Quendra cannot read the test database.\n\nPlease report to "
                            "support@quendra.example.com for assistance."));
    // Nothing is written, not even the entry before the damaged one.
    QVERIFY(!QFileInfo::exists(folders.module));
    QCOMPARE(testFiles.size(), 3);
    QCOMPARE(testFiles[2], QStringLiteral("b.dat"));
    QCOMPARE(testFiles[3], QString());
}

void TestUnpack::refusedNameWritesNothing()
{
    Folders folders;
    FakeMessageBoxes boxes;
    folders.writeArchive(archiveHeader(3) + storedEntry("a.dat", "first") +
                         storedEntry("../../escaped.txt", "x") + storedEntry("c.dat", "third"));
    OneBasedArray<QString> testFiles;
    QVERIFY(!UnpackTest(folders.archive, folders.module, folders.program, testFiles));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].text, cannotReadDatabaseText());
    QVERIFY(!QFileInfo::exists(folders.module));
    QCOMPARE(QDir(folders.root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList({QStringLiteral("program")}));
}

QTEST_GUILESS_MAIN(TestUnpack)
#include "tst_unpack.moc"
