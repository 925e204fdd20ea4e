#include "BankBuilder.h"
#include "engine/Grading.h"
#include "engine/InitTest.h"
#include "engine/Selection.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(AnswerValue)

namespace {

// A running test of every question of the bank, items in objective and bank order.
TestState testOver(const QuestionBank &bank)
{
    TestState state;
    SizeSessionArrays(bank, state);
    InitRecordIndex(bank, state, bank.questions.size());
    state.objSelected.fill(bank.objectives.size(), true);
    InitObjQueID(bank, state, bank.objectives.size(), 0);
    state.testActive = true;
    return state;
}

// count single-answer questions keyed to the first of their two choices.
QuestionBank singleAnswers(int count)
{
    BankBuilder builder;
    builder.objectives(1).questions(1, count, 2);
    return builder.bank();
}

QList<int> items(const OneBasedArray<int> &list)
{
    return QList<int>(list.begin(), list.end());
}

} // namespace

class GradingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scalesScore_data();
    void scalesScore();
    void judgesEachType_data();
    void judgesEachType();
    void listsItemNumbersNotQuestionNumbers();
    void talliesPerObjectiveInListOrder();
    void checkAnswerClassifiesRunningTest();
};

void GradingTest::scalesScore_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("correct");
    QTest::addColumn<int>("score");
    // Exact halves go to the even neighbour.
    QTest::newRow("1 of 16") << 16 << 1 << 62;
    QTest::newRow("3 of 16") << 16 << 3 << 188;
    QTest::newRow("2 of 3") << 3 << 2 << 667;
    QTest::newRow("all") << 5 << 5 << 1000;
    QTest::newRow("none") << 5 << 0 << 0;
}

void GradingTest::scalesScore()
{
    QFETCH(int, length);
    QFETCH(int, correct);
    QFETCH(int, score);
    const QuestionBank bank = singleAnswers(length);
    TestState state = testOver(bank);
    for (int q = 1; q <= length; ++q)
        state.answerRecs[q].answer = q <= correct ? 1 : 2;

    GradeTest(bank, state);

    QCOMPARE(state.correctCount, correct);
    QCOMPARE(state.incorrectCount, length - correct);
    QCOMPARE(state.incorrectItems.size(), length - correct);
    QCOMPARE(state.scaledScore, score);
    QVERIFY(!state.testActive);
}

void GradingTest::judgesEachType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<AnswerValue>("answer");
    QTest::addColumn<int>("status");
    using A = AnswerValue;
    const int right = StatusCorrect, wrong = StatusIncorrect, none = StatusIncomplete;

    const QStringList four = {u"A"_s, u"B"_s, u"C"_s, u"D"_s};
    QTest::newRow("single right") << 1 << 4 << four << A(4) << right;
    QTest::newRow("single wrong") << 1 << 4 << four << A(2) << wrong;
    QTest::newRow("single cleared") << 1 << 4 << four << A(0) << none;
    QTest::newRow("single never") << 1 << 4 << four << A() << none;
    QTest::newRow("multiple right") << 2 << 5 << four << A(5) << right;
    QTest::newRow("multiple one missing") << 2 << 5 << four << A(1) << wrong;
    QTest::newRow("multiple one extra") << 2 << 5 << four << A(7) << wrong;

    const QStringList word = {u"Show Running-Config"_s};
    QTest::newRow("typed other case") << 3 << 0 << word << A(u"show running-config"_s) << right;
    QTest::newRow("typed inner blank") << 3 << 0 << word << A(u"show  running-config"_s) << wrong;
    QTest::newRow("typed empty") << 3 << 0 << word << A(QString()) << none;
    QTest::newRow("typed cleared") << 3 << 0 << word << A(0) << none;

    const QStringList mask = {u"255"_s, u"255"_s, u"255"_s, u"192"_s};
    QTest::newRow("values right") << 4 << 0 << mask << A(u"255.255.255.192"_s) << right;
    QTest::newRow("values wrong") << 4 << 0 << mask << A(u"255.255.255.0"_s) << wrong;
    QTest::newRow("values all blank") << 4 << 0 << mask << A(u"..."_s) << wrong;
    QTest::newRow("values empty") << 4 << 0 << mask << A(QString()) << none;
    // A damaged key never turns an unanswered item into a correct one.
    QTest::newRow("no answer, empty key") << 1 << 0 << four << A(0) << none;
    QTest::newRow("no text, empty key") << 3 << 0 << QStringList{QString()} << A(QString()) << none;

    for (int type : {5, 6, 7}) {
        const QByteArray name = "type " + QByteArray::number(type);
        QTest::newRow(name + " right") << type << 2 << QStringList() << A(1) << right;
        QTest::newRow(name + " wrong") << type << 2 << QStringList() << A(-1) << wrong;
        QTest::newRow(name + " never") << type << 2 << QStringList() << A() << none;
    }
    QTest::newRow("unknown type skipped") << 9 << 0 << four << A(1) << int(StatusNone);
}

