#include "BankBuilder.h"
#include "FakeMessageBoxes.h"
#include "SampleModule.h"
#include "common/ErrorReport.h"
#include "moduledb/Archive.h"
#include "moduledb/BankCheck.h"
#include "moduledb/LoadTest.h"
#include "moduledb/writer/ModuleWriter.h"
#include "moduledb/TableReader.h"
#include "moduledb/Unpack.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

void compareTables(const QuestionBank &actual, const QuestionBank &expected)
{
    QCOMPARE(actual.testInfo, expected.testInfo);
    QCOMPARE(actual.objectives, expected.objectives);
    QCOMPARE(actual.prompts, expected.prompts);
    QCOMPARE(actual.questionTypes, expected.questionTypes);
    QCOMPARE(actual.questions, expected.questions);
    QCOMPARE(actual.choiceRows, expected.choiceRows);
    QCOMPARE(actual.dndRows, expected.dndRows);
    QCOMPARE(actual.simRows, expected.simRows);
}

QList<TableFile> tableFiles(const QList<ArchiveEntry> &entries)
{
    QList<TableFile> files;
    for (const ArchiveEntry &entry : entries)
        files.append({QString::fromLatin1(entry.name), entry.content});
    return files;
}

QString loadReport(const QString &description, int number)
{
    return ErrorReport{description, number, QStringLiteral("Procedure Name: LoadTest")}.text();
}

// A program folder with the module folder inside, filled by unpacking an archive.
struct UnpackedModule
{
    QTemporaryDir root;
    QString program = root.path();
    QString module = root.filePath(QStringLiteral("Module"));
    OneBasedArray<QString> testFiles;

    explicit UnpackedModule(const QList<ArchiveEntry> &entries)
    {
        const QString archive = root.filePath(QStringLiteral("512-330.qdb"));
        QFile file(archive);
        if (file.open(QIODevice::WriteOnly))
            file.write(packArchive(entries, ArchiveLayout()));
        file.close();
        FakeMessageBoxes quiet;
        unpacked = UnpackTest(archive, module, program, testFiles);
    }
    bool unpacked = false;
};

} // namespace

class TestLoadTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tableNameSelection_data();
    void tableNameSelection();
    void partialTrailingRecordIsDropped();
    void fileShorterThanOneRecordKeepsFullCapacity();
    void tableOverCapacityStops();
    void tablesWithoutRecordsTakeTheirCapacity();
    void missingQuestionTableCountsItsCapacity();
    void incompleteHeaderIsRefused();
    void derivedValues_data();
    void derivedValues();
    void loadTablesReadsWhatThePackerWrote();
    void randomDamageIsRefusedOrLoadsACheckedBank();

    void loadsTheUnpackedModuleAndLeavesNoTableFile();
    void firstTableFileMissingIsAnError();
    void laterMissingFileIsSkipped();
    void overCapacityReportsAndDeletesEveryTableFile();
    void refusedBankReportsWhatIsWrong();
    void unsafeNamesAreNeverTouched();
};

void TestLoadTest::tableNameSelection_data()
{
    QTest::addColumn<QString>("entryName");
    QTest::addColumn<QString>("tableName");
    QTest::newRow("upper case") << "m1_Question.DAT"
                                << "question";
    QTest::newRow("question type") << "m1_questiontype.dat"
                                   << "questiontype";
    QTest::newRow("no prefix") << "info.dat"
                               << "info";
    QTest::newRow("no extension") << "qm_dnd"
                                  << "dnd";
    QTest::newRow("first underscore, first dot") << "a_b_mcfri.x.y"
                                                 << "b_mcfri";
    QTest::newRow("text entry") << "readme.txt"
                                << "readme";
}

void TestLoadTest::tableNameSelection()
{
    QFETCH(QString, entryName);
    QFETCH(QString, tableName);
    QCOMPARE(tableNameOf(entryName), tableName);
}

