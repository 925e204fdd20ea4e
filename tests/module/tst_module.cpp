// Checks the sample module that the build packs, as a reviewer of its content would: the
// header and objectives, the mix of question types, the files that questions name, the drop
// targets of graphical questions against their drawings, and the simulation tasks.

#include "TestPaths.h"

#include "moduledb/Archive.h"
#include "moduledb/QuestionBank.h"
#include "moduledb/TableReader.h"

#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRect>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <bit>

namespace {

const QString moduleFolder()
{
    return buildDir() + QStringLiteral("/Module/");
}

QString diagramSourcePath(const QString &pictureFile)
{
    QString name = pictureFile;
    name.chop(QStringLiteral(".png").size());
    return QStringLiteral(QUENDRA_SOURCE_DIR "/module/512-330/diagrams/") + name +
           QStringLiteral(".json");
}

template <typename Row> QList<Row> rowsOf(const OneBasedArray<Row> &table, qint16 questionId)
{
    QList<Row> rows;
    for (const Row &row : table) {
        if (row.questionId == questionId)
            rows.append(row);
    }
    return rows;
}

// The command mode a device is in after a command, as prompt numbers: 1 ">", 2 "#",
// 3 "(config)#", 4 "(config-if)#", 5 "(config-router)#", 6 "(config-line)#",
// 7 "(config-vlan)#".
int promptAfter(const QString &command, int prompt)
{
    const QString lower = command.toLower();
    if (lower == QStringLiteral("enable"))
        return 2;
    if (lower == QStringLiteral("disable") || lower == QStringLiteral("end"))
        return prompt == 1 ? 1 : 2;
    if (lower == QStringLiteral("configure terminal"))
        return 3;
    if (lower == QStringLiteral("exit"))
        return prompt > 3 ? 3 : 2;
    if (prompt < 3)
        return prompt;
    if (lower.startsWith(QStringLiteral("interface ")))
        return 4;
    if (lower.startsWith(QStringLiteral("router ")))
        return 5;
    if (lower.startsWith(QStringLiteral("line ")))
        return 6;
    if (prompt == 3 && lower.startsWith(QStringLiteral("vlan ")))
        return 7;
    return prompt;
}

} // namespace

class TestModule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void header();
    void textEntries();
    void objectives();
    void typeMinimums_data();
    void typeMinimums();
    void everyQuestionIsComplete();
    void choiceQuestions();
    void typedAnswers();
    void textDragAndDrop();
    void namedFilesExist();
    void graphicalTargetsCoverTheDrawnSlots();
    void simulationTasks();
    void simulationPromptsFollowTheCommands();

private:
    QList<Question> questionsOfType(int type) const;

    QuestionBank m_bank;
    QList<UnpackedEntry> m_entries;
};

void TestModule::initTestCase()
{
    QFile archive(moduleFolder() + QStringLiteral("512-330.qdb"));
    QVERIFY2(archive.open(QIODevice::ReadOnly), qPrintable(archive.fileName()));
    const ParsedArchive parsed = parseArchive(archive.readAll());
    QVERIFY2(parsed.failure == ArchiveFailure::None, qPrintable(parsed.problem));
    m_entries = parsed.entries;

    QList<TableFile> tables;
    for (const UnpackedEntry &entry : m_entries) {
        if (!isProgramFolderEntry(entry.name))
            tables.append({entry.name, entry.content});
    }
    const std::optional<LoadProblem> problem = loadTables(tables, m_bank);
    QVERIFY2(!problem, problem ? qPrintable(problem->description) : "");
}

QList<Question> TestModule::questionsOfType(int type) const
{
    QList<Question> found;
    for (const Question &question : m_bank.questions) {
        if (question.questionType == type)
            found.append(question);
    }
    return found;
}

