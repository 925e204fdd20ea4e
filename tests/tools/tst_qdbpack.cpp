#include "TestPaths.h"
#include "tests/moduledb/SampleModule.h"
#include "tools/qdbpack/ModuleDump.h"
#include "tools/qdbpack/ModuleLint.h"
#include "tools/qdbpack/ModuleValidation.h"
#include "tools/qdbpack/SourceReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

using Files = QMap<QString, QByteArray>;
using Change = std::function<void(ModuleSource &)>;

namespace {

const QString questionFile = u"questions/00-questions.json"_s;

// The small sample module as a source, its graphical question's picture in files/.
ModuleSource sampleSource()
{
    ModuleSource source;
    source.bank = sampleBank();
    for (Question &question : source.bank.questions) {
        question.questionCode = question.questionCode.trimmed();
        source.questionFiles.append(questionFile);
    }
    source.bank.questions[6].diagramFile = u"g.png"_s;
    return source;
}

// The source folder of a module, as the dump writes it.
Files filesOf(const ModuleSource &source)
{
    Files files = sourceFiles(source);
    files.insert(u"files/g.png"_s, {});
    return files;
}

// The sample with nothing for a reviewer to flag.
ModuleSource quietSource()
{
    ModuleSource source = sampleSource();
    source.bank.questions[2].questionText = u"Which two? (Choose two.)"_s;
    for (Question &question : source.bank.questions)
        question.reference = u"RFC 791"_s;
    return source;
}

// Appends a choice question for each key, "A" (single answer) or "AC" (multiple answers),
// among four choices alike; the keys of the first longKeys questions are longer.
void addChoiceQuestions(ModuleSource &source, const QString &keys, int longKeys = 0)
{
    for (const QString &letters : keys.split(u' ')) {
        Question question = source.bank.questions[1];
        question.questionId = qint16(source.bank.questions.size() + 1);
        question.questionCode = u"QY-%1"_s.arg(question.questionId);
        question.questionType = letters.size() == 1 ? SingleAnswer : MultipleAnswers;
        question.questionText = u"Which? (Choose %1.)"_s.arg(letters.size());
        question.answerKey = 0;
        for (QChar letter : letters)
            question.answerKey |= qint16(1 << (letter.unicode() - u'A'));
        source.bank.questions.append(question);
        source.questionFiles.append(questionFile);
        for (quint8 row = 1; row <= 4; ++row) {
            const bool longer = (question.answerKey >> (row - 1) & 1) && longKeys > 0;
            source.bank.choiceRows.append(
                {question.questionId, row, longer ? u"Choice, longer"_s : u"Choice"_s, 0});
        }
        --longKeys;
    }
}

} // namespace

