#include "FakeMessageBoxes.h"
#include "app/AppContext.h"
#include "app/StartUp.h"
#include "common/ErrorReport.h"
#include "moduledb/ModulePreload.h"
#include "moduledb/writer/ModuleWriter.h"
#include "moduledb/Unpack.h"
#include "tests/moduledb/SampleModule.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cerrno>
#include <functional>
#include <optional>

#include <unistd.h>

// Every module here is the small sample module with one precise change, read by the real
// start-up. A damaged one must end start-up with its message and leave every file as it
// was: nothing written outside the program folder, no table file left in the module
// folder, the archive unchanged.

namespace {

// The entries of the good module, in archive order.
enum EntryIndex {
    InfoEntry,
    ObjectiveEntry,
    PromptEntry,
    TypeEntry,
    QuestionEntry,
    ChoiceEntry,
    DndEntry,
    SimEntry,
    ReadmeEntry,
    EulaEntry,
};

const QStringList textFiles = {QStringLiteral("eula.txt"), QStringLiteral("readme.txt")};

QList<ArchiveEntry> goodEntries(const QuestionBank &bank = sampleBank())
{
    QList<ArchiveEntry> entries = bankEntries(bank);
    entries.append(ArchiveEntry{"readme.txt", "Read me first."});
    entries.append(ArchiveEntry{"eula.txt", "Terms of use."});
    return entries;
}

QByteArray pack(const QList<ArchiveEntry> &entries, int blockSize = 65536)
{
    ArchiveLayout layout;
    layout.filler = "QUENDRA";
    layout.headerString1 = "Quendra test module";
    layout.headerString2 = "512-330";
    layout.blockSize = blockSize;
    return packArchive(entries, layout);
}

QByteArray withEntries(const std::function<void(QList<ArchiveEntry> &)> &change)
{
    QList<ArchiveEntry> entries = goodEntries();
    change(entries);
    return pack(entries);
}

QByteArray withBank(const std::function<void(QuestionBank &)> &change)
{
    QuestionBank bank = sampleBank();
    change(bank);
    return pack(goodEntries(bank));
}

QByteArray withTable(EntryIndex index, const QByteArray &content)
{
    return withEntries([&](QList<ArchiveEntry> &entries) { entries[index].content = content; });
}

// Where the fields of the good archive start, found by walking its layout.
struct BlockAt
{
    qsizetype storedLength = 0;
    qsizetype inflatedSize = 0;
    qsizetype data = 0;
    qsizetype dataLength = 0;
};

struct EntryAt
{
    qsizetype nameLength = 0;
    qsizetype name = 0;
    qsizetype reserved = 0;
    QList<BlockAt> blocks;
    qsizetype endMarker = 0;
};

struct ArchiveMap
{
    qsizetype fillerLength = 2;
    qsizetype filler = 4;
    qsizetype headerString1 = 0;
    qsizetype headerString2 = 0;
    QList<EntryAt> entries;
};

qint32 int32At(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}

ArchiveMap mapArchive(const QByteArray &bytes)
{
    ArchiveMap map;
    const int entryCount = qFromLittleEndian<qint16>(bytes.constData());
    map.headerString1 = map.filler + qFromLittleEndian<qint16>(bytes.constData() + 2);
    map.headerString2 = map.headerString1 + 1 + quint8(bytes[map.headerString1]);
    qsizetype at = map.headerString2 + 1 + quint8(bytes[map.headerString2]);
    for (int i = 0; i < entryCount; ++i) {
        EntryAt entry;
        entry.nameLength = at;
        entry.name = at + 1;
        entry.reserved = entry.name + quint8(bytes[at]);
        at = entry.reserved + reservedBytes;
        while (int32At(bytes, at) != 0) {
            const qsizetype dataLength = int32At(bytes, at) + 1;
            entry.blocks.append({at, at + 4, at + 8, dataLength});
            at += 8 + dataLength;
        }
        entry.endMarker = at;
        at += 4;
        map.entries.append(entry);
    }
    return map;
}

const QByteArray &goodArchive()
{
    static const QByteArray bytes = pack(goodEntries());
    return bytes;
}

const ArchiveMap &goodMap()
{
    static const ArchiveMap map = mapArchive(goodArchive());
    return map;
}

QByteArray truncatedAt(qsizetype length)
{
    return goodArchive().first(length);
}

QByteArray withInt16At(qsizetype at, qint16 value)
{
    QByteArray bytes = goodArchive();
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

QByteArray withInt32At(qsizetype at, qint32 value)
{
    QByteArray bytes = goodArchive();
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

QByteArray withByteFlipped(qsizetype at)
{
    QByteArray bytes = goodArchive();
    bytes[at] = char(bytes[at] ^ 0x10);
    return bytes;
}

const BlockAt &firstBlockOf(EntryIndex index)
{
    return goodMap().entries[index].blocks.first();
}

// One table file holding capacity + 1 copies of a record.
template <typename Row> QByteArray overCapacity(const Row &row, int capacity)
{
    OneBasedArray<Row> rows;
    rows.fill(capacity + 1, row);
    return encodeTable(rows);
}

// An archive of the good entries with a content entry of five blocks of 64 MB of zeros.
QByteArray bombArchive()
{
    const qint32 blockBytes = 64 * 1024 * 1024;
    const QByteArray stream = qCompress(QByteArray(blockBytes, '\0')).mid(4);
    QByteArray block(8, '\0');
    qToLittleEndian(qint32(stream.size() - 1), block.data());
    qToLittleEndian(blockBytes, block.data() + 4);
    block += stream;

    const QByteArray name = "qm_x.dat";
    const qsizetype readme = goodMap().entries[ReadmeEntry].nameLength;
    QByteArray bytes = goodArchive().first(readme);
    qToLittleEndian(qint16(goodMap().entries.size() + 1), bytes.data());
    bytes += char(name.size()) + name + QByteArray(reservedBytes, '\0');
    bytes += block.repeated(5) + QByteArray(4, '\0');
    return bytes + goodArchive().sliced(readme);
}

QString unpackReport(const QString &description, int number)
{
    return ErrorReport{description, number, QStringLiteral("Function Name: UnpackTest")}.text();
}

QString loadReport(const QString &description, int number = 0)
{
    return ErrorReport{description, number, QStringLiteral("Procedure Name: LoadTest")}.text();
}

// Every file and folder under folder, as paths relative to it, sorted.
QStringList treeOf(const QString &folder)
{
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(QDir(folder).relativeFilePath(it.next()));
    paths.sort();
    return paths;
}

// Shows that a file is unchanged: its size, its time of change and its bytes; of a file
// larger than a megabyte, one megabyte in every sixteenth (hashing a 300 MB file whole
// takes seconds).
QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QFileInfo info(file);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(info.size()) + ' ' +
                 QByteArray::number(info.lastModified().toMSecsSinceEpoch()));
    const qint64 sample = 1024 * 1024;
    for (qint64 at = 0; at < info.size(); at += qMax(sample, info.size() / 16)) {
        if (!file.seek(at))
            return {};
        hash.addData(file.read(sample));
    }
    return hash.result();
}

const QString archiveName = QStringLiteral("512-330.qdb");
// A picture that lives in the module folder beside the archive, as question pictures do.
const QString pictureName = QStringLiteral("diagram-1.png");
const QByteArray pictureBytes = "a picture of a network";

} // namespace