void TestModule::header()
{
    const TestInfo &info = m_bank.testInfo;
    QCOMPARE(info.examCode, QStringLiteral("512-330"));
    QVERIFY(!info.examTitle.trimmed().isEmpty());
    QCOMPARE(info.examQuestionCount, qint16(60));
    QCOMPARE(info.passingScore, qint16(825));
    QCOMPARE(info.durationMinutes, qint16(90));
    QVERIFY(!info.dbVersion.isEmpty());
    QVERIFY(!info.dbRelease.isEmpty());
    QVERIFY(info.description.size() > 40);
    QVERIFY(info.notes.size() > 40);
    QCOMPARE(int(info.totalQuestions), m_bank.questions.size());
    QVERIFY(m_bank.questions.size() >= 100);
    QCOMPARE(m_bank.numQuestionsWanted, 60);
}

void TestModule::textEntries()
{
    QVERIFY(!m_entries.isEmpty());
    QVERIFY(!isProgramFolderEntry(m_entries.first().name));
    for (const QString &name : {QStringLiteral("readme.txt"), QStringLiteral("eula.txt")}) {
        const auto entry = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                        [&](const UnpackedEntry &e) { return e.name == name; });
        QVERIFY2(entry != m_entries.cend(), qPrintable(name));
        QVERIFY2(entry->content.size() > 100, qPrintable(name));
    }
}

void TestModule::objectives()
{
    QCOMPARE(int(m_bank.testInfo.numObjectives), 9);
    QCOMPARE(m_bank.objectives.size(), 9);
    for (int i = 1; i <= m_bank.objectives.size(); ++i) {
        const Objective &objective = m_bank.objectives[i];
        const auto count = std::count_if(m_bank.questions.begin(), m_bank.questions.end(),
                                         [&](const Question &q) { return q.objectiveNo == i; });
        QCOMPARE(int(objective.questionCount), int(count));
        QVERIFY2(count >= 8 && count <= 16, qPrintable(objective.objectiveName));
    }
}

void TestModule::typeMinimums_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("minimum");
    QTest::newRow("single answer") << int(SingleAnswer) << 40;
    QTest::newRow("multiple answers") << int(MultipleAnswers) << 15;
    QTest::newRow("typed answer") << int(TypedAnswer) << 8;
    QTest::newRow("typed values") << int(TypedValues) << 8;
    QTest::newRow("text drag-and-drop") << int(TextDragAndDrop) << 8;
    QTest::newRow("graphical drag-and-drop") << int(GraphicalDragAndDrop) << 6;
    QTest::newRow("simulation") << int(Simulation) << 10;
}

void TestModule::typeMinimums()
{
    QFETCH(int, type);
    QFETCH(int, minimum);
    QVERIFY2(questionsOfType(type).size() >= minimum,
             qPrintable(QString::number(questionsOfType(type).size())));
}

void TestModule::everyQuestionIsComplete()
{
    QSet<QString> codes;
    int withExhibit = 0;
    int withDiagram = 0;
    for (const Question &question : m_bank.questions) {
        const QString code = question.questionCode.trimmed();
        QVERIFY2(!code.isEmpty(), qPrintable(QString::number(question.questionId)));
        QVERIFY2(!codes.contains(code), qPrintable(code));
        codes.insert(code);
        QVERIFY2(question.questionText.size() > 20, qPrintable(code));
        QVERIFY2(question.explanation.size() > 40, qPrintable(code));
        QVERIFY2(!question.reference.trimmed().isEmpty(), qPrintable(code));
        withExhibit += !question.exhibitFile.isEmpty();
        withDiagram += !question.diagramFile.isEmpty();
    }
    QVERIFY2(withExhibit >= 15, qPrintable(QString::number(withExhibit)));
    QVERIFY2(withDiagram >= 10, qPrintable(QString::number(withDiagram)));
}

void TestModule::choiceQuestions()
{
    for (const Question &question :
         questionsOfType(SingleAnswer) + questionsOfType(MultipleAnswers)) {
        const QString code = question.questionCode.trimmed();
        const int correct = std::popcount(quint16(question.answerKey));
        if (question.questionType == SingleAnswer) {
            QVERIFY2(correct == 1, qPrintable(code));
            QVERIFY2(question.choiceCount >= 3, qPrintable(code));
        } else {
            QVERIFY2(correct >= 2 && correct <= 4, qPrintable(code));
            QVERIFY2(question.choiceCount >= 4 && question.choiceCount <= 6, qPrintable(code));
        }
        QSet<QString> texts;
        for (const ChoiceRow &row : rowsOf(m_bank.choiceRows, question.questionId))
            texts.insert(row.text.trimmed().toLower());
        QVERIFY2(texts.size() == question.choiceCount,
                 qPrintable(code + QStringLiteral(": repeated choice")));
    }
}