void TestLoadTest::partialTrailingRecordIsDropped()
{
    const QuestionBank sample = sampleBank();
    OneBasedArray<Question> three;
    for (int q = 1; q <= 3; ++q)
        three.append(sample.questions[q]);
    const QByteArray whole = encodeTable(three);
    OneBasedArray<Question> fourthOnly;
    fourthOnly.append(sample.questions[4]);
    const QByteArray fourth = encodeTable(fourthOnly);
    for (qsizetype extra : {qsizetype(1), qsizetype(13), fourth.size() - 1}) {
        QuestionBank bank;
        sizeTablesToCapacity(bank);
        QCOMPARE(readTable(QStringLiteral("question"), whole + fourth.first(extra), bank),
                 std::nullopt);
        QCOMPARE(bank.questions, three);
    }
}

void TestLoadTest::fileShorterThanOneRecordKeepsFullCapacity()
{
    QuestionBank bank;
    sizeTablesToCapacity(bank);
    const QByteArray row = encodeTable(sampleBank().dndRows).first(5);
    QCOMPARE(readTable(QStringLiteral("dnd"), row, bank), std::nullopt);
    QCOMPARE(bank.dndRows.size(), TableCapacity::dndRows);
    QCOMPARE(bank.dndRows[1], DndRow());
    QCOMPARE(readTable(QStringLiteral("simulation"), QByteArray(), bank), std::nullopt);
    QCOMPARE(bank.simRows.size(), TableCapacity::simRows);
}

void TestLoadTest::tableOverCapacityStops()
{
    OneBasedArray<Prompt> prompts;
    for (int i = 1; i <= TableCapacity::prompts; ++i)
        prompts.append({quint8(i), QStringLiteral("#")});
    QuestionBank bank;
    sizeTablesToCapacity(bank);
    QCOMPARE(readTable(QStringLiteral("prompt"), encodeTable(prompts), bank), std::nullopt);
    QCOMPARE(bank.prompts.size(), TableCapacity::prompts);

    prompts.append({26, QStringLiteral(">")});
    const auto problem = readTable(QStringLiteral("prompt"), encodeTable(prompts), bank);
    QCOMPARE(problem, (LoadProblem{QStringLiteral("The prompt table holds more than 25 records."),
                                   tableOverflowErrorNumber}));
}

namespace {

// Only some tables: the others still have their capacity of empty records when the bank
// is checked and after it loaded.
QList<TableFile> onlyTables(const QuestionBank &bank, const QStringList &tables)
{
    QList<TableFile> files;
    for (const TableFile &file : tableFiles(bankEntries(bank))) {
        if (tables.contains(tableNameOf(file.name)))
            files.append(file);
    }
    return files;
}

} // namespace

void TestLoadTest::tablesWithoutRecordsTakeTheirCapacity()
{
    // Single answers need no prompt, drop target or task, and the empty question types of
    // a missing table still number 1 to 10.
    const QuestionBank built =
        BankBuilder().objectives(2).questions(1, 3).questions(2, 2).examQuestions(5, 30).bank();
    QuestionBank bank;
    QCOMPARE(loadTables(onlyTables(built, {QStringLiteral("info"), QStringLiteral("objective"),
                                           QStringLiteral("question"), QStringLiteral("mcfri")}),
                        bank),
             std::nullopt);
    QCOMPARE(bank.questions, built.questions);
    QCOMPARE(bank.choiceRows, built.choiceRows);
    QCOMPARE(bank.prompts.size(), TableCapacity::prompts);
    QCOMPARE(bank.questionTypes.size(), TableCapacity::questionTypes);
    QCOMPARE(bank.dndRows.size(), TableCapacity::dndRows);
    QCOMPARE(bank.simRows.size(), TableCapacity::simRows);
    QCOMPARE(bank.simRows[TableCapacity::simRows], SimRow());
    QCOMPARE(checkBank(bank), std::nullopt);
}

void TestLoadTest::missingQuestionTableCountsItsCapacity()
{
    QuestionBank bank;
    const auto problem = loadTables(
        onlyTables(sampleBank(),
                   {QStringLiteral("info"), QStringLiteral("objective"), QStringLiteral("prompt"),
                    QStringLiteral("questiontype"), QStringLiteral("mcfri"), QStringLiteral("dnd"),
                    QStringLiteral("simulation")}),
        bank);
    QCOMPARE(problem, (LoadProblem{QStringLiteral("The module header counts 7 questions, but "
                                                  "the question table holds 1000."),
                                   0}));
}