class TestDamagedModules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    void damagedModuleEndsStartUp_data();
    void damagedModuleEndsStartUp();
    void acceptedVariantStartsUp_data();
    void acceptedVariantStartsUp();

private:
    QString programFolder() const { return m_parent.filePath(QStringLiteral("program")); }
    QString moduleFolder() const { return programFolder() + QStringLiteral("/Module"); }
    void writeProgramFolder(const QByteArray &archive, qint64 paddedSize);
    StartUpSettings settings(ModulePreload *readAhead) const;
    int startUp(bool readingAhead, AppContext &context) const;
    void verifyFilesAfterwards(const QStringList &programFiles);

    // The scratch program folder of each row lives in a parent folder of its own, so that
    // anything written beside it shows.
    QTemporaryDir m_parent;
    QTemporaryDir m_lockFolder;
    QByteArray m_archiveHash;
};

void TestDamagedModules::cleanup()
{
    QDir(programFolder()).removeRecursively();
}

void TestDamagedModules::writeProgramFolder(const QByteArray &archive, qint64 paddedSize)
{
    QVERIFY(QDir().mkpath(moduleFolder()));
    QFile file(moduleFolder() + u'/' + archiveName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(archive), archive.size());
    // Zeros after the module, without writing them (the file stays sparse).
    if (paddedSize > archive.size())
        QVERIFY(file.resize(paddedSize));
    file.close();
    m_archiveHash = fileHash(file.fileName());

    QFile picture(moduleFolder() + u'/' + pictureName);
    QVERIFY(picture.open(QIODevice::WriteOnly));
    picture.write(pictureBytes);
}