// Typed text is compared whole, ignoring letter case only: a stored answer with outer spaces
// could never be matched.
void TestModule::typedAnswers()
{
    for (const Question &question : questionsOfType(TypedAnswer) + questionsOfType(TypedValues)) {
        const QString code = question.questionCode.trimmed();
        const QList<ChoiceRow> rows = rowsOf(m_bank.choiceRows, question.questionId);
        QCOMPARE(rows.size(), int(question.choiceCount));
        if (question.questionType == TypedAnswer)
            QVERIFY2(rows.size() == 1, qPrintable(code));
        else
            QVERIFY2(rows.size() >= 2, qPrintable(code));
        for (const ChoiceRow &row : rows) {
            QVERIFY2(!row.text.isEmpty(), qPrintable(code));
            QVERIFY2(row.text == row.text.trimmed(), qPrintable(code));
        }
    }
}

void TestModule::textDragAndDrop()
{
    int withDistractorRows = 0;
    for (const Question &question : questionsOfType(TextDragAndDrop)) {
        const QString code = question.questionCode.trimmed();
        const QList<DndRow> rows = rowsOf(m_bank.dndRows, question.questionId);
        QCOMPARE(rows.size(), int(question.answerKey));
        bool distractor = false;
        for (const DndRow &row : rows) {
            QVERIFY2(!row.text.trimmed().isEmpty(), qPrintable(code));
            QVERIFY2(row.correctSource <= question.choiceCount, qPrintable(code));
            distractor |= row.correctSource == 0;
        }
        withDistractorRows += distractor;
    }
    QVERIFY2(withDistractorRows >= 3, qPrintable(QString::number(withDistractorRows)));
}

void TestModule::namedFilesExist()
{
    for (const Question &question : m_bank.questions) {
        const QString code = question.questionCode.trimmed();
        if (!question.exhibitFile.isEmpty()) {
            QFile exhibit(moduleFolder() + question.exhibitFile);
            QVERIFY2(exhibit.open(QIODevice::ReadOnly),
                     qPrintable(code + u' ' + exhibit.fileName()));
            QVERIFY2(exhibit.size() > 0, qPrintable(code));
        }
        if (!question.diagramFile.isEmpty()) {
            QImageReader picture(moduleFolder() + question.diagramFile);
            QVERIFY2(picture.canRead(), qPrintable(code + u' ' + picture.fileName()));
        }
        if (question.questionType == GraphicalDragAndDrop || question.questionType == Simulation)
            QVERIFY2(!question.diagramFile.isEmpty(), qPrintable(code));
    }
}

