#include "TestPaths.h"
#include "tools/qdbpack/ModuleDump.h"
#include "tools/qdbpack/ModuleValidation.h"
#include "tools/qdbpack/SourceReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

const QString testFile = QStringLiteral("questions/00-test.json");

// Appends a consistent question of the given type with its rows; returns its position.
int addQuestion(ModuleSource &source, quint8 type, quint8 objective, int rows, int targets = 0)
{
    QuestionBank &bank = source.bank;
    const int q = bank.questions.size() + 1;
    Question question;
    question.questionId = qint16(q);
    question.questionCode = QStringLiteral("Q-%1").arg(q);
    question.objectiveNo = objective;
    question.questionType = type;
    question.questionText = QStringLiteral("Text of question %1").arg(q);
    question.choiceCount = quint8(rows);
    if (type == SingleAnswer)
        question.answerKey = 1;
    else if (type == MultipleAnswers)
        question.answerKey = 3;
    else if (type == TextDragAndDrop || type == GraphicalDragAndDrop)
        question.answerKey = qint16(targets);
    if (type == GraphicalDragAndDrop)
        question.diagramFile = QStringLiteral("g.png");
    for (int i = 1; i <= rows; ++i) {
        if (type == Simulation)
            bank.simRows.append({qint16(q),
                                 quint8(i),
                                 QStringLiteral("R1"),
                                 quint8(1 + i % 2),
                                 QStringLiteral("Task"),
                                 QStringLiteral("enable"),
                                 {}});
        else
            bank.choiceRows.append({qint16(q), quint8(i), QStringLiteral("Row %1").arg(i), 0});
    }
    for (int i = 1; i <= targets; ++i)
        bank.dndRows.append(
            {qint16(q), quint8(i), quint8(1), QStringLiteral("Target"), 300, 450, 1695, 465});
    bank.questions.append(question);
    source.questionFiles.append(testFile);
    return q;
}

// Sets the header counts and each objective's questionCount from the records.
void recount(ModuleSource &source)
{
    QuestionBank &bank = source.bank;
    bank.testInfo.totalQuestions = qint16(bank.questions.size());
    bank.testInfo.numObjectives = quint8(bank.objectives.size());
    for (int i = 1; i <= bank.objectives.size(); ++i)
        bank.objectives[i].questionCount = qint16(derivedQuestionCount(bank, i));
}

// A small valid module: two objectives, seven prompts and types, one question of each type.
ModuleSource validModule()
{
    ModuleSource source;
    TestInfo &info = source.bank.testInfo;
    info.examCode = QStringLiteral("512-330");
    info.examTitle = QStringLiteral("Test exam");
    info.examQuestionCount = 5;
    info.passingScore = 800;
    info.durationMinutes = 60;
    info.dbVersion = QStringLiteral("1.0");
    info.dbRelease = QStringLiteral("Today");
    source.bank.objectives.append({1, QStringLiteral("Fundamentals"), 0});
    source.bank.objectives.append({2, QStringLiteral("Routing"), 0});
    const QStringList prompts = {QStringLiteral(">"),
                                 QStringLiteral("#"),
                                 QStringLiteral("(config)#"),
                                 QStringLiteral("(config-if)#"),
                                 QStringLiteral("(config-router)#"),
                                 QStringLiteral("(config-line)#"),
                                 QStringLiteral("(config-vlan)#")};
    for (int i = 1; i <= 7; ++i) {
        source.bank.prompts.append({quint8(i), prompts[i - 1]});
        source.bank.questionTypes.append(
            {quint8(i), QStringLiteral("t%1").arg(i), QStringLiteral("Type %1").arg(i)});
    }
    addQuestion(source, SingleAnswer, 1, 3);
    addQuestion(source, MultipleAnswers, 1, 4);
    addQuestion(source, TypedAnswer, 2, 1);
    addQuestion(source, TypedValues, 2, 4);
    addQuestion(source, TextDragAndDrop, 1, 2, 2);
    addQuestion(source, GraphicalDragAndDrop, 2, 2, 2);
    addQuestion(source, Simulation, 2, 2);
    source.availableFiles = QSet<QString>{QStringLiteral("g.png"), QStringLiteral("e.txt")};
    recount(source);
    return source;
}