// The real start-up with the real module reader, on a screen that passes.
StartUpSettings TestDamagedModules::settings(ModulePreload *readAhead) const
{
    StartUpSettings settings;
    settings.programFolder = programFolder();
    settings.instanceLockPath = m_lockFolder.filePath(QStringLiteral("quendra.lock"));
    settings.screen = [](const QWidget *) { return ScreenInfo{1024, 768, 24}; };
    settings.now = [] { return QDateTime(QDate(2026, 12, 6), QTime(19, 30)); };
    settings.module = moduleReaderSteps(readAhead);
    return settings;
}

// Starts up on the program folder, reading the module at its step or, as the program does,
// ahead; gives the exit code (0 when start-up went through).
int TestDamagedModules::startUp(bool readingAhead, AppContext &context) const
{
    std::optional<ModulePreload> readAhead;
    if (readingAhead)
        readAhead.emplace(testDbPathOf(programFolder()));
    StartUp startUp(context, settings(readAhead ? &*readAhead : nullptr));
    return startUp.run() ? 0 : startUp.exitCode();
}

void TestDamagedModules::verifyFilesAfterwards(const QStringList &programFiles)
{
    QStringList expected = {QStringLiteral("program"), QStringLiteral("program/Module"),
                            QStringLiteral("program/Module/") + archiveName,
                            QStringLiteral("program/Module/") + pictureName};
    for (const QString &name : programFiles)
        expected.append(QStringLiteral("program/") + name);
    expected.sort();
    QCOMPARE(treeOf(m_parent.path()), expected);

    QCOMPARE(fileHash(moduleFolder() + u'/' + archiveName), m_archiveHash);
    QFile picture(moduleFolder() + u'/' + pictureName);
    QVERIFY(picture.open(QIODevice::ReadOnly));
    QCOMPARE(picture.readAll(), pictureBytes);
}