// The drawing's description holds the slots in pixels; the targets are the same rectangles in
// twips (15 per pixel), in the same order, all of one size, inside the picture and apart.
void TestModule::graphicalTargetsCoverTheDrawnSlots()
{
    for (const Question &question : questionsOfType(GraphicalDragAndDrop)) {
        const QString code = question.questionCode.trimmed();
        const QList<DndRow> targets = rowsOf(m_bank.dndRows, question.questionId);
        QCOMPARE(targets.size(), int(question.answerKey));
        QVERIFY2(!targets.isEmpty(), qPrintable(code));

        const QSize picture = QImageReader(moduleFolder() + question.diagramFile).size();
        QVERIFY2(picture.isValid(), qPrintable(code));
        const QRect pictureTwips(0, 0, picture.width() * 15, picture.height() * 15);

        QFile source(diagramSourcePath(question.diagramFile));
        QVERIFY2(source.open(QIODevice::ReadOnly), qPrintable(code + u' ' + source.fileName()));
        const QJsonObject drawing = QJsonDocument::fromJson(source.readAll()).object();
        QCOMPARE(drawing.value(QStringLiteral("width")).toInt(), picture.width());
        QCOMPARE(drawing.value(QStringLiteral("height")).toInt(), picture.height());
        const QJsonArray slotSize = drawing.value(QStringLiteral("slotSize")).toArray();
        const QSize slotPixels = slotSize.size() == 2
                                     ? QSize(slotSize.at(0).toInt(), slotSize.at(1).toInt())
                                     : QSize(113, 31);
        const QJsonArray drawnSlots = drawing.value(QStringLiteral("slots")).toArray();
        QCOMPARE(drawnSlots.size(), targets.size());

        QList<QRect> placed;
        for (int j = 0; j < targets.size(); ++j) {
            const DndRow &row = targets.at(j);
            const QRect target(row.targetLeft, row.targetTop, row.targetWidth, row.targetHeight);
            const QJsonArray at = drawnSlots.at(j).toObject().value(QStringLiteral("at")).toArray();
            const QRect slot(at.at(0).toInt() * 15, at.at(1).toInt() * 15, slotPixels.width() * 15,
                             slotPixels.height() * 15);
            const QByteArray where = QStringLiteral("%1 target %2").arg(code).arg(j + 1).toUtf8();
            QVERIFY2(target == slot, where.constData());
            QVERIFY2(target.size() ==
                         QSize(targets.first().targetWidth, targets.first().targetHeight),
                     where.constData());
            QVERIFY2(pictureTwips.contains(target), where.constData());
            for (const QRect &other : std::as_const(placed))
                QVERIFY2(!other.intersects(target), where.constData());
            placed.append(target);
            QVERIFY2(row.correctSource <= question.choiceCount, where.constData());
        }
    }
}

void TestModule::simulationTasks()
{
    for (const Question &question : questionsOfType(Simulation)) {
        const QString code = question.questionCode.trimmed();
        const QList<SimRow> tasks = rowsOf(m_bank.simRows, question.questionId);
        QCOMPARE(tasks.size(), int(question.choiceCount));
        QVERIFY2(tasks.size() >= 2 && tasks.size() <= 5, qPrintable(code));
        for (const SimRow &task : tasks) {
            const QByteArray where =
                QStringLiteral("%1 task %2").arg(code).arg(task.rowNo).toUtf8();
            QVERIFY2(!task.expectedCommand.isEmpty(), where.constData());
            QVERIFY2(task.expectedCommand == task.expectedCommand.trimmed(), where.constData());
            QVERIFY2(!task.expectedCommand.contains(QStringLiteral("  ")), where.constData());
            QVERIFY2(!task.taskText.trimmed().isEmpty(), where.constData());
            QVERIFY2(!task.hostName.isEmpty(), where.constData());
            QVERIFY2(m_bank.prompts.contains(task.promptNo), where.constData());
            // A show command always prints something.
            if (task.expectedCommand.startsWith(QStringLiteral("show ")))
                QVERIFY2(!task.response.isEmpty(), where.constData());
        }
    }
}

// Each task's prompt is the mode the previous command left the device in, and a host name
// command renames the prompt of the tasks after it.
void TestModule::simulationPromptsFollowTheCommands()
{
    for (const Question &question : questionsOfType(Simulation)) {
        const QString code = question.questionCode.trimmed();
        const QList<SimRow> tasks = rowsOf(m_bank.simRows, question.questionId);
        for (int i = 1; i < tasks.size(); ++i) {
            const SimRow &before = tasks.at(i - 1);
            const SimRow &task = tasks.at(i);
            const QByteArray where = QStringLiteral("%1 task %2").arg(code).arg(i + 1).toUtf8();
            QVERIFY2(int(task.promptNo) == promptAfter(before.expectedCommand, before.promptNo),
                     where.constData());
            const QString renamed = before.expectedCommand.startsWith(QStringLiteral("hostname "))
                                        ? before.expectedCommand.mid(9)
                                        : before.hostName;
            QVERIFY2(task.hostName == renamed, where.constData());
        }
    }
}

QTEST_GUILESS_MAIN(TestModule)
#include "tst_module.moc"
