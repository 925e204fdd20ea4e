// Scoring of drag-and-drop questions over the targets' tags, and the order of the items.

#include "InteractiveFixtures.h"

#include "interactive/logic/DndAnswer.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

OneBasedArray<QString> tagsOf(const QStringList &list)
{
    OneBasedArray<QString> tags;
    for (const QString &tag : list)
        tags.append(tag);
    return tags;
}

} // namespace

class TestDndScoring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void score_data();
    void score();
    void tooFewTargetsLeavesTheRecord();
    void itemsInShuffledOrderKeepTheirNumbers();
    void questionWithoutRowsIsAnError();
};

void TestDndScoring::score_data()
{
    // The graphical fixture is keyed 2, 0, 1; the text one 3, 1, 0.
    QTest::addColumn<int>("q");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<int>("expected");
    QTest::newRow("all right") << int(graphicalQ) << QStringList{u"2"_s, u"0"_s, u"1"_s} << 1;
    QTest::newRow("one wrong") << int(graphicalQ) << QStringList{u"2"_s, u"0"_s, u"3"_s} << -1;
    QTest::newRow("keyed target left empty")
        << int(graphicalQ) << QStringList{u"2"_s, u"0"_s, u"0"_s} << -1;
    QTest::newRow("nothing dropped")
        << int(graphicalQ) << QStringList{u"0"_s, u"0"_s, u"0"_s} << -1;
    QTest::newRow("item on the empty-key target")
        << int(graphicalQ) << QStringList{u"2"_s, u"2"_s, u"1"_s} << -1;
    QTest::newRow("text: distractor left empty")
        << int(textQ) << QStringList{u"3"_s, u"1"_s, u"0"_s} << 1;
    QTest::newRow("text: item on the distractor")
        << int(textQ) << QStringList{u"3"_s, u"1"_s, u"4"_s} << -1;
    QTest::newRow("text: same item twice")
        << int(textQ) << QStringList{u"3"_s, u"3"_s, u"0"_s} << -1;
    QTest::newRow("tag that is no number reads as empty")
        << int(textQ) << QStringList{u"3"_s, u"1"_s, u"x"_s} << 1;
}

void TestDndScoring::score()
{
    QFETCH(int, q);
    QFETCH(QStringList, tags);
    QFETCH(int, expected);
    const QuestionBank bank = interactiveBank();
    const TestState state = runningTest(bank, q);
    QCOMPARE(scoreDnDTargets(bank, state, q, tagsOf(tags)), expected);
}

void TestDndScoring::tooFewTargetsLeavesTheRecord()
{
    const QuestionBank bank = interactiveBank();
    TestState state = runningTest(bank, graphicalQ);
    state.answerRecs[graphicalQ].answer = 1;
    QVERIFY_THROWS_EXCEPTION(std::out_of_range,
                             recordDnDAnswer(bank, state, graphicalQ, tagsOf({u"2"_s, u"0"_s})));
    QCOMPARE(state.answerRecs[graphicalQ].answer, AnswerValue(1));
}

void TestDndScoring::itemsInShuffledOrderKeepTheirNumbers()
{
    const QuestionBank bank = interactiveBank();
    TestState state = runningTest(bank, textQ);
    state.optRandomAnswers = true;
    state.ansOrder[textQ][1] = 3;
    state.ansOrder[textQ][2] = 1;
    state.ansOrder[textQ][3] = 4;
    state.ansOrder[textQ][4] = 2;
    const OneBasedArray<DndItem> items = dndItems(bank, state, textQ);
    QCOMPARE(items[1].text, QStringLiteral("Blue"));
    QCOMPARE(items[1].number, 3);
    QCOMPARE(items[3].text, QStringLiteral("Black"));
    QCOMPARE(items[3].number, 4);
    QCOMPARE(items[4].number, 2);
}

void TestDndScoring::questionWithoutRowsIsAnError()
{
    const QuestionBank bank = interactiveBank();
    TestState state = runningTest(bank, graphicalQ);
    state.dndIndex[graphicalQ].rowIndex = 0;
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, dndTargetRow(bank, state, graphicalQ, 2));
    state.mcIndex[textQ].rowIndex = 0;
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, dndItems(bank, state, textQ));
}

QTEST_GUILESS_MAIN(TestDndScoring)
#include "tst_dndscoring.moc"