void TestDamagedModules::damagedModuleEndsStartUp_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<qint64>("paddedSize");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("programFiles");

    // Damage found while unpacking writes no file at all.
    const QString cannotRead = cannotReadDatabaseText();
    const QString notFound = unpackReport(QStringLiteral("Test database not found."), 0);
    auto unpackFails = [](const char *name, const QByteArray &archive, const QString &text) {
        QTest::newRow(name) << archive << qint64(0) << text << QStringList();
    };
    // Damage found while loading: the text entries have been written where they belong.
    auto loadFails = [](const char *name, const QByteArray &archive, const QString &text) {
        QTest::newRow(name) << archive << qint64(0) << text << textFiles;
    };
    const QByteArray good = goodArchive();
    const ArchiveMap &map = goodMap();
    const EntryAt &info = map.entries[InfoEntry];
    const BlockAt &infoBlock = firstBlockOf(InfoEntry);
    const BlockAt &questionBlock = firstBlockOf(QuestionEntry);

    unpackFails("empty file", QByteArray(), notFound);
    unpackFails("cut inside the entry count", truncatedAt(1), notFound);
    unpackFails("entry count 0", withInt16At(0, 0), notFound);
    unpackFails("entry count -1", withInt16At(0, -1), notFound);
    unpackFails("cut after the entry count", truncatedAt(2), cannotRead);
    unpackFails("cut inside the filler", truncatedAt(map.filler + 3), cannotRead);
    unpackFails("cut before header string 1", truncatedAt(map.headerString1), cannotRead);
    unpackFails("cut inside header string 2", truncatedAt(map.headerString2 + 3), cannotRead);
    unpackFails("cut before the first entry", truncatedAt(info.nameLength), cannotRead);
    unpackFails("cut inside an entry name", truncatedAt(info.name + 4), cannotRead);
    unpackFails("cut inside the reserved bytes", truncatedAt(info.reserved + 9), cannotRead);
    unpackFails("cut inside storedLength", truncatedAt(infoBlock.storedLength + 2), cannotRead);
    unpackFails("cut inside inflatedSize", truncatedAt(infoBlock.inflatedSize + 1), cannotRead);
    unpackFails("cut inside block data", truncatedAt(questionBlock.data + 20), cannotRead);
    unpackFails("cut before an end marker", truncatedAt(info.endMarker), cannotRead);
    unpackFails("cut before the last end marker", good.chopped(4), cannotRead);
    unpackFails("entry count above the entries", withInt16At(0, 11), cannotRead);
    unpackFails("entry count 32767", withInt16At(0, 32767), cannotRead);
    unpackFails("negative filler length", withInt16At(map.fillerLength, -7), cannotRead);
    unpackFails("filler longer than the file", withInt16At(map.fillerLength, 32767), cannotRead);
    unpackFails("header string 1 longer than the file",
                good.first(map.headerString1) + char(200) + "short", cannotRead);
    unpackFails("negative storedLength", withInt32At(infoBlock.storedLength, -2), cannotRead);
    unpackFails("storedLength -1 (data of no bytes)", withInt32At(infoBlock.storedLength, -1),
                cannotRead);
    unpackFails("huge storedLength", withInt32At(infoBlock.storedLength, 0x7FFFFFFF), cannotRead);
    unpackFails("storedLength past the end", withInt32At(questionBlock.storedLength, 100000),
                cannotRead);
    unpackFails("storedLength one short",
                withInt32At(questionBlock.storedLength, qint32(questionBlock.dataLength - 2)),
                cannotRead);
    unpackFails("negative inflatedSize", withInt32At(infoBlock.inflatedSize, -1), cannotRead);
    unpackFails("huge inflatedSize", withInt32At(infoBlock.inflatedSize, 0x7FFFFFFF), cannotRead);
    unpackFails("inflatedSize far below the truth", withInt32At(questionBlock.inflatedSize, 10),
                cannotRead);
    unpackFails("zlib header byte flipped", withByteFlipped(questionBlock.data), cannotRead);
    unpackFails("zlib data byte flipped",
                withByteFlipped(questionBlock.data + questionBlock.dataLength / 2), cannotRead);
    unpackFails("zlib checksum byte flipped",
                withByteFlipped(questionBlock.data + questionBlock.dataLength - 2), cannotRead);
    unpackFails("bomb of five 64 MB blocks", bombArchive(), cannotRead);
    QTest::newRow("archive larger than any module")
        << good << qint64(300) * 1024 * 1024 << cannotRead << QStringList();

    auto named = [](EntryIndex index, const QByteArray &name) {
        return withEntries([&](QList<ArchiveEntry> &entries) { entries[index].name = name; });
    };
    const QByteArray escaped = QFileInfo(m_parent.filePath(QStringLiteral("escaped.dat")))
                                   .absoluteFilePath()
                                   .toLocal8Bit();
    unpackFails("name with ../", named(PromptEntry, "../qm_prompt.dat"), cannotRead);
    unpackFails("name with ../../", named(PromptEntry, "../../escaped.dat"), cannotRead);
    unpackFails("readme with ../", named(ReadmeEntry, "../readme.txt"), cannotRead);
    unpackFails("absolute name", named(DndEntry, escaped), cannotRead);
    unpackFails("name with a backslash", named(DndEntry, "..\\qm_dnd.dat"), cannotRead);
    unpackFails("name with a drive", named(DndEntry, "C:qm_dnd.dat"), cannotRead);
    unpackFails("zero-length name", named(SimEntry, ""), cannotRead);
    unpackFails("name \".\"", named(SimEntry, "."), cannotRead);
    unpackFails("name \"..\"", named(SimEntry, ".."), cannotRead);
    unpackFails("name with NUL", named(SimEntry, QByteArray("qm_\0simulation.dat", 18)),
                cannotRead);
    unpackFails("name of the archive", named(SimEntry, "512-330.qdb"), cannotRead);
    unpackFails("name of the archive in capitals", named(SimEntry, "512-330.QDB"), cannotRead);

    loadFails("readme entry first",
              withEntries([](QList<ArchiveEntry> &entries) { entries.move(ReadmeEntry, 0); }),
              loadReport(QStringLiteral("No such file or directory"), ENOENT));
    loadFails("first name of 255 bytes too long for the file system",
              named(InfoEntry, QByteArray(255, '\xE9')),
              loadReport(QStringLiteral("File name too long"), ENAMETOOLONG));
    loadFails("info table empty", withTable(InfoEntry, QByteArray()),
              loadReport(QStringLiteral("The info table holds no complete header.")));
    loadFails("info string runs past the record",
              withTable(InfoEntry, encodeInfoTable(sampleBank().testInfo).chopped(1)),
              loadReport(QStringLiteral("The info table holds no complete header.")));
    {
        QByteArray info = encodeInfoTable(sampleBank().testInfo);
        qToLittleEndian(quint16(0xFFFF), info.data()); // examCode's length
        loadFails("info string length 65535", withTable(InfoEntry, info),
                  loadReport(QStringLiteral("The info table holds no complete header.")));
    }
    {
        // The reference of the last question claims more bytes than the table has left.
        QByteArray questions = encodeTable(sampleBank().questions);
        const qsizetype lastReference = questions.size() - 2 - QByteArray("Chapter 7").size();
        qToLittleEndian(quint16(40), questions.data() + lastReference);
        loadFails("question string runs past the table", withTable(QuestionEntry, questions),
                  loadReport(QStringLiteral("The module header counts 7 questions, but the "
                                            "question table holds 6.")));
    }
    loadFails("question table missing",
              withEntries([](QList<ArchiveEntry> &entries) { entries.removeAt(QuestionEntry); }),
              loadReport(QStringLiteral("The module header counts 7 questions, but the question "
                                        "table holds 1000.")));
    loadFails("question table empty", withTable(QuestionEntry, QByteArray()),
              loadReport(QStringLiteral("The module header counts 7 questions, but the question "
                                        "table holds 1000.")));

    const QuestionBank sample = sampleBank();
    auto overflow = [](const char *table, int capacity) {
        return loadReport(QStringLiteral("The %1 table holds more than %2 records.")
                              .arg(QLatin1StringView(table))
                              .arg(capacity),
                          9);
    };
    loadFails(
        "51 objectives",
        withTable(ObjectiveEntry, overCapacity(sample.objectives[1], TableCapacity::objectives)),
        overflow("objective", 50));
    loadFails("26 prompts",
              withTable(PromptEntry, overCapacity(sample.prompts[1], TableCapacity::prompts)),
              overflow("prompt", 25));
    loadFails(
        "11 question types",
        withTable(TypeEntry, overCapacity(sample.questionTypes[1], TableCapacity::questionTypes)),
        overflow("questiontype", 10));
    loadFails("1001 questions",
              withTable(QuestionEntry, overCapacity(sample.questions[1], TableCapacity::questions)),
              overflow("question", 1000));
    loadFails("5001 choice rows",
              withTable(ChoiceEntry, overCapacity(sample.choiceRows[1], TableCapacity::choiceRows)),
              overflow("mcfri", 5000));
    loadFails("1001 drop targets",
              withTable(DndEntry, overCapacity(sample.dndRows[1], TableCapacity::dndRows)),
              overflow("dnd", 1000));
    loadFails("1001 simulation tasks",
              withTable(SimEntry, overCapacity(sample.simRows[1], TableCapacity::simRows)),
              overflow("simulation", 1000));

    loadFails("totalQuestions that lies",
              withBank([](QuestionBank &bank) { bank.testInfo.totalQuestions = 8; }),
              loadReport(QStringLiteral("The module header counts 8 questions, but the question "
                                        "table holds 7.")));
    loadFails("numObjectives that lies",
              withBank([](QuestionBank &bank) { bank.testInfo.numObjectives = 3; }),
              loadReport(QStringLiteral("The module header counts 3 objectives, but the "
                                        "objective table holds 2.")));
    loadFails("questionCount that lies",
              withBank([](QuestionBank &bank) { bank.objectives[2].questionCount = 4; }),
              loadReport(QStringLiteral("Objective 2 counts 4 questions, but 3 questions belong "
                                        "to it.")));
    loadFails("question identifier off its position",
              withBank([](QuestionBank &bank) { bank.questions[3].questionId = 30; }),
              loadReport(QStringLiteral("Question 3 has the identifier 30; a question's "
                                        "identifier must equal its position.")));
    loadFails("dangling objective",
              withBank([](QuestionBank &bank) { bank.questions[4].objectiveNo = 3; }),
              loadReport(QStringLiteral("Question 4 refers to objective 3, but the module has 2 "
                                        "objectives.")));
    loadFails("objective 0",
              withBank([](QuestionBank &bank) { bank.questions[1].objectiveNo = 0; }),
              loadReport(QStringLiteral("Question 1 refers to objective 0, but the module has 2 "
                                        "objectives.")));
    loadFails("question type 0",
              withBank([](QuestionBank &bank) { bank.questions[2].questionType = 0; }),
              loadReport(QStringLiteral("Question 2 has the type 0, which the module does not "
                                        "define.")));
    loadFails("question type 8",
              withBank([](QuestionBank &bank) { bank.questions[2].questionType = 8; }),
              loadReport(QStringLiteral("Question 2 has the type 8, which the module does not "
                                        "define.")));
    loadFails("type not in the type table",
              withBank([](QuestionBank &bank) { bank.questionTypes.resize(6); }),
              loadReport(QStringLiteral("Question 7 has the type 7, which the module does not "
                                        "define.")));
    loadFails("question without rows",
              withBank([](QuestionBank &bank) { bank.questions[3].choiceCount = 0; }),
              loadReport(QStringLiteral("Question 3 has no rows.")));
    loadFails("11 choices", withBank([](QuestionBank &bank) {
                  bank.questions[2].choiceCount = 11;
                  OneBasedArray<ChoiceRow> rows;
                  for (int j = 1; j <= bank.choiceRows.size(); ++j) {
                      rows.append(bank.choiceRows[j]);
                      for (quint8 row = 5; j == 7 && row <= 11; ++row)
                          rows.append({2, row, QStringLiteral("More"), 0});
                  }
                  bank.choiceRows = rows;
              }),
              loadReport(QStringLiteral("Question 2 has 11 choices; at most 10 can be shown.")));
    loadFails("choices counted that are not there",
              withBank([](QuestionBank &bank) { bank.questions[1].choiceCount = 4; }),
              loadReport(QStringLiteral("Question 1 has 3 choice rows, but needs 4.")));
    loadFails("answer key with a high bit",
              withBank([](QuestionBank &bank) { bank.questions[1].answerKey = qint16(0x8002); }),
              loadReport(QStringLiteral("Question 1 has the answer key -32766, which does not fit "
                                        "its 3 choices.")));
    loadFails("answer key beyond the choices",
              withBank([](QuestionBank &bank) { bank.questions[2].answerKey = 0b10001; }),
              loadReport(QStringLiteral("Question 2 has the answer key 17, which does not fit its "
                                        "4 choices.")));
    loadFails("answer key of no choice",
              withBank([](QuestionBank &bank) { bank.questions[2].answerKey = 0; }),
              loadReport(QStringLiteral("Question 2 has the answer key 0, which does not fit its "
                                        "4 choices.")));
    loadFails("single answer with two keys",
              withBank([](QuestionBank &bank) { bank.questions[1].answerKey = 0b011; }),
              loadReport(QStringLiteral("Question 1 has the answer key 3, which does not fit its "
                                        "3 choices.")));
    loadFails("drag-and-drop without targets",
              withBank([](QuestionBank &bank) { bank.questions[6].answerKey = 0; }),
              loadReport(QStringLiteral("Question 6 has no drop targets.")));
    loadFails("drop target expects a missing item",
              withBank([](QuestionBank &bank) { bank.dndRows[3].correctSource = 3; }),
              loadReport(QStringLiteral("Drop target 1 of question 6 expects item 3, but the "
                                        "question has 2 items.")));
    loadFails("dangling prompt", withBank([](QuestionBank &bank) { bank.simRows[2].promptNo = 3; }),
              loadReport(QStringLiteral("Task 2 of question 7 uses prompt 3, but the module has 2 "
                                        "prompts.")));
    loadFails("prompt 0", withBank([](QuestionBank &bank) { bank.simRows[1].promptNo = 0; }),
              loadReport(QStringLiteral("Task 1 of question 7 uses prompt 0, but the module has 2 "
                                        "prompts.")));
    loadFails("choice row of a question that does not exist",
              withBank([](QuestionBank &bank) { bank.choiceRows[3].questionId = 99; }),
              loadReport(QStringLiteral("Question 1 has 2 choice rows, but needs 3.")));
    loadFails("simulation task of a question that does not exist",
              withBank([](QuestionBank &bank) { bank.simRows[2].questionId = -1; }),
              loadReport(QStringLiteral("Question 7 has 1 simulation tasks, but needs 2.")));
    loadFails("choice rows out of order", withBank([](QuestionBank &bank) {
                  std::swap(bank.choiceRows[1], bank.choiceRows[2]);
              }),
              loadReport(QStringLiteral("The choice rows of question 1 are not numbered 1 to 3 "
                                        "in one block.")));
    loadFails("choice rows of two questions swapped", withBank([](QuestionBank &bank) {
                  OneBasedArray<ChoiceRow> rows;
                  for (int j = 4; j <= 7; ++j)
                      rows.append(bank.choiceRows[j]);
                  for (int j = 1; j <= 3; ++j)
                      rows.append(bank.choiceRows[j]);
                  for (int j = 8; j <= bank.choiceRows.size(); ++j)
                      rows.append(bank.choiceRows[j]);
                  bank.choiceRows = rows;
              }),
              loadReport(QStringLiteral("The choice rows of question 2 do not follow those of the "
                                        "questions before it.")));
}