void TestLoadTest::incompleteHeaderIsRefused()
{
    QuestionBank bank;
    const QByteArray info = encodeInfoTable(sampleBank().testInfo);
    QVERIFY(readTable(QStringLiteral("info"), info.chopped(1), bank).has_value());
    QCOMPARE(readTable(QStringLiteral("info"), info + "trailing", bank), std::nullopt);
    QCOMPARE(bank.testInfo, sampleBank().testInfo);
}

void TestLoadTest::derivedValues_data()
{
    QTest::addColumn<int>("examQuestionCount");
    QTest::addColumn<int>("totalQuestions");
    QTest::addColumn<QList<int>>("objectiveCounts");
    QTest::addColumn<int>("numQuestionsWanted");
    QTest::addColumn<int>("minObjQuestions");
    QTest::newRow("bank smaller than exam") << 65 << 40 << QList<int>{0, 12, 7} << 40 << 7;
    QTest::newRow("bank larger than exam") << 65 << 300 << QList<int>{0, 0} << 65 << 0;
    QTest::newRow("smallest first") << 10 << 10 << QList<int>{3, 9, 4} << 10 << 3;
}

void TestLoadTest::derivedValues()
{
    QFETCH(int, examQuestionCount);
    QFETCH(int, totalQuestions);
    QFETCH(QList<int>, objectiveCounts);
    QFETCH(int, numQuestionsWanted);
    QFETCH(int, minObjQuestions);
    QuestionBank bank;
    bank.testInfo.examQuestionCount = qint16(examQuestionCount);
    bank.testInfo.totalQuestions = qint16(totalQuestions);
    bank.testInfo.durationMinutes = 90;
    bank.testInfo.numObjectives = quint8(objectiveCounts.size());
    for (int count : objectiveCounts)
        bank.objectives.append({0, QString(), qint16(count)});
    setDerivedValues(bank);
    QCOMPARE(bank.numQuestionsWanted, numQuestionsWanted);
    QCOMPARE(bank.bankQuestionCount, totalQuestions);
    QCOMPARE(bank.objectiveCount, objectiveCounts.size());
    QCOMPARE(bank.testDuration, QStringLiteral("90"));
    QCOMPARE(bank.minObjQuestions, minObjQuestions);
}

void TestLoadTest::loadTablesReadsWhatThePackerWrote()
{
    const QuestionBank sample = sampleBank();
    QuestionBank bank;
    QCOMPARE(loadTables(tableFiles(bankEntries(sample)), bank), std::nullopt);
    compareTables(bank, sample);
    QCOMPARE(bank.numQuestionsWanted, 5);
    QCOMPARE(bank.bankQuestionCount, 7);
    QCOMPARE(bank.objectiveCount, 2);
    QCOMPARE(bank.minObjQuestions, 3);
    QCOMPARE(bank.questions[1].questionCode, QStringLiteral("QX-0001   "));
}

void TestLoadTest::randomDamageIsRefusedOrLoadsACheckedBank()
{
    const QByteArray archive = packArchive(bankEntries(sampleBank()), ArchiveLayout());
    QRandomGenerator random(330);
    for (int round = 0; round < 1000; ++round) {
        QByteArray damaged = archive;
        for (int flips = 1 + random.bounded(3); flips > 0; --flips)
            damaged[random.bounded(damaged.size())] = char(random.bounded(256));
        const ParsedArchive parsed = parseArchive(damaged);
        QList<TableFile> files;
        for (const UnpackedEntry &entry : parsed.entries)
            files.append({entry.name, entry.content});
        QuestionBank bank;
        if (!loadTables(files, bank))
            QCOMPARE(checkBank(bank), std::nullopt);
    }
}

