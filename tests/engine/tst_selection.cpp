#include "BankBuilder.h"
#include "FakeMessageBoxes.h"
#include "common/ErrorReport.h"
#include "common/Random.h"
#include "engine/InitTest.h"
#include "engine/Selection.h"

#include <QTest>

#include <algorithm>
#include <set>

using namespace Qt::StringLiterals;

namespace {

// Objectives of uneven sizes, one empty, with questions of every type and of 1 to 10 rows,
// those of different objectives mixed in bank order.
QuestionBank unevenBank()
{
    const QList<int> sizes{3, 6, 1, 0, 10, 4, 9, 2};
    BankBuilder builder;
    builder.objectives(sizes.size());
    for (int round = 0; round < 10; ++round) {
        for (int o = 1; o <= sizes.size(); ++o) {
            if (round < sizes[o - 1])
                builder.question(o, 1 + (round + o) % 7, 1 + (round * 3 + o) % 10);
        }
    }
    return builder.bank();
}

// A state ready for InitObjQueID, as the set-up leaves it.
TestState stateFor(const QuestionBank &bank, bool random, const QList<int> &selected)
{
    TestState state;
    SizeSessionArrays(bank, state);
    state.optRandomQuestions = random;
    for (int o : selected)
        state.objSelected[o] = true;
    return state;
}

int sizeOf(const QuestionBank &bank, int o)
{
    return bank.objectives[o].questionCount;
}

} // namespace

class TestSelection : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { Random::instance().seed(20261206); }

    void selectionHoldsOverManySeeds();
    void sharesOutInProportionPerPass_data();
    void sharesOutInProportionPerPass();
    void shortTestRepresentsTheFirstObjectivesInVisitOrder();
    void withoutRandomOrderItemsFollowObjectivesAndBank();
    void noAvailableQuestionTellsTheUser();
    void getQueIdOutsideTheTestReportsAnError();
    void seedRepeatsTheDraws();
};

void TestSelection::selectionHoldsOverManySeeds()
{
    const QuestionBank bank = unevenBank();
    const int c = bank.objectives.size();
    for (quint64 seed = 1; seed <= 400; ++seed) {
        Random::instance().seed(seed);
        const bool random = seed % 4 != 0;
        QList<int> selected;
        int available = 0;
        int objectivesWithQuestions = 0;
        for (int o = 1; o <= c; ++o) {
            if (Random::instance().next() < 0.7) {
                selected.append(o);
                available += sizeOf(bank, o);
                objectivesWithQuestions += sizeOf(bank, o) > 0;
            }
        }
        if (available == 0)
            continue;
        const int wanted = Random::instance().drawFrom(bank.questions.size() + 5);
        TestState state = stateFor(bank, random, selected);
        QVERIFY(InitObjQueID(bank, state, c, wanted));
        const QByteArray where = "seed " + QByteArray::number(seed);

        QVERIFY2(state.testLength == std::min(available, wanted), where);
        if (state.testLength >= objectivesWithQuestions)
            QVERIFY2(state.objListCount == objectivesWithQuestions, where);
        // Distinct questions, from selected objectives only, as many as each quota says.
        std::set<int> seen;
        QList<int> perObjective(c + 1, 0);
        for (int pos = 1; pos <= state.testLength; ++pos) {
            const int q = state.objQueID[pos];
            QVERIFY2(seen.insert(q).second, where);
            QVERIFY2(state.objSelected[bank.questions[q].objectiveNo], where);
            ++perObjective[bank.questions[q].objectiveNo];
        }
        for (int o = 1; o <= c; ++o)
            QVERIFY2(perObjective[o] == state.objQuota[o] && state.objQuota[o] <= sizeOf(bank, o),
                     where);
        if (!random)
            continue;

        InitRndQueID(state, state.testLength);
        std::set<int> items;
        for (int i = 1; i <= state.testLength; ++i)
            items.insert(state.rndQueID[i]);
        QVERIFY2(int(items.size()) == state.testLength, where);
        QVERIFY2(*items.begin() == 1 && *items.rbegin() == state.testLength, where);

        // Only choices shown in a list are shuffled, each order a permutation of its rows.
        const OneBasedArray<int> inOrder = state.ansOrder[1];
        InitAnsID(bank, state, state.testLength);
        for (int q : seen) {
            const Question &question = bank.questions[q];
            const OneBasedArray<int> &order = state.ansOrder[q];
            const int type = question.questionType;
            if (type == TypedAnswer || type == TypedValues || type == Simulation) {
                QVERIFY2(order == inOrder, where);
                continue;
            }
            std::set<int> shown;
            for (int d = 1; d <= question.choiceCount; ++d)
                shown.insert(order[d]);
            QVERIFY2(int(shown.size()) == question.choiceCount, where);
            QVERIFY2(*shown.begin() == 1 && *shown.rbegin() == question.choiceCount, where);
        }
    }
}

