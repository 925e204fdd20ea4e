#include "BankBuilder.h"
#include "FakeMessageBoxes.h"
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

// Whether the values of list[1..n] are 1..n, each once.
bool isPermutation(const OneBasedArray<int> &list, int n)
{
    std::set<int> values;
    for (int i = 1; i <= n; ++i)
        values.insert(list[i]);
    return int(values.size()) == n && (n == 0 || (*values.begin() == 1 && *values.rbegin() == n));
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
    void customTestDrawsFromTheGivenQuestions_data();
    void customTestDrawsFromTheGivenQuestions();
};

void TestSelection::selectionHoldsOverManySeeds()
{
    const QuestionBank bank = unevenBank();
    const int c = bank.objectives.size();
    QList<QList<int>> questionsOf(c + 1); // in bank order
    for (const Question &question : bank.questions)
        questionsOf[question.objectiveNo].append(question.questionId);
    for (quint64 seed = 1; seed <= 400; ++seed) {
        Random::instance().seed(seed);
        const bool random = seed % 4 != 0;
        QList<int> selected;
        int available = 0;
        for (int o = 1; o <= c; ++o) {
            if (Random::instance().next() < 0.7) {
                selected.append(o);
                available += bank.objectives[o].questionCount;
            }
        }
        if (available == 0)
            continue;
        const int wanted = Random::instance().drawFrom(bank.questions.size() + 5);
        TestState state = stateFor(bank, random, selected);
        QVERIFY(InitObjQueID(bank, state, c, wanted));
        const QByteArray where = "seed " + QByteArray::number(seed);
        QVERIFY2(state.testLength == std::min(available, wanted), where);

        // Each selected objective with questions has an item, in visit order, while room
        // remains.
        QList<int> visited;
        for (int i = 1; i <= c; ++i) {
            const int o = state.objOrder[i];
            if (state.objSelected[o] && bank.objectives[o].questionCount > 0)
                visited.append(o);
        }
        QVERIFY2(state.objListCount == std::min<int>(state.testLength, visited.size()), where);
        for (int i = 1; i <= state.objListCount; ++i)
            QVERIFY2(state.objList[i] == visited[i - 1] && state.objQuota[visited[i - 1]] > 0,
                     where);

        // Distinct questions, from selected objectives only, as many as each quota says;
        // without random order the objectives one after the other, each from its first question.
        std::set<int> seen;
        QList<int> perObjective(c + 1, 0);
        for (int pos = 1; pos <= state.testLength; ++pos) {
            const int q = state.objQueID[pos];
            const int o = bank.questions[q].objectiveNo;
            QVERIFY2(seen.insert(q).second && state.objSelected[o], where);
            if (!random) {
                QVERIFY2(q == questionsOf[o].value(perObjective[o]), where);
                QVERIFY2(pos == 1 || bank.questions[state.objQueID[pos - 1]].objectiveNo <= o,
                         where);
            }
            ++perObjective[o];
        }
        for (int o = 1; o <= c; ++o)
            QVERIFY2(perObjective[o] == state.objQuota[o], where);
        if (!random)
            continue;

        InitRndQueID(state, state.testLength);
        QVERIFY2(isPermutation(state.rndQueID, state.testLength), where);
        // Only choices shown in a list are shuffled.
        const OneBasedArray<int> inOrder = state.ansOrder[1];
        InitAnsID(bank, state, state.testLength);
        for (int q : seen) {
            const int type = bank.questions[q].questionType;
            if (type == TypedAnswer || type == TypedValues || type == Simulation)
                QVERIFY2(state.ansOrder[q] == inOrder, where);
            else
                QVERIFY2(isPermutation(state.ansOrder[q], bank.questions[q].choiceCount), where);
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
    TestState state = stateFor(builder.bank(), false, all);
    QVERIFY(InitObjQueID(builder.bank(), state, sizes.size(), wanted));
    QCOMPARE(QList<int>(state.objQuota.begin(), state.objQuota.end()), quotas);
}

// In the uneven bank questions 1 and 8 belong to objective 1, 2 and 9 to objective 2.
void TestSelection::customTestDrawsFromTheGivenQuestions_data()
{
    QTest::addColumn<QList<int>>("questionNos");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QList<int>>("objectives"); // checked in the list; empty: all
    QTest::addColumn<bool>("random");
    QTest::addColumn<int>("length"); // 0: no test, after the usual message

    QTest::newRow("count above the set")
        << QList<int>{1, 5, 9} << u"20"_s << QList<int>{} << true << 3;
    QTest::newRow("count below the set")
        << QList<int>{1, 2, 3, 4, 8, 9} << u"2"_s << QList<int>{} << true << 2;
    QTest::newRow("objective by objective")
        << QList<int>{9, 3, 1} << u"9"_s << QList<int>{} << false << 3;
    QTest::newRow("numbers outside the bank")
        << QList<int>{0, 2, 999} << u"5"_s << QList<int>{} << true << 1;
    QTest::newRow("objectives still apply")
        << QList<int>{1, 2, 8, 9} << u"10"_s << QList<int>{1} << true << 2;
    QTest::newRow("none in the objectives")
        << QList<int>{2, 9} << u"10"_s << QList<int>{1} << true << 0;
}

void TestSelection::customTestDrawsFromTheGivenQuestions()
{
    QFETCH(QList<int>, questionNos);
    QFETCH(QString, count);
    QFETCH(QList<int>, objectives);
    QFETCH(bool, random);
    QFETCH(int, length);
    FakeMessageBoxes boxes;
    const QuestionBank bank = unevenBank();
    CustomSettings custom;
    custom.txCustomQuestions = count;
    custom.ckRndQues = random;
    custom.ckRndAns = random;
    custom.questionNos = questionNos;
    if (!objectives.isEmpty()) {
        custom.opObjIndex = 1;
        custom.lvObjChecked.fill(bank.objectives.size(), false);
        for (int o : objectives)
            custom.lvObjChecked[o] = true;
    }
    TestState state;
    QCOMPARE(InitTest(CustomMode, bank, state, custom), length > 0);
    QCOMPARE(boxes.shown.size(), length > 0 ? 0 : 1);
    if (length == 0)
        return;
    QCOMPARE(state.testLength, length);
    std::set<int> seen;
    for (int item = 1; item <= length; ++item) {
        const int q = GetQueID(state, item);
        QVERIFY(seen.insert(q).second && questionNos.contains(q));
        QVERIFY(objectives.isEmpty() || objectives.contains(bank.questions[q].objectiveNo));
        QVERIFY(random || item == 1 ||
                bank.questions[GetQueID(state, item - 1)].objectiveNo <=
                    bank.questions[q].objectiveNo);
    }
}

QTEST_APPLESS_MAIN(TestSelection)
#include "tst_selection.moc"