void GradingTest::judgesEachType()
{
    QFETCH(int, type);
    QFETCH(int, key);
    QFETCH(QStringList, rows);
    QFETCH(AnswerValue, answer);
    QFETCH(int, status);
    BankBuilder builder;
    builder.objectives(1).question(1, type, rows.isEmpty() ? 4 : int(rows.size()));
    QuestionBank bank = builder.bank();
    bank.questions[1].answerKey = qint16(key);
    for (int row = 1; row <= rows.size(); ++row)
        bank.choiceRows[row].text = rows[row - 1];
    TestState state = testOver(bank);
    state.answerRecs[1].answer = answer;

    GradeTest(bank, state);

    QCOMPARE(state.answerRecs[1].status, status);
    QCOMPARE(state.correctCount, status == StatusCorrect ? 1 : 0);
    QCOMPARE(state.incorrectCount, int(status == StatusIncorrect || status == StatusIncomplete));
    QCOMPARE(state.incompleteCount, status == StatusIncomplete ? 1 : 0);
}

void GradingTest::listsItemNumbersNotQuestionNumbers()
{
    const QuestionBank bank = singleAnswers(4);
    TestState state = testOver(bank);
    // Items shown in reverse: item 1 is question 4. Item 4 is unanswered, so also incorrect.
    state.optRandomQuestions = true;
    for (int item = 1; item <= 4; ++item)
        state.rndQueID[item] = 5 - item;
    state.answerRecs[4].answer = 1;
    state.answerRecs[3].answer = 2;
    state.answerRecs[2].answer = 1;

    GradeTest(bank, state);

    QCOMPARE(items(state.incorrectItems), QList<int>({2, 4}));
    QCOMPARE(state.answerRecs[1].status, int(StatusIncomplete));
    QCOMPARE(state.answerRecs[3].status, int(StatusIncorrect));
}

void GradingTest::talliesPerObjectiveInListOrder()
{
    // Objective 1 holds question 4, objective 2 nothing, objective 3 questions 1 to 3: the
    // list has two entries, objectives 1 and 3.
    BankBuilder builder;
    builder.objectives(3).questions(3, 3, 2).questions(1, 1, 2);
    const QuestionBank bank = builder.bank();
    TestState state = testOver(bank);
    state.answerRecs[1].answer = 1;
    state.answerRecs[2].answer = 2;
    state.answerRecs[3].answer = 1;
    state.answerRecs[4].answer = 2;

    GradeTest(bank, state);

    QCOMPARE(items(state.objCorrect), QList<int>({0, 2}));
    QCOMPARE(items(state.objPercent), QList<int>({0, 67}));
    QCOMPARE(state.objScoreText[1], u"(0/1)"_s);
    QCOMPARE(state.objScoreText[2], u"(2/3)"_s);
}

void GradingTest::checkAnswerClassifiesRunningTest()
{
    BankBuilder builder;
    builder.objectives(1)
        .question(1, SingleAnswer, 2)
        .question(1, TypedValues, 2)
        .question(1, GraphicalDragAndDrop);
    const QuestionBank bank = builder.bank();
    TestState state = testOver(bank);
    state.answerRecs[1].answer = 2;
    state.answerRecs[2].answer = u"."_s;

    CheckAnswer(bank, state, 3);

    QCOMPARE(state.answeredCount, 2);
    QCOMPARE(state.incompleteCount, 1);
    QCOMPARE(items(state.incompleteItems), QList<int>({3}));
    QCOMPARE(state.answerRecs[1].status, int(StatusAnswered));
    QCOMPARE(state.answerRecs[3].status, int(StatusIncomplete));
    QVERIFY(state.testActive);

    // Answering the last one leaves no stale entry behind.
    state.answerRecs[3].answer = -1;
    CheckAnswer(bank, state, 3);
    QCOMPARE(state.incompleteCount, 0);
    QVERIFY(state.incompleteItems.isEmpty());
}

QTEST_GUILESS_MAIN(GradingTest)
#include "tst_grading.moc"