void TestSelection::sharesOutInProportionPerPass_data()
{
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<int>("wanted");
    QTest::addColumn<QList<int>>("quotas");
    // After one item each, a pass gives 1, 2 and 3 items to objectives of 5, 10 and 15.
    QTest::newRow("one item each") << QList<int>{5, 10, 15} << 3 << QList<int>{1, 1, 1};
    QTest::newRow("full first pass") << QList<int>{5, 10, 15} << 9 << QList<int>{2, 3, 4};
    QTest::newRow("two passes") << QList<int>{5, 10, 15} << 15 << QList<int>{3, 5, 7};
    QTest::newRow("ends inside a share") << QList<int>{5, 10, 15} << 5 << QList<int>{2, 2, 1};
    QTest::newRow("ends after the first") << QList<int>{5, 10, 15} << 4 << QList<int>{2, 1, 1};
    QTest::newRow("share stops when full") << QList<int>{1, 3} << 4 << QList<int>{1, 3};
    QTest::newRow("sizes not multiples") << QList<int>{2, 5, 7} << 10 << QList<int>{2, 4, 4};
}

void TestSelection::sharesOutInProportionPerPass()
{
    QFETCH(QList<int>, sizes);
    QFETCH(int, wanted);
    QFETCH(QList<int>, quotas);
    BankBuilder builder;
    builder.objectives(sizes.size());
    QList<int> all;
    for (int o = 1; o <= sizes.size(); ++o) {
        builder.questions(o, sizes[o - 1]);
        all.append(o);
    }
    const QuestionBank bank = builder.bank();
    TestState state = stateFor(bank, false, all);
    QVERIFY(InitObjQueID(bank, state, sizes.size(), wanted));
    for (int o = 1; o <= sizes.size(); ++o)
        QCOMPARE(state.objQuota[o], quotas[o - 1]);
}

void TestSelection::shortTestRepresentsTheFirstObjectivesInVisitOrder()
{
    const QuestionBank bank = unevenBank();
    for (bool random : {false, true}) {
        TestState state = stateFor(bank, random, {1, 2, 3, 4, 5, 6, 7, 8});
        QVERIFY(InitObjQueID(bank, state, 8, 3));
        QCOMPARE(state.testLength, 3);
        QCOMPARE(state.objListCount, 3);
        QList<int> expected;
        for (int i = 1; i <= 8 && expected.size() < 3; ++i) {
            if (sizeOf(bank, state.objOrder[i]) > 0)
                expected.append(state.objOrder[i]);
        }
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(state.objList[i], expected[i - 1]);
            QCOMPARE(state.objQuota[expected[i - 1]], 1);
        }
    }
}

void TestSelection::withoutRandomOrderItemsFollowObjectivesAndBank()
{
    const QuestionBank bank = unevenBank();
    TestState state = stateFor(bank, false, {1, 2, 3, 4, 5, 6, 7, 8});
    QVERIFY(InitObjQueID(bank, state, 8, 20));
    int pos = 1;
    for (int o = 1; o <= 8; ++o) {
        QCOMPARE(state.objOrder[o], o);
        int taken = 0;
        for (const Question &question : bank.questions) {
            if (question.objectiveNo != o || taken == state.objQuota[o])
                continue;
            QCOMPARE(state.objQueID[pos], int(question.questionId));
            QCOMPARE(GetQueID(state, pos), int(question.questionId));
            ++pos;
            ++taken;
        }
    }
    QCOMPARE(pos, 21);
}

void TestSelection::noAvailableQuestionTellsTheUser()
{
    FakeMessageBoxes boxes;
    const QuestionBank bank = unevenBank();
    TestState state = stateFor(bank, true, {4});
    QVERIFY(!InitObjQueID(bank, state, 8, 10));
    QCOMPARE(state.testLength, 0);
    QCOMPARE(boxes.shown,
             (QList<MessageBoxRequest>{
                 {u"Sorry!"_s,
                  u"No questions are available from the objectives you selected.\n\n"
                  u"Please select other objectives."_s,
                  MessageIcon::Information, MessageButtons::Ok}}));
}

void TestSelection::getQueIdOutsideTheTestReportsAnError()
{
    FakeMessageBoxes boxes;
    const QuestionBank bank = unevenBank();
    // Without random order the positions past the test are there, but empty.
    TestState state = stateFor(bank, false, {1, 2});
    QVERIFY(InitObjQueID(bank, state, 8, 3));
    QVERIFY(GetQueID(state, 3) > 0);
    QCOMPARE(GetQueID(state, 0), 0);
    QCOMPARE(GetQueID(state, 4), 0);
    const ErrorReport report{u"Subscript out of range"_s, 9, u"Function Name: GetQueID"_s};
    const MessageBoxRequest box{errorReportTitle, report.text(), MessageIcon::Critical,
                                MessageButtons::Ok};
    QCOMPARE(boxes.shown, (QList<MessageBoxRequest>{box, box}));
}

void TestSelection::seedRepeatsTheDraws()
{
    QList<int> runs[2];
    for (QList<int> &run : runs) {
        Random::instance().seed(7);
        for (int i = 0; i < 20; ++i)
            run.append(Random::instance().drawFrom(1000));
    }
    QCOMPARE(runs[1], runs[0]);
}

QTEST_APPLESS_MAIN(TestSelection)
#include "tst_selection.moc"
