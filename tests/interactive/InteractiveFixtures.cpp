#include "InteractiveFixtures.h"

#include "TestPaths.h"

#include "engine/InitTest.h"
#include "moduledb/Archive.h"
#include "moduledb/TableReader.h"

#include <QFile>

namespace {

Question question(qint16 id, quint8 type, quint8 choiceCount, qint16 answerKey, const QString &text)
{
    Question q;
    q.questionId = id;
    q.questionCode = QStringLiteral("IX-%1").arg(id).leftJustified(questionCodeLength);
    q.objectiveNo = 1;
    q.questionText = text;
    q.questionType = type;
    q.choiceCount = choiceCount;
    q.answerKey = answerKey;
    return q;
}

void addItems(QuestionBank &bank, qint16 id, const QStringList &texts)
{
    quint8 rowNo = 0;
    for (const QString &text : texts)
        bank.choiceRows.append({id, ++rowNo, text, 0});
}

} // namespace

QuestionBank interactiveBank()
{
    QuestionBank bank;
    bank.objectives.append({1, QStringLiteral("Objective"), 4});
    bank.prompts.append({1, QStringLiteral(">")});
    bank.prompts.append({2, QStringLiteral("#")});
    bank.prompts.append({3, QStringLiteral("(config)#")});

    Question graphical =
        question(graphicalQ, GraphicalDragAndDrop, 3, 3, QStringLiteral("Place the items."));
    graphical.diagramFile = QStringLiteral("picture.png");
    bank.questions.append(graphical);
    addItems(bank, graphicalQ,
             {QStringLiteral("Alpha"), QStringLiteral("Bravo"), QStringLiteral("Charlie")});
    bank.dndRows.append({graphicalQ, 1, 2, QString(), 300, 300, 1695, 465});
    bank.dndRows.append({graphicalQ, 2, 0, QString(), 300, 1200, 1695, 465});
    bank.dndRows.append({graphicalQ, 3, 1, QString(), 300, 2100, 1695, 465});

    bank.questions.append(
        question(textQ, TextDragAndDrop, 4, 3, QStringLiteral("Match the colours.")));
    addItems(bank, textQ,
             {QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Blue"),
              QStringLiteral("Black")});
    bank.dndRows.append({textQ, 1, 3, QStringLiteral("The sky"), 0, 0, 0, 0});
    bank.dndRows.append({textQ, 2, 1, QStringLiteral("A stop light"), 0, 0, 0, 0});
    bank.dndRows.append({textQ, 3, 0, QStringLiteral("Nothing at all"), 0, 0, 0, 0});

    Question simulation =
        question(simulationQ, Simulation, 3, 0, QStringLiteral("Name the switch."));
    simulation.diagramFile = QStringLiteral("picture.png");
    bank.questions.append(simulation);
    bank.simRows.append({simulationQ, 1, QStringLiteral("R1"), 1,
                         QStringLiteral("Enter privileged EXEC mode."), QStringLiteral("enable"),
                         QString()});
    bank.simRows.append({simulationQ, 2, QStringLiteral("R1"), 2,
                         QStringLiteral("Enter global configuration mode."),
                         QStringLiteral("configure terminal"),
                         QStringLiteral("Enter configuration commands, one per line.")});
    bank.simRows.append({simulationQ, 3, QStringLiteral("SW1"), 3,
                         QStringLiteral("Name the switch Core1."), QStringLiteral("hostname Core1"),
                         QString()});

    bank.questions.append(question(singleQ, SingleAnswer, 2, 1, QStringLiteral("Pick one.")));
    addItems(bank, singleQ, {QStringLiteral("Yes"), QStringLiteral("No")});

    bank.bankQuestionCount = bank.questions.size();
    bank.objectiveCount = bank.objectives.size();
    return bank;
}

TestState runningTest(const QuestionBank &bank, int q)
{
    TestState state;
    SizeSessionArrays(bank, state);
    InitRecordIndex(bank, state, bank.questions.size());
    state.testActive = true;
    state.testLength = 10;
    state.curItem = 3;
    state.curQ = q;
    return state;
}

QString sampleModuleFolder()
{
    return buildDir() + QStringLiteral("/Module/");
}

QuestionBank sampleModule()
{
    QuestionBank bank;
    QFile archive(sampleModuleFolder() + QStringLiteral("512-330.qdb"));
    if (!archive.open(QIODevice::ReadOnly))
        return bank;
    QList<TableFile> tables;
    for (const UnpackedEntry &entry : parseArchive(archive.readAll()).entries) {
        if (!isProgramFolderEntry(entry.name))
            tables.append({entry.name, entry.content});
    }
    if (loadTables(tables, bank))
        return QuestionBank{};
    return bank;
}

int questionNumber(const QuestionBank &bank, const QString &code)
{
    for (int q = 1; q <= bank.questions.size(); ++q) {
        if (bank.questions[q].questionCode.trimmed() == code)
            return q;
    }
    return 0;
}