class TestQdbpack : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void badSourcesAreRefused_data()
    {
        QTest::addColumn<Files>("files");
        QTest::addColumn<QStringList>("messages");
        // The sample with one change, through the source files the dump writes.
        const auto changed = [](const char *name, const Change &change,
                                const QStringList &messages) {
            ModuleSource source = sampleSource();
            change(source);
            QTest::newRow(name) << filesOf(source) << messages;
        };
        // A question file of its own: the question is number 8.
        const auto added = [](const char *name, const QByteArray &questions,
                              const QString &message) {
            Files files = filesOf(sampleSource());
            files.insert(u"questions/10-added.json"_s, questions);
            QTest::newRow(name) << files << QStringList{message};
        };
        const QString q = questionFile + u": question %1 (QX-000%1): "_s;

        changed("objectives over capacity",
                [](ModuleSource &s) {
                    s.bank.objectives.fill(51, {1, u"O"_s, 0});
                    s.bank.testInfo.numObjectives = 51;
                },
                {u"module.json: objectives: 51 objectives, the most a module may hold is 50"_s});
        changed("objective without questions",
                [](ModuleSource &s) {
                    for (int q : {3, 4, 6})
                        s.bank.questions[q].objectiveNo = 1;
                    s.bank.objectives[1].questionCount = 7;
                    s.bank.objectives[2].questionCount = 0;
                },
                {u"module.json: objective 2 (IP Addressing): no question belongs to it"_s});
        changed("code used twice",
                [](ModuleSource &s) { s.bank.questions[5].questionCode = u"QX-0002"_s; },
                {questionFile +
                 u": question 5 (QX-0002): questionCode \"QX-0002\" is also the code "_s
                 u"of question 2"_s});
        changed("text outside Windows-1252",
                [](ModuleSource &s) { s.bank.questions[3].questionText = u"A \u2192 B"_s; },
                {q.arg(3) + u"questionText: character \"\u2192\" (U+2192) cannot be written in "_s
                            u"Windows-1252"_s});
        // The program shows at most 10 choices or drag-and-drop items; so does the packer.
        changed(
            "more than 10 choices or items",
            [](ModuleSource &s) {
                for (quint8 row = 4; row <= 11; ++row) {
                    if (row > 4)
                        s.bank.choiceRows.append({2, row, QString::number(row), 0});
                    s.bank.choiceRows.append({5, row, u"Item %1"_s.arg(row), 0});
                }
                s.bank.questions[2].choiceCount = s.bank.questions[5].choiceCount = 11;
            },
            {q.arg(2) + u"11 choices, the most is 10"_s, q.arg(5) + u"11 items, the most is 10"_s});
        changed("choice repeated", [](ModuleSource &s) { s.bank.choiceRows[6].text = u"a "_s; },
                {q.arg(2) + u"choice 3: text repeats choice 1"_s});
        changed("typed answer with a space",
                [](ModuleSource &s) { s.bank.choiceRows[8].text = u"ping "_s; },
                {q.arg(3) +
                 u"answer 1: text \"ping \" has spaces at an end, which typing never matches"_s});
        changed("graphical targets overlap",
                [](ModuleSource &s) { s.bank.dndRows[4].targetLeft = 1000; },
                {q.arg(6) + u"target 2: overlaps target 1"_s});
        changed("missing picture",
                [](ModuleSource &s) { s.bank.questions[6].diagramFile = u"h.png"_s; },
                {q.arg(6) + u"diagramFile \"h.png\" is not in files/"_s});
        changed("file name with a folder",
                [](ModuleSource &s) { s.bank.questions[1].exhibitFile = u"../e.txt"_s; },
                {q.arg(1) + u"exhibitFile \"../e.txt\" must be a file name without a folder"_s});
        // The picture drawn from diagrams/g.json has its second slot one pixel lower.
        Files drawn = filesOf(sampleSource());
        drawn.remove(u"files/g.png"_s);
        drawn.insert(u"diagrams/g.json"_s,
                     R"({"width": 400, "height": 100, "slots": [{"name": "a", "at": [20, 30]},
                         {"name": "b", "at": [200, 31]}]})");
        QTest::newRow("target off its drawn slot")
            << drawn
            << QStringList{q.arg(6) +
                           u"target 2: left 3000, top 450, width 1695, height 465 "_s
                           u"differ from slot 2 of diagrams/g.json (3000, 465, 1695, 465)"_s};
        const QString a = u"questions/10-added.json: question 8 (A-1): "_s;
        added("missing field", R"({"questions": [{"questionCode": "A-1", "objectiveNo": 1,
                  "questionType": 3, "answer": "x"}]})",
              a + u"questionText is missing"_s);
        added("not JSON", R"({"questions": [})",
              u"questions/10-added.json: object is missing after a comma at byte 16"_s);
    }
    void badSourcesAreRefused()
    {
        QFETCH(Files, files);
        QFETCH(QStringList, messages);
        QStringList errors;
        const auto source = readSourceFiles(files, &errors);
        if (source)
            errors = validateModule(*source);
        QCOMPARE(errors, messages);
    }

    // Each rule fires on what it is meant to catch and stays quiet on a near miss.
    void lintFlagsWhatReviewersFlag_data()
    {
        QTest::addColumn<ModuleSource>("source");
        QTest::addColumn<QStringList>("warnings");
        const auto row = [](const char *name, const QStringList &warnings, const Change &change) {
            ModuleSource source = quietSource();
            change(source);
            QTest::newRow(name) << source << warnings;
        };
        const QString q = questionFile + u": question %1 (QX-000%1): "_s;
        const QString bank = u"questions/: "_s;
        // Choice rows 1 to 3 are question 1's (key: 2), 4 to 7 question 2's (keys: 4, 6).
        const auto lengths = [](ModuleSource &s, const QList<int> &lengthOfRow) {
            for (int i = 0; i < lengthOfRow.size(); ++i)
                s.bank.choiceRows[i + 1].text = QString(lengthOfRow[i], QChar(u'a' + i));
        };
        const QString twentySingle = u"A B C D A B C D A B C D A B C D A B C"_s;

        row("keys 25 % and 15 characters longer",
            {q.arg(1) + u"the key (75 characters) is much longer than every wrong choice "_s
                        u"(at most 60)"_s,
             q.arg(2) + u"the shortest key (16 characters) is much longer than every wrong "_s
                        u"choice (at most 1)"_s},
            [&](ModuleSource &s) {
                lengths(s, {60, 75, 1, 16, 1, 16, 1});
            });
        row("keys 24 % or 14 characters longer", {}, [&](ModuleSource &s) {
            lengths(s, {100, 124, 1, 15, 1, 16, 1});
        });
        row("key the longest in 8 of 20 single-answer questions",
            {bank + u"the key is the longest choice in 8 of 20 single-answer questions (40 %), "_s
                    u"more than 35 %"_s},
            [&](ModuleSource &s) { addChoiceQuestions(s, twentySingle, 7); });
        row("key the longest in 7 of 20", {},
            [&](ModuleSource &s) { addChoiceQuestions(s, twentySingle, 6); });
        row("key the longest in 2 of 20",
            {bank + u"the key is the longest choice in 2 of 20 single-answer questions (10 %), "_s
                    u"less than 15 %"_s},
            [&](ModuleSource &s) { addChoiceQuestions(s, twentySingle, 1); });
        row("key the longest in 3 of 20", {},
            [&](ModuleSource &s) { addChoiceQuestions(s, twentySingle, 2); });
        row("keys at the top of multiple-answer items",
            {bank + u"choice A is a key in 6 of 6 multiple-answer questions (100 %), more than "_s
                    u"60 %"_s,
             bank + u"the keys are the first choices (A, B, ...) in 2 of 6 multiple-answer "_s
                    u"questions (33 %), more than 25 %"_s},
            [](ModuleSource &s) { addChoiceQuestions(s, u"AB AB AD AD AD"_s); });
        row("keys at the top of 60 % and 25 % of multiple-answer items", {}, [](ModuleSource &s) {
            addChoiceQuestions(s, u"AB AB AB AB AB AD AD AD AD AD AD BC BC BC BC BC BC BC BC"_s);
        });
        row("single-answer keys at one place",
            {bank + u"choice A is the key in 7 of 8 single-answer questions (88 %), more than "_s
                    u"40 %"_s},
            [](ModuleSource &s) { addChoiceQuestions(s, u"A A A A A A A"_s); });
        row("single-answer keys at one place for 40 %", {},
            [](ModuleSource &s) { addChoiceQuestions(s, u"A A A A B C C D D"_s); });
        const auto dropOrder = [](ModuleSource &s, quint8 third, quint8 fourth) {
            s.bank.dndRows.append({5, 3, third, u"Connectionless"_s, 0, 0, 0, 0});
            s.bank.dndRows.append({5, 4, fourth, u"Diagnostics"_s, 0, 0, 0, 0});
        };
        row("items in the order of their targets",
            {q.arg(5) + u"the items are listed in the order of the targets they belong on"_s},
            [&](ModuleSource &s) { dropOrder(s, 2, 3); });
        row("items in another order", {}, [&](ModuleSource &s) { dropOrder(s, 3, 2); });
        row("stems alike",
            {q.arg(4) + u"questionText is nearly that of question 3 (QX-0003): 100 % of their "_s
                        u"words are shared"_s},
            [](ModuleSource &s) {
                s.bank.questions[3].questionText = u"Refer to the exhibit. Which OSPF hello "_s
                                                   u"and dead timers match on an Ethernet link?"_s;
                s.bank.questions[4].questionText =
                    u"Which OSPF hello and dead timers match on an Ethernet link?"_s;
            });
        row("stems sharing 36 % of their words", {}, [](ModuleSource &s) {
            s.bank.questions[3].questionText =
                u"Which OSPF hello and dead timers match on an Ethernet link?"_s;
            s.bank.questions[4].questionText =
                u"Which OSPF hello timers apply on a serial point-to-point link by default?"_s;
        });
        row("numbers to choose",
            {q.arg(1) + u"questionText says \"Choose two\", but a single-answer question takes "_s
                        u"one choice"_s,
             q.arg(2) + u"questionText says \"Choose THREE\", but 2 choices are correct"_s,
             questionFile + u": question 8 (QY-8): questionText does not say how many to choose "_s
                            u"(\"Choose two.\")"_s},
            [](ModuleSource &s) {
                s.bank.questions[1].questionText = u"Which one? (Choose two.)"_s;
                s.bank.questions[2].questionText = u"Which? Choose THREE."_s;
                addChoiceQuestions(s, u"AB"_s);
                s.bank.questions[8].questionText = u"Which two?"_s;
            });
        row("number to choose in digits", {},
            [](ModuleSource &s) { s.bank.questions[2].questionText = u"Which? (choose 2)"_s; });
        row("choice named by its position",
            {q.arg(1) + u"explanation names a choice by its position (\"Option B\"), which "_s
                        u"shuffling changes"_s},
            [](ModuleSource &s) { s.bank.questions[1].explanation = u"Option B is right."_s; });
        row("option named by its number", {}, [](ModuleSource &s) {
            s.bank.questions[1].explanation = u"DHCP option 82 is (a) the first hop's."_s;
            s.bank.questions[3].explanation = u"The first answer (A) is right."_s;
        });
        row("spellings mixed",
            {q.arg(7) + u"task 1: taskText: \"neighbours\": the module writes \"neighbor\" "_s
                        u"2 times and \"neighbour\" once"_s,
             q.arg(5) + u"target 1: text: \"internet\" is a name: \"Internet\""_s},
            [](ModuleSource &s) {
                s.bank.questions[1].explanation = u"OSPF neighbors synchronize."_s;
                s.bank.questions[2].explanation = u"Both neighbors are listed."_s;
                s.bank.simRows[1].taskText = u"Show the neighbours."_s;
                s.bank.dndRows[1].text = u"Reaches the internet"_s;
            });
        row("spellings of one variety", {}, [](ModuleSource &s) {
            s.bank.questions[1].explanation = u"Neighbors synchronized, colors analyzed."_s;
            s.bank.questions[2].explanation = u"The analysis of Internet traffic."_s;
        });
        row("references citing no document",
            {q.arg(1) + u"reference is empty"_s, q.arg(2) + u"reference cites no standard"_s},
            [](ModuleSource &s) {
                s.bank.questions[1].reference.clear();
                s.bank.questions[2].reference = u"Chapter 4, RFCs"_s;
            });
        row("references citing documents", {}, [](ModuleSource &s) {
            s.bank.questions[1].reference = u"IEEE 802.1Q"_s;
            s.bank.questions[2].reference = u"ITU-T G.711"_s;
        });
    }
    void lintFlagsWhatReviewersFlag()
    {
        QFETCH(ModuleSource, source);
        QFETCH(QStringList, warnings);
        QCOMPARE(lintModule(source), warnings);
    }

    // pack -> dump -> source files -> read -> pack gives the same bytes, whatever the
    // archive's settings, and the values the files leave out are derived as they were (the
    // sample module goes this way on the command line).
    void packDumpPackIsTheSame()
    {
        ModuleSource source = sampleSource();
        source.entryPrefix = u"m1"_s;
        source.entryExtension = u"bin"_s;
        source.layout = {"\x01\x02\x03", "Caf\xe9", "", 7, false};
        source.reserved = QByteArray(reservedBytes, '\x5a');
        source.bank.choiceRows[1].spare = 77;
        source.bank.choiceRows[8].spare = -3;
        source.textEntries.append(TextEntry{u"README.TXT"_s, "read me"});
        const QByteArray archive = packModule(source);
        QString error;
        const auto dumped = dumpArchive(archive, &error);
        QVERIFY2(dumped, qPrintable(error));
        QCOMPARE(dumped->warnings, QStringList());
        QStringList errors;
        const auto reread = readSourceFiles(filesOf(dumped->source), &errors);
        QVERIFY2(reread, qPrintable(errors.join(u'\n')));
        QCOMPARE(validateModule(*reread), QStringList());
        QVERIFY(packModule(*reread) == archive);
    }

    // What does not load does not dump; what the source cannot carry is a warning.
    void dumpReadsAsTheProgramLoads_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("warning");
        QTest::newRow("no entries")
            << QByteArray::fromHex("00000000") << u"The archive holds no entries."_s << QString();
        ModuleSource wrongCount = sampleSource();
        wrongCount.bank.objectives[2].questionCount = 9;
        QTest::newRow("refused bank")
            << packModule(wrongCount)
            << u"Objective 2 counts 9 questions, but 3 questions belong to it."_s << QString();
        QList<ArchiveEntry> entries = bankEntries(sampleBank());
        entries.prepend(ArchiveEntry{"readme.txt", "Read me."});
        QTest::newRow("readme first") << packArchive(entries, ArchiveLayout())
                                      << u"the entries do not load as they stand (a text entry "
                                         "comes first, or two entries have the same name)"_s
                                      << QString();
        entries.move(0, 8);
        entries.swapItemsAt(1, 2);
        QTest::newRow("tables out of order")
            << packArchive(entries, ArchiveLayout()) << QString()
            << u"packing the dumped source does not give the same archive"_s;
    }
    void dumpReadsAsTheProgramLoads()
    {
        QFETCH(QByteArray, archive);
        QFETCH(QString, error);
        QFETCH(QString, warning);
        QString problem;
        const auto dumped = dumpArchive(archive, &problem);
        QCOMPARE(problem, error);
        QCOMPARE(dumped ? dumped->warnings.join(u'\n').left(warning.size()) : QString(), warning);
    }

    void commandLine()
    {
        if (buildDir().isEmpty())
            QSKIP("QUENDRA_BUILD_DIR names the build with qdbpack and the packed sample module.");
        const QString qdbpack = QDir(buildDir()).filePath(u"qdbpack"_s);
        const QString built = QDir(buildDir()).filePath(u"Module/512-330.qdb"_s);
        QTemporaryDir dir;
        const auto run = [&](const QStringList &arguments) {
            QProcess process;
            process.start(qdbpack, arguments);
            process.waitForFinished();
            return std::pair(process.exitCode(), QString::fromUtf8(process.readAllStandardError()));
        };
        // The sample module dumps beside its pictures and packs again as it was.
        const QString dumped = dir.filePath(u"dumped"_s);
        const QString repacked = dir.filePath(u"repacked.qdb"_s);
        QCOMPARE(run({u"dump"_s, built, dumped}), std::pair(0, QString()));
        QCOMPARE(run({u"pack"_s, dumped, repacked}).first, 0);
        QFile original(built);
        QFile again(repacked);
        QVERIFY(original.open(QIODevice::ReadOnly) && again.open(QIODevice::ReadOnly));
        QVERIFY(again.readAll() == original.readAll());

        // A refused source: the problem on stderr, a failing exit status, no archive.
        const QString missing = dir.filePath(u"missing"_s);
        QCOMPARE(run({u"pack"_s, missing, dir.filePath(u"refused.qdb"_s)}),
                 std::pair(1, missing + u": no such folder\n"_s));
        QVERIFY(!QFile::exists(dir.filePath(u"refused.qdb"_s)));

        // A source with a warning: lint fails, pack prints the warning and packs.
        ModuleSource warned = quietSource();
        warned.bank.questions[1].reference.clear();
        const QString source = dir.filePath(u"warned"_s);
        QString error;
        QVERIFY2(writeSourceFiles(filesOf(warned), source, &error), qPrintable(error));
        const QString warning =
            u"warning: "_s + questionFile + u": question 1 (QX-0001): reference is empty\n"_s;
        QCOMPARE(run({u"lint"_s, source}), std::pair(1, warning));
        QCOMPARE(run({u"pack"_s, source, dir.filePath(u"warned.qdb"_s)}), std::pair(0, warning));
        QCOMPARE(run({u"pack"_s, source, dir.filePath(u"quiet.qdb"_s), u"--no-lint"_s}),
                 std::pair(0, QString()));
        QVERIFY(QFile::exists(dir.filePath(u"warned.qdb"_s)));
    }
};

QTEST_GUILESS_MAIN(TestQdbpack)
#include "tst_qdbpack.moc"