void TestDamagedModules::damagedModuleEndsStartUp()
{
    QFETCH(QByteArray, archive);
    QFETCH(qint64, paddedSize);
    QFETCH(QString, text);
    QFETCH(QStringList, programFiles);

    // The name of 255 characters is 510 bytes on disk: too long only where names are shorter.
    if (text.contains(QStringLiteral("File name too long")) &&
        ::pathconf(QFile::encodeName(m_parent.path()).constData(), _PC_NAME_MAX) >= 510)
        QSKIP("This file system takes names of 510 bytes.");

    // Read at its step, and read ahead as the program does: the same outcome.
    for (const bool readingAhead : {false, true}) {
        cleanup();
        writeProgramFolder(archive, paddedSize);
        if (QTest::currentTestFailed())
            return;
        FakeMessageBoxes boxes;
        AppContext context;
        QVERIFY(startUp(readingAhead, context) != 0);

        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].title, errorReportTitle);
        QCOMPARE(boxes.shown[0].text, text);
        QCOMPARE(boxes.shown[0].icon, MessageIcon::Critical);
        QCOMPARE(boxes.shown[0].buttons, MessageButtons::Ok);
        verifyFilesAfterwards(programFiles);
    }
}

void TestDamagedModules::acceptedVariantStartsUp_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QStringList>("programFiles");

    const QByteArray good = goodArchive();
    QTest::newRow("the good module") << good << textFiles;
    QTest::newRow("readme entry second")
        << withEntries([](QList<ArchiveEntry> &entries) { entries.move(ReadmeEntry, 1); })
        << textFiles;
    QTest::newRow("text entries in capitals") << withEntries([](QList<ArchiveEntry> &entries) {
        entries[ReadmeEntry].name = "README.TXT";
        entries[EulaEntry].name = "Eula.Txt";
    }) << QStringList({QStringLiteral("Eula.Txt"), QStringLiteral("README.TXT")});
    QTest::newRow("no text entries")
        << withEntries([](QList<ArchiveEntry> &entries) { entries.resize(ReadmeEntry); })
        << QStringList();
    QTest::newRow("unknown table and a name of 255 bytes")
        << withEntries([](QList<ArchiveEntry> &entries) {
               entries.insert(2, ArchiveEntry{"qm_notes.dat", "Not a table."});
               entries.insert(3, ArchiveEntry{QByteArray(251, 'n') + ".dat", "Nor this."});
           })
        << textFiles;
    QTest::newRow("table names in other cases and prefixes")
        << withEntries([](QList<ArchiveEntry> &entries) {
               entries[QuestionEntry].name = "M1_Question.DAT";
               entries[TypeEntry].name = "x_questiontype";
           })
        << textFiles;
    QTest::newRow("question table twice, the later one counts")
        << withEntries([](QList<ArchiveEntry> &entries) {
               entries.insert(QuestionEntry, ArchiveEntry{"qm_question.old", "stale bytes"});
           })
        << textFiles;
    QTest::newRow("bytes short of a record after the last question")
        << withTable(QuestionEntry, encodeTable(sampleBank().questions) + "partial") << textFiles;
    QTest::newRow("zero-length texts") << withBank([](QuestionBank &bank) {
        bank.testInfo.dbVersion.clear();
        bank.testInfo.description.clear();
        bank.questions[1].questionText.clear();
        bank.questions[1].explanation.clear();
        bank.choiceRows[1].text.clear();
        bank.simRows[1].response.clear();
    }) << textFiles;
    QTest::newRow("blocks of 7 bytes") << pack(goodEntries(), 7) << textFiles;
    QTest::newRow("inflatedSize above the truth")
        << withInt32At(firstBlockOf(QuestionEntry).inflatedSize,
                       int32At(good, firstBlockOf(QuestionEntry).inflatedSize) + 5000)
        << textFiles;
    QTest::newRow("entry count below the entries") << withInt16At(0, 9) << textFiles.mid(1);
    QTest::newRow("bytes after the last entry") << good + "trailing" << textFiles;
}

void TestDamagedModules::acceptedVariantStartsUp()
{
    QFETCH(QByteArray, archive);
    QFETCH(QStringList, programFiles);

    for (const bool readingAhead : {false, true}) {
        cleanup();
        writeProgramFolder(archive, 0);
        if (QTest::currentTestFailed())
            return;
        FakeMessageBoxes boxes;
        AppContext context;
        QCOMPARE(startUp(readingAhead, context), 0);
        QCOMPARE(boxes.shown.size(), 0);
        QCOMPARE(context.bank.questions.size(), sampleBank().questions.size());
        verifyFilesAfterwards(programFiles);
    }
}

QTEST_MAIN(TestDamagedModules)
#include "tst_damagedmodules.moc"