using Change = std::function<void(ModuleSource &)>;

// The question files of a module source folder, as readSourceFiles takes them.
QMap<QString, QByteArray> withModuleJson(const QByteArray &questions)
{
    const QByteArray module = R"({
        "info": {"examCode": "1", "examTitle": "T", "examQuestionCount": 1,
                 "passingScore": 800, "durationMinutes": 60, "dbVersion": "1",
                 "dbRelease": "2"},
        "objectives": [{"objectiveName": "O"}],
        "prompts": [{"promptText": ">"}],
        "questionTypes": [{"typeName": "a", "typeCaption": "A"}, {"typeName": "b",
                          "typeCaption": "B"}, {"typeName": "c", "typeCaption": "C"}]
    })";
    return {{QStringLiteral("module.json"), module}, {testFile, questions}};
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestQdbpack : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void validModuleIsAccepted() { QCOMPARE(validateModule(validModule()), QStringList()); }

    void refusals_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("message");
        const QString q = testFile + QStringLiteral(": question %1 (Q-%1): ");

        QTest::newRow("objectives over capacity")
            << Change([](ModuleSource &s) {
                   for (int i = 3; i <= 51; ++i)
                       s.bank.objectives.append({quint8(i), QStringLiteral("O"), 0});
                   recount(s);
               })
            << QStringLiteral(
                   "module.json: objectives: 51 objectives, the most a module may hold is 50");
        QTest::newRow("prompts over capacity") << Change([](ModuleSource &s) {
            for (int i = 8; i <= 26; ++i)
                s.bank.prompts.append({quint8(i), QStringLiteral(">")});
        }) << QStringLiteral("module.json: prompts: 26 prompts, the most a module may hold is 25");
        QTest::newRow("question types over capacity") << Change([](ModuleSource &s) {
            for (int i = 8; i <= 11; ++i)
                s.bank.questionTypes.append({quint8(i), QStringLiteral("x"), QStringLiteral("X")});
        })
                                                      << QStringLiteral(
                                                             "module.json: questionTypes: 11 "
                                                             "question types, the most a module "
                                                             "may hold is 10");
        QTest::newRow("questions over capacity") << Change([](ModuleSource &s) {
            while (s.bank.questions.size() < 1001)
                addQuestion(s, SingleAnswer, 1, 1);
            recount(s);
        }) << QStringLiteral("questions/: 1001 questions, the most a module may hold is 1000");
        QTest::newRow("choice rows over capacity")
            << Change([](ModuleSource &s) {
                   while (s.bank.choiceRows.size() <= 5000)
                       addQuestion(s, TypedValues, 1, 10);
                   recount(s);
               })
            << QStringLiteral("questions/: 5006 choices, answers, values and items, the most a "
                              "module may hold is 5000");
        QTest::newRow("drag-and-drop rows over capacity")
            << Change([](ModuleSource &s) {
                   while (s.bank.dndRows.size() <= 1000)
                       addQuestion(s, TextDragAndDrop, 1, 1, 200);
                   recount(s);
               })
            << QStringLiteral(
                   "questions/: 1004 drag-and-drop targets, the most a module may hold is 1000");
        QTest::newRow("simulation rows over capacity")
            << Change([](ModuleSource &s) {
                   while (s.bank.simRows.size() <= 1000)
                       addQuestion(s, Simulation, 1, 200);
                   recount(s);
               })
            << QStringLiteral(
                   "questions/: 1002 simulation tasks, the most a module may hold is 1000");
        QTest::newRow("totalQuestions")
            << Change([](ModuleSource &s) { s.bank.testInfo.totalQuestions = 9; })
            << QStringLiteral("module.json: info.totalQuestions 9 differs from the 7 questions");
        QTest::newRow("numObjectives")
            << Change([](ModuleSource &s) { s.bank.testInfo.numObjectives = 1; })
            << QStringLiteral("module.json: info.numObjectives 1 differs from the 2 objectives");
        QTest::newRow("objective questionCount")
            << Change([](ModuleSource &s) { s.bank.objectives[1].questionCount = 5; })
            << QStringLiteral("module.json: objective 1 (Fundamentals): questionCount 5 differs "
                              "from its 3 questions");
        QTest::newRow("objective missing")
            << Change([](ModuleSource &s) {
                   s.bank.questions[1].objectiveNo = 14;
                   recount(s);
               })
            << q.arg(1) + QStringLiteral("objectiveNo 14 does not exist (the module has 2 "
                                         "objectives)");
        QTest::newRow("question type missing")
            << Change([](ModuleSource &s) {
                   s.bank.questionTypes.resize(6);
                   s.bank.simRows.clear();
                   s.bank.questions[7].choiceCount = 0;
               })
            << q.arg(7) + QStringLiteral("questionType 7 does not exist (the module has 6 "
                                         "question types)");
        QTest::newRow("more than 10 choices") << Change([](ModuleSource &s) {
            addQuestion(s, MultipleAnswers, 1, 11);
            recount(s);
        }) << q.arg(8) + QStringLiteral("11 choices, the most is 10");
        QTest::newRow("targets differ from answerKey")
            << Change([](ModuleSource &s) { s.bank.questions[6].answerKey = 3; })
            << q.arg(6) + QStringLiteral("answerKey 3 differs from its 2 drag-and-drop targets");
        QTest::newRow("simulation prompt missing")
            << Change([](ModuleSource &s) { s.bank.simRows[2].promptNo = 9; })
            << q.arg(7) + QStringLiteral("task 2: promptNo 9 does not exist (the module has 7 "
                                         "prompts)");
        QTest::newRow("answer key beyond the choices")
            << Change([](ModuleSource &s) { s.bank.questions[2].answerKey = 0x13; })
            << q.arg(2) + QStringLiteral("answerKey 19 marks choice 5, but the question has 4 "
                                         "choices");
        QTest::newRow("single answer with two correct")
            << Change([](ModuleSource &s) { s.bank.questions[1].answerKey = 3; })
            << q.arg(1) + QStringLiteral("a single-answer question needs exactly one correct "
                                         "choice, it has 2");
        QTest::newRow("text outside Windows-1252")
            << Change([](ModuleSource &s) {
                   s.bank.questions[3].questionText = QStringLiteral("A \u2192 B");
               })
            << q.arg(3) + QStringLiteral("questionText: character \"\u2192\" (U+2192) cannot be "
                                         "written in Windows-1252");
        QTest::newRow("row text outside Windows-1252")
            << Change([](ModuleSource &s) { s.bank.choiceRows[8].text = QStringLiteral("\u0100"); })
            << q.arg(3) + QStringLiteral("answer 1: text: character \"\u0100\" (U+0100) cannot "
                                         "be written in Windows-1252");
        QTest::newRow("questionId")
            << Change([](ModuleSource &s) { s.bank.questions[4].questionId = 40; })
            << q.arg(4) + QStringLiteral("questionId 40 differs from its position 4");
        QTest::newRow("choiceCount")
            << Change([](ModuleSource &s) { s.bank.questions[4].choiceCount = 3; })
            << q.arg(4) + QStringLiteral("choiceCount 3 differs from its 4 values");
        QTest::newRow("long question code")
            << Change([](ModuleSource &s) {
                   s.bank.questions[1].questionCode = QStringLiteral("Q-1-ABCDEFG");
               })
            << testFile + QStringLiteral(": question 1 (Q-1-ABCDEFG): questionCode "
                                         "\"Q-1-ABCDEFG\" is longer than 10 characters");
        QTest::newRow("code used twice")
            << Change([](ModuleSource &s) {
                   s.bank.questions[5].questionCode = QStringLiteral("Q-2");
               })
            << testFile +
                   QStringLiteral(": question 5 (Q-2): questionCode \"Q-2\" is also the code "
                                  "of question 2");
        QTest::newRow("missing picture")
            << Change([](ModuleSource &s) { s.availableFiles->remove(QStringLiteral("g.png")); })
            << q.arg(6) + QStringLiteral("diagramFile \"g.png\" is not in files/");
        QTest::newRow("file name with a folder")
            << Change([](ModuleSource &s) {
                   s.bank.questions[1].exhibitFile = QStringLiteral("../e.txt");
               })
            << q.arg(1) + QStringLiteral("exhibitFile \"../e.txt\" must be a file name without "
                                         "a folder");
        QTest::newRow("text entry that is not kept")
            << Change([](ModuleSource &s) {
                   s.textEntries.append({QStringLiteral("notes.txt"), "x"});
               })
            << QStringLiteral("module.json: archive.textEntries: \"notes.txt\" is neither "
                              "readme.txt nor eula.txt");
        QTest::newRow("prefix hides the table name")
            << Change([](ModuleSource &s) { s.entryPrefix = QStringLiteral("q_m"); })
            << QStringLiteral("module.json: archive.entryPrefix \"q_m\" must not contain \"_\" "
                              "or \".\"");
    }
    void refusals()
    {
        QFETCH(Change, change);
        QFETCH(QString, message);
        ModuleSource source = validModule();
        change(source);
        QCOMPARE(validateModule(source), QStringList{message});
    }

    void sourceErrors_data()
    {
        QTest::addColumn<QByteArray>("questions");
        QTest::addColumn<QString>("message");
        const QString q = testFile + QStringLiteral(": question 1 (A-1): ");
        QTest::newRow("missing field")
            << QByteArray(R"({"questions": [{"questionCode": "A-1", "objectiveNo": 1,
                  "questionType": 3, "answer": "x"}]})")
            << q + QStringLiteral("questionText is missing");
        QTest::newRow("unknown field")
            << QByteArray(R"({"questions": [{"questionCode": "A-1", "objectiveNo": 1,
                  "questionType": 3, "questionText": "T", "answer": "x", "explaination": ""}]})")
            << q + QStringLiteral("unknown field \"explaination\"");
        QTest::newRow("number out of range")
            << QByteArray(R"({"questions": [{"questionCode": "A-1", "objectiveNo": 256,
                  "questionType": 3, "questionText": "T", "answer": "x"}]})")
            << q + QStringLiteral("objectiveNo must be a whole number from 0 to 255");
        QTest::newRow("rows of another type")
            << QByteArray(R"({"questions": [{"questionCode": "A-1", "objectiveNo": 1,
                  "questionType": 3, "questionText": "T", "answer": "x", "choices": []}]})")
            << q + QStringLiteral("choices is not used by a question of type 3");
        QTest::newRow("answer key against the correct choices")
            << QByteArray(R"({"questions": [{"questionCode": "A-1", "objectiveNo": 1,
                  "questionType": 1, "questionText": "T", "answerKey": 2,
                  "choices": [{"text": "a", "correct": true}, {"text": "b"}]}]})")
            << q + QStringLiteral("answerKey 2 differs from the choices marked correct (1)");
        QTest::newRow("row field")
            << QByteArray(R"({"questions": [{"questionCode": "A-1", "objectiveNo": 1,
                  "questionType": 1, "questionText": "T",
                  "choices": [{"text": "a", "correct": "yes"}]}]})")
            << q + QStringLiteral("choice 1: correct must be true or false");
        QTest::newRow("not JSON") << QByteArray(R"({"questions": [})")
                                  << testFile + QStringLiteral(
                                                    ": object is missing after a comma at byte 16");
    }
    void sourceErrors()
    {
        QFETCH(QByteArray, questions);
        QFETCH(QString, message);
        QStringList errors;
        QVERIFY(!readSourceFiles(withModuleJson(questions), &errors));
        QCOMPARE(errors, QStringList{message});
    }

    void derivedValuesAreFilledIn()
    {
        QStringList errors;
        const auto source = readSourceFiles(withModuleJson(R"({"questions": [
            {"questionCode": "A-1", "objectiveNo": 1, "questionType": 2, "questionText": "T",
             "choices": [{"text": "a"}, {"text": "b", "correct": true},
                         {"text": "c", "correct": true, "spare": -4}]}]})"),
                                            &errors);
        QVERIFY2(source, qPrintable(errors.join(u'\n')));
        const QuestionBank &bank = source->bank;
        QCOMPARE(bank.testInfo.totalQuestions, 1);
        QCOMPARE(bank.testInfo.numObjectives, 1);
        QCOMPARE(bank.objectives[1].questionCount, 1);
        QCOMPARE(bank.questions[1].questionId, 1);
        QCOMPARE(bank.questions[1].choiceCount, 3);
        QCOMPARE(bank.questions[1].answerKey, 6);
        QCOMPARE(bank.choiceRows[3].spare, -4);
        QCOMPARE(bank.choiceRows[3].rowNo, 3);
        QCOMPARE(validateModule(*source), QStringList());
    }

    void firstModulePacksDumpsAndPacksAgain()
    {
        QStringList errors;
        const auto source = readModuleFolder(QStringLiteral(QUENDRA_MODULE_SOURCE), &errors);
        QVERIFY2(source, qPrintable(errors.join(u'\n')));
        QCOMPARE(validateModule(*source), QStringList());
        checkRoundTrip(*source);
    }

    void unusualLayoutsRoundTrip()
    {
        ModuleSource source = validModule();
        source.entryPrefix = QStringLiteral("m1");
        source.entryExtension = QStringLiteral("bin");
        source.layout.filler = "\x01\x02\x03";
        source.layout.headerString1 = "Caf\xe9";
        source.layout.blockSize = 7;
        source.layout.extraByte = false;
        source.reserved = QByteArray(reservedBytes, '\x5a');
        source.bank.choiceRows[1].spare = 77;
        source.bank.choiceRows[8].spare = -3;
        source.textEntries.append({QStringLiteral("README.TXT"), "read me"});
        QCOMPARE(validateModule(source), QStringList());
        checkRoundTrip(source);
    }

    void dumpWarnsWhatItCannotReproduce()
    {
        ModuleSource source = validModule();
        QList<ArchiveEntry> entries = bankEntries(source.bank);
        entries.swapItemsAt(0, 1);
        QString error;
        const auto dumped = dumpArchive(packArchive(entries, source.layout), &error);
        QVERIFY2(dumped, qPrintable(error));
        QCOMPARE(dumped->warnings.size(), 1);
        QVERIFY(dumped->warnings[0].startsWith(
            QStringLiteral("packing the dumped source does not give the same archive")));
        QCOMPARE(dumped->source.bank.objectives, source.bank.objectives);
    }

    void dumpRefusesDamagedArchives_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("message");
        QTest::newRow("no entries") << QByteArray::fromHex("00000000")
                                    << QStringLiteral("The archive holds no entries.");
        QByteArray cut = packArchive({{"a.txt", "hello"}}, ArchiveLayout());
        cut.chop(6);
        QTest::newRow("cut short") << cut
                                   << QStringLiteral("Entry 1: a block runs past the end of the "
                                                     "archive.");
        QByteArray bad = packArchive({{"a.txt", "hello"}}, ArchiveLayout());
        bad[bad.size() - 6] = 'x'; // inside the zlib stream's checksum
        QTest::newRow("bad stream") << bad
                                    << QStringLiteral("Entry 1: a block does not inflate.");
        // What does not load does not dump: the packer would report it, the program refuses it.
        ModuleSource wrongCount = validModule();
        wrongCount.bank.objectives[2].questionCount = 9;
        QTest::newRow("does not load")
            << packModule(wrongCount)
            << QStringLiteral("Objective 2 counts 9 questions, but 4 questions belong to it.");
    }
    void dumpRefusesDamagedArchives()
    {
        QFETCH(QByteArray, archive);
        QFETCH(QString, message);
        QString error;
        QVERIFY(!dumpArchive(archive, &error));
        QCOMPARE(error, message);
    }

    void commandLine()
    {
        const QString qdbpack = QDir(buildDir()).filePath(QStringLiteral("qdbpack"));
        QTemporaryDir dir;
        const QString output = dir.filePath(QStringLiteral("512-330.qdb"));
        QProcess pack;
        pack.start(qdbpack, {QStringLiteral("pack"), QStringLiteral(QUENDRA_MODULE_SOURCE), output,
                             QStringLiteral("--block-size"), QStringLiteral("512"),
                             QStringLiteral("--no-extra-byte")});
        QVERIFY(pack.waitForFinished());
        QCOMPARE(pack.exitCode(), 0);

        QStringList errors;
        auto source = readModuleFolder(QStringLiteral(QUENDRA_MODULE_SOURCE), &errors);
        QVERIFY(source);
        source->layout.blockSize = 512;
        source->layout.extraByte = false;
        QFile packed(output);
        QVERIFY(packed.open(QIODevice::ReadOnly));
        QVERIFY(packed.readAll() == packModule(*source));

        // A refused module: the message on stderr, a failing exit status, no archive.
        const QString broken = dir.filePath(QStringLiteral("broken"));
        QDir().mkpath(broken + QStringLiteral("/questions"));
        for (const QString &name : {QStringLiteral("module.json"), QStringLiteral("readme.txt"),
                                    QStringLiteral("eula.txt")})
            QFile::copy(QStringLiteral(QUENDRA_MODULE_SOURCE "/") + name, broken + u'/' + name);
        QFile questions(broken + QStringLiteral("/questions/10-routing.json"));
        QVERIFY(questions.open(QIODevice::WriteOnly));
        questions.write(R"({"questions": [{"questionCode": "RT-0512", "objectiveNo": 14,
            "questionType": 3, "questionText": "T", "answer": "x"}]})");
        questions.close();
        pack.start(qdbpack,
                   {QStringLiteral("pack"), broken, dir.filePath(QStringLiteral("b.qdb"))});
        QVERIFY(pack.waitForFinished());
        QCOMPARE(pack.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(pack.readAllStandardError()),
                 QStringLiteral("questions/10-routing.json: question 1 (RT-0512): objectiveNo 14 "
                                "does not exist (the module has 9 objectives)\n"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("b.qdb"))));
    }

private:
    // pack -> dump -> files -> read -> pack gives the same bytes.
    static void checkRoundTrip(const ModuleSource &source)
    {
        const QByteArray archive = packModule(source);
        QString error;
        const auto dumped = dumpArchive(archive, &error);
        QVERIFY2(dumped, qPrintable(error));
        QCOMPARE(dumped->warnings, QStringList());
        QMap<QString, QByteArray> files = sourceFiles(dumped->source);
        for (const QString &name : source.availableFiles.value_or(QSet<QString>()))
            files.insert(QStringLiteral("files/") + name, QByteArray());
        QStringList errors;
        const auto reread = readSourceFiles(files, &errors);
        QVERIFY2(reread, qPrintable(errors.join(u'\n')));
        QCOMPARE(validateModule(*reread), QStringList());
        QVERIFY(packModule(*reread) == archive);
    }
};

QTEST_GUILESS_MAIN(TestQdbpack)
#include "tst_qdbpack.moc"
