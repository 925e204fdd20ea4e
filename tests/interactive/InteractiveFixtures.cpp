#include "InteractiveFixtures.h"

#include "BankBuilder.h"

#include "engine/InitTest.h"

using namespace Qt::StringLiterals;

QuestionBank interactiveBank()
{
    BankBuilder builder;
    builder.objectives(1)
        .question(1, GraphicalDragAndDrop, 3)
        .question(1, TextDragAndDrop, 4)
        .question(1, Simulation, 3)
        .question(1, SingleAnswer, 2);
    QuestionBank bank = builder.bank();
    const QStringList items{u"Alpha"_s, u"Bravo"_s, u"Charlie"_s, u"Red"_s,
                            u"Green"_s, u"Blue"_s,  u"Black"_s};
    for (int row = 1; row <= items.size(); ++row)
        bank.choiceRows[row].text = items[row - 1];
    bank.questions[graphicalQ].diagramFile = bank.questions[simulationQ].diagramFile =
        u"picture.png"_s;
    bank.questions[graphicalQ].answerKey = bank.questions[textQ].answerKey = 3;

    bank.dndRows.clear();
    const quint8 graphicalKeys[] = {2, 0, 1};
    for (quint8 j = 1; j <= 3; ++j)
        bank.dndRows.append({graphicalQ, j, graphicalKeys[j - 1], QString(), 300,
                             qint16(300 + 900 * (j - 1)), 1695, 465});
    bank.dndRows.append({textQ, 1, 3, u"The sky"_s, 0, 0, 0, 0});
    bank.dndRows.append({textQ, 2, 1, u"A stop light"_s, 0, 0, 0, 0});
    bank.dndRows.append({textQ, 3, 0, u"Nothing at all"_s, 0, 0, 0, 0});

    for (const QString &prompt : {u">"_s, u"#"_s, u"(config)#"_s})
        bank.prompts.append({quint8(bank.prompts.size() + 1), prompt});
    bank.simRows[1] = {simulationQ, 1,        u"R1"_s, 1, u"Enter privileged EXEC mode."_s,
                       u"enable"_s, QString()};
    bank.simRows[2] = {simulationQ,
                       2,
                       u"R1"_s,
                       2,
                       u"Enter global configuration mode."_s,
                       u"configure terminal"_s,
                       u"Enter configuration commands, one per line."_s};
    bank.simRows[3] = {simulationQ,         3,        u"SW1"_s, 3, u"Name the switch Core1."_s,
                       u"hostname Core1"_s, QString()};
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