void TestLoadTest::loadsTheUnpackedModuleAndLeavesNoTableFile()
{
    QList<ArchiveEntry> entries =
        bankEntries(sampleBank(), QStringLiteral("M1"), QStringLiteral("DAT"));
    entries.append(ArchiveEntry{"ReadMe.txt", "Read me."});
    entries.append(ArchiveEntry{"eula.txt", "Terms."});
    UnpackedModule module(entries);
    QVERIFY(module.unpacked);

    FakeMessageBoxes boxes;
    QuestionBank bank;
    QVERIFY(LoadTest(module.testFiles, module.module, bank));
    QVERIFY(boxes.shown.isEmpty());
    compareTables(bank, sampleBank());
    QCOMPARE(bank.testDuration, QStringLiteral("90"));
    QCOMPARE(filesIn(module.module), QStringList());
    QCOMPARE(filesIn(module.program),
             QStringList({QStringLiteral("512-330.qdb"), QStringLiteral("ReadMe.txt"),
                          QStringLiteral("eula.txt")}));
}

void TestLoadTest::firstTableFileMissingIsAnError()
{
    // The text entries are not in the module folder, so one of them must not come first.
    QList<ArchiveEntry> entries = bankEntries(sampleBank());
    entries.prepend(ArchiveEntry{"readme.txt", "Read me."});
    UnpackedModule module(entries);
    QVERIFY(module.unpacked);

    FakeMessageBoxes boxes;
    QuestionBank bank;
    QVERIFY(!LoadTest(module.testFiles, module.module, bank));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].text, loadReport(QStringLiteral("No such file or directory"), ENOENT));
    QCOMPARE(filesIn(module.module), QStringList());
}

void TestLoadTest::laterMissingFileIsSkipped()
{
    UnpackedModule module(bankEntries(sampleBank()));
    QVERIFY(module.unpacked);
    module.testFiles.append(QStringLiteral("qm_gone.dat"));

    FakeMessageBoxes boxes;
    QuestionBank bank;
    QVERIFY(LoadTest(module.testFiles, module.module, bank));
    QVERIFY(boxes.shown.isEmpty());
}

void TestLoadTest::overCapacityReportsAndDeletesEveryTableFile()
{
    QList<ArchiveEntry> entries = bankEntries(sampleBank());
    OneBasedArray<QuestionType> types;
    for (quint8 code = 1; code <= 11; ++code)
        types.append({code, QStringLiteral("t"), QStringLiteral("T")});
    entries[3].content = encodeTable(types);
    UnpackedModule module(entries);
    QVERIFY(module.unpacked);

    FakeMessageBoxes boxes;
    QuestionBank bank;
    QVERIFY(!LoadTest(module.testFiles, module.module, bank));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].text,
             loadReport(QStringLiteral("The questiontype table holds more than 10 records."), 9));
    QCOMPARE(filesIn(module.module), QStringList());
}

void TestLoadTest::refusedBankReportsWhatIsWrong()
{
    QuestionBank sample = sampleBank();
    sample.questions[6].objectiveNo = 14;
    UnpackedModule module(bankEntries(sample));
    QVERIFY(module.unpacked);

    FakeMessageBoxes boxes;
    QuestionBank bank;
    QVERIFY(!LoadTest(module.testFiles, module.module, bank));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].text,
             loadReport(QStringLiteral("Question 6 refers to objective 14, but the module has 2 "
                                       "objectives."),
                        0));
    QCOMPARE(filesIn(module.module), QStringList());
}

void TestLoadTest::unsafeNamesAreNeverTouched()
{
    UnpackedModule module(bankEntries(sampleBank()));
    QVERIFY(module.unpacked);
    const QString outside = module.root.filePath(QStringLiteral("keep.dat"));
    QFile file(outside);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    module.testFiles.append(QStringLiteral("../keep.dat"));

    FakeMessageBoxes boxes;
    QuestionBank bank;
    QVERIFY(LoadTest(module.testFiles, module.module, bank));
    QVERIFY(QFile::exists(outside));
}

QTEST_GUILESS_MAIN(TestLoadTest)
#include "tst_loadtest.moc"
