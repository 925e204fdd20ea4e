#include "tools/qdbimport/BankCommands.h"
#include "tools/qdbimport/BankImport.h"
#include "tools/qdbimport/BankText.h"
#include "tools/qdbpack/ModuleDump.h"
#include "tools/qdbpack/ModuleValidation.h"
#include "tools/qdbpack/SourceReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString fixtures = QStringLiteral(QUENDRA_IMPORT_FIXTURES);

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::optional<ImportedModule> importFixture(const QString &name)
{
    QString error;
    auto module = importBanks({{name, contentOf(fixtures + u'/' + name), fixtures}}, {}, &error);
    if (!module)
        qWarning("%s", qPrintable(error));
    return module;
}

QString oneLine(QString text)
{
    return text.replace(u'\n', u"\\n"_s);
}

// A question as lines to compare: its type, objective and text, its rows (* marks a
// correct choice), targets, files and explanation.
QStringList describe(const QuestionBank &bank, const Question &question,
                     const QMap<QString, QByteArray> &files)
{
    QStringList lines = {u"%1 type %2 objective %3: %4"_s.arg(question.questionCode.trimmed())
                             .arg(question.questionType)
                             .arg(question.objectiveNo)
                             .arg(oneLine(question.questionText))};
    int row = 0;
    for (const ChoiceRow &choice : bank.choiceRows) {
        if (choice.questionId != question.questionId)
            continue;
        const bool keyed = question.questionType <= MultipleAnswers;
        const QString mark = !keyed ? u"="_s : (question.answerKey >> row) & 1 ? u"*"_s : u"-"_s;
        lines.append(u"  %1 %2"_s.arg(mark, choice.text));
        ++row;
    }
    for (const DndRow &target : bank.dndRows) {
        if (target.questionId == question.questionId)
            lines.append(u"  target \"%1\" takes %2 at %3,%4 %5x%6"_s.arg(target.text)
                             .arg(target.correctSource)
                             .arg(target.targetLeft)
                             .arg(target.targetTop)
                             .arg(target.targetWidth)
                             .arg(target.targetHeight));
    }
    if (!question.diagramFile.isEmpty())
        lines.append(u"  diagram %1 (%2 bytes)"_s.arg(question.diagramFile)
                         .arg(files.value(question.diagramFile).size()));
    if (!question.exhibitFile.isEmpty())
        lines.append(u"  exhibit %1: %2"_s.arg(
            question.exhibitFile, oneLine(QString::fromUtf8(files.value(question.exhibitFile)))));
    if (!question.explanation.isEmpty())
        lines.append(u"  explanation: "_s + oneLine(question.explanation));
    if (!question.reference.isEmpty())
        lines.append(u"  reference: "_s + question.reference);
    return lines;
}

// Imports with the command and packs the folder as the build packs a module; returns the
// database, or an empty path after a failed check.
QString importAndPack(const QString &bank, const QString &folder)
{
    QString report;
    QTextStream out(&report);
    const QString source = folder + u"/source"_s;
    if (runImport({bank, u"--to"_s, source}, out, out) != 0) {
        qWarning("%s", qPrintable(report));
        return {};
    }
    QStringList problems;
    const auto read = readModuleFolder(source, &problems);
    if (!read || !validateModule(*read).isEmpty())
        return {};
    copyQuestionFiles(read->bank, source + u"/files"_s, folder + u"/Module"_s);
    QFile file(folder + u"/Module/m.qdb"_s);
    if (!file.open(QIODevice::WriteOnly) || !file.write(packModule(*read)))
        return {};
    return file.fileName();
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each fixture holds every mapping rule of its format; its .expected file lists the
    // report, then each objective and question of the module.
    void mapping_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("GIFT") << u"rules.gift"_s;
        QTest::newRow("Moodle XML") << u"rules.xml"_s;
        QTest::newRow("Aiken, Windows-1252") << u"rules.txt"_s;
    }
    void mapping()
    {
        QFETCH(QString, name);
        const auto module = importFixture(name);
        QVERIFY(module);
        QCOMPARE(validateModule(module->source), QStringList());
        const QuestionBank &bank = module->source.bank;
        QStringList lines = module->report;
        for (const Objective &objective : bank.objectives)
            lines.append(
                u"objective %1: %2"_s.arg(objective.objectiveNo).arg(objective.objectiveName));
        for (const Question &question : bank.questions)
            lines += describe(bank, question, module->files);
        const QString expected =
            QString::fromUtf8(contentOf(fixtures + u'/' + name + u".expected"_s));
        QCOMPARE(lines, expected.trimmed().split(u'\n'));
    }

    void malformed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *tag, const char *name, const char *content,
                            const char *message) {
            QTest::newRow(tag) << QString::fromUtf8(name) << QByteArray(content)
                               << QString::fromUtf8(message);
        };
        row("unknown format", "notes.txt", "Just some notes.\n",
            "notes.txt: cannot tell the format (GIFT, Moodle XML or Aiken); name it with --format");
        row("GIFT open brace", "b.gift", "::Q1::Text {=a ~b}\n\n::Q2::Text\n{=a ~b\n",
            "b.gift:4: unbalanced braces: \"{\" has no closing \"}\"");
        row("GIFT second block", "b.gift", "Text {=a ~b}\nmore {=c}\n",
            "b.gift:2: a question has one answer block, this is a second");
        row("GIFT open name", "b.gift", "// c\n::Q1 Text {=a ~b}\n",
            "b.gift:2: the question name after \"::\" has no closing \"::\"");
        row("GIFT answers", "b.gift", "Text {a b}\n",
            "b.gift:1: the answers must start with \"=\" or \"~\"");
        row("GIFT number", "b.gift", "Text {#twelve}\n",
            "b.gift:1: numerical answer \"twelve\" is not a number");
        row("GIFT pair", "b.gift", "Text {=a -> 1 =b}\n",
            "b.gift:1: matching pair \"b\" has no \"->\"");
        row("GIFT weight", "b.gift", "Text {~%half%a ~b}\n",
            "b.gift:1: the weight of answer \"%half%a\" is not a percentage");
        row("XML syntax", "b.xml", "<?xml version=\"1.0\"?>\n<quiz>\n<question>\n</quiz>\n",
            "b.xml:4:7: invalid XML: Opening and ending tag mismatch.");
        row("XML root", "b.xml", "<?xml version=\"1.0\"?>\n<questions/>\n",
            "b.xml:2: the file holds <questions>, not a <quiz>");
        row("XML drop", "b.xml",
            "<quiz><question type=\"ddimageortext\"><drag><text>A</text></drag>\n"
            "<drop><no>1</no><choice>2</choice></drop></question></quiz>",
            "b.xml:2: drop zone 1 takes drag item 2, but the question has 1");
        row("XML base64", "b.xml",
            "<quiz><question type=\"multichoice\"><questiontext><text>A</text>\n"
            "<file name=\"a.png\" encoding=\"base64\">*</file></questiontext></question></quiz>",
            "b.xml:2: file \"a.png\" is not valid base64");
        row("Aiken key", "b.txt", "Q?\nA. x\nB. y\nANSWER: C\n",
            "b.txt:4: the answer \"C\" is none of the choices AB");
        row("Aiken no key", "b.txt", "Q?\nA. x\nANSWER: A\n\nQ2?\nA) x\nB) y\n",
            "b.txt:5: the question has no ANSWER line");
        row("Aiken stray line", "b.txt", "Q?\nA. x\nB. y\nmore text\nANSWER: A\n",
            "b.txt:4: \"more text\" is neither a choice (\"A. ...\") nor the ANSWER line");
    }
    void malformed()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QString error;
        QVERIFY(!importBanks({{name, content, {}}}, {}, &error));
        QCOMPARE(error, message);
    }

    void htmlToText_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *html, const char *text) {
            QTest::newRow(html) << QString::fromUtf8(html) << QString::fromUtf8(text);
        };
        row("  spaced \t out\n text ", "spaced out text");
        row("a&nbsp;&nbsp;b", "a  b");
        row("<p>One</p>\n<p dir=\"ltr\">Two<br></p>", "One\n\nTwo");
        row("line<br/>next<BR>last<br><br><br>end", "line\nnext\nlast\n\n\nend");
        row("<ul><li>a</li><li>b</li></ul>after", "- a\n- b\nafter");
        row("x &lt;y&gt; &amp; &#233;&#xE9;&eacute; &unknown; & 3 < 4",
            "x <y> & \u00e9\u00e9\u00e9 &unknown; & 3 < 4");
        row("a <!-- <b>hidden</b> --> b<script>alert(1)</script>", "a b");
        row("before<pre>\n  code\n\n  more</pre>after", "before\n  code\n\n  more\nafter");
        row("<table><tr><td>1</td><td>2</td></tr></table>", "1 2");
    }
    void htmlToText()
    {
        QFETCH(QString, html);
        QFETCH(QString, text);
        QCOMPARE(toPlainText(html, TextFormat::Html).text, text);
    }

    // Text a module holds comes back unchanged from the HTML and the GIFT the export writes.
    void textSurvivesExport_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("spaces") << u" two  spaces,\n  indented"_s;
        QTest::newRow("markup") << u"<b>not bold</b> &amp; {=~#:} \\n"_s;
        QTest::newRow("blank lines") << u"a\n\n\nb\n \n// not a comment"_s;
    }
    void textSurvivesExport()
    {
        QFETCH(QString, text);
        BankQuestion question;
        question.name = u"Q"_s;
        question.kind = BankQuestionKind::ShortAnswer;
        question.text = text;
        question.exhibit = text;
        question.answers = {{u"x"_s, 100, 0}};
        const ParsedBank parsed = parseGift(writeGift({question}));
        QVERIFY(!parsed.error);
        QCOMPARE(parsed.questions.value(0).exhibit, text);
        QCOMPARE(parsed.questions.value(0).text, text);
    }

    // Fixture -> module -> database -> export -> import gives the same objectives and
    // questions for every type the format carries both ways.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("exported");
        QTest::newRow("GIFT") << u"rules.gift"_s << u"back.gift"_s;
        QTest::newRow("Moodle XML") << u"rules.xml"_s << u"back.xml"_s;
        QTest::newRow("GIFT as XML") << u"rules.gift"_s << u"back.xml"_s;
    }
    void roundTrip()
    {
        QFETCH(QString, name);
        QFETCH(QString, exported);
        const auto first = importFixture(name);
        QVERIFY(first);
        QTemporaryDir dir;
        const QString database = importAndPack(fixtures + u'/' + name, dir.path());
        QVERIFY(!database.isEmpty());
        QString report;
        QTextStream out(&report);
        const QString back = dir.filePath(exported);
        QCOMPARE(runExport({database, u"--to"_s, back}, out, out), 0);

        QString error;
        const auto second = importBanks({{exported, contentOf(back), dir.path()}}, {}, &error);
        QVERIFY2(second, qPrintable(error));
        const QuestionBank &before = first->source.bank;
        const QuestionBank &after = second->source.bank;
        QCOMPARE(after.objectives, before.objectives);
        QCOMPARE(after.questions, before.questions);
        QCOMPARE(after.choiceRows, before.choiceRows);
        QCOMPARE(after.dndRows, before.dndRows);
        QCOMPARE(second->files, first->files);
    }

    // Banks written in other hands go the whole road: import, pack, and load through the
    // program's own reader and bank check, with the right answers.
    void foreignBanksLoad_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("GIFT, CRLF")
            << u"campus-lan.gift"_s << u"SW-05"_s
            << QStringList{u"SW-05 type 4 objective 2: PC1 is 10.10.20.37/27. Type the first "
                           u"usable host address of its subnet\\n(this is the gateway)."_s,
                           u"  = 10"_s, u"  = 10"_s, u"  = 20"_s, u"  = 33"_s};
        QTest::newRow("Moodle XML, onto image")
            << u"routing-moodle.xml"_s << u"RT-201"_s
            << QStringList{
                   u"RT-201 type 6 objective 2: Drag each device to its place in the topology."_s,
                   u"  = Edge router"_s,
                   u"  = ISP router"_s,
                   u"  = Server farm"_s,
                   u"  = Printer"_s,
                   u"  target \"\" takes 1 at 450,450 1560x465"_s,
                   u"  target \"\" takes 2 at 4650,450 1560x465"_s,
                   u"  target \"\" takes 3 at 2550,3450 1560x465"_s,
                   u"  diagram campus.png (1477 bytes)"_s,
                   u"  explanation: The firewall sits between the two routers."_s};
        QTest::newRow("Aiken")
            << u"security-aiken.txt"_s << u"Q0002"_s
            << QStringList{u"Q0002 type 1 objective 1: Which port does SNMP use for traps?"_s,
                           u"  - 161"_s, u"  * 162"_s, u"  - 443"_s, u"  - 514"_s};
    }
    void foreignBanksLoad()
    {
        QFETCH(QString, name);
        QFETCH(QString, code);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        const QString database = importAndPack(fixtures + u'/' + name, dir.path());
        QVERIFY(!database.isEmpty());
        QString error;
        const auto loaded = dumpArchive(contentOf(database), &error);
        QVERIFY2(loaded, qPrintable(error));
        const QuestionBank &bank = loaded->source.bank;
        QMap<QString, QByteArray> files;
        for (const QString &file : QDir(dir.filePath(u"Module"_s)).entryList(QDir::Files))
            files.insert(file, contentOf(dir.filePath(u"Module/"_s + file)));
        const auto question =
            std::find_if(bank.questions.begin(), bank.questions.end(),
                         [&](const Question &q) { return q.questionCode.trimmed() == code; });
        QVERIFY(question != bank.questions.end());
        QCOMPARE(describe(bank, *question, files), expected);
    }

    void commandWritesNothingOnError()
    {
        QTemporaryDir dir;
        const QString bank = dir.filePath(u"bank.gift"_s);
        QFile file(bank);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Q {=a ~b\n");
        file.close();
        QString output;
        QTextStream out(&output);
        const QString target = dir.filePath(u"module"_s);
        QCOMPARE(runImport({bank, u"--to"_s, target}, out, out), 1);
        QCOMPARE(output, u"bank.gift:1: unbalanced braces: \"{\" has no closing "
                         u"\"}\"\n"_s);
        QVERIFY(!QDir(target).exists());

        // A folder that holds something is never written into.
        output.clear();
        QCOMPARE(runImport({bank, u"--to"_s, dir.path()}, out, out), 1);
        QCOMPARE(output, dir.path() + u": exists and is not empty; name a new "
                                      u"folder\n"_s);
        QVERIFY(!runImport({bank}, out, out));
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
