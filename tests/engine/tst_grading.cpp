#include "engine/Grading.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <QTest>

Q_DECLARE_METATYPE(AnswerValue)

namespace {

// A bank and a test over it built by hand: items follow the order questions were added,
// unless the test sets a random order itself.
struct GradingFixture
{
    QuestionBank bank;
    TestState state;

    int addQuestion(int type, int objective, int answerKey = 0, const QStringList &rows = {})
    {
        Question question;
        question.questionId = qint16(bank.questions.size() + 1);
        question.objectiveNo = quint8(objective);
        question.questionType = quint8(type);
        question.choiceCount = quint8(rows.size());
        question.answerKey = qint16(answerKey);
        bank.questions.append(question);
        RowIndex index;
        for (int row = 1; row <= rows.size(); ++row) {
            bank.choiceRows.append({question.questionId, quint8(row), rows[row - 1], 0});
            if (row == 1)
                index = {question.questionId, bank.choiceRows.size()};
        }
        state.mcIndex.append(index);
        return question.questionId;
    }

    // Opens the test over every question added, objectives listed in the given order.
    void start(const QList<int> &objectiveOrder)
    {
        const int count = bank.questions.size();
        bank.bankQuestionCount = count;
        bank.testInfo.passingScore = 700;
        state.testLength = count;
        state.testActive = true;
        state.optRandomQuestions = false;
        state.answerRecs.fill(count, AnswerRecord{});
        state.objQueID.fill(count, 0);
        for (int q = 1; q <= count; ++q)
            state.objQueID[q] = q;
        int highest = 0;
        for (int objective : objectiveOrder)
            highest = std::max(highest, objective);
        state.objQuota.fill(highest, 0);
        for (const Question &question : bank.questions)
            ++state.objQuota[question.objectiveNo];
        state.objListCount = int(objectiveOrder.size());
        state.objList.fill(state.objListCount, 0);
        for (int entry = 1; entry <= state.objListCount; ++entry)
            state.objList[entry] = objectiveOrder[entry - 1];
    }

    void answer(int q, AnswerValue value) { state.answerRecs[q].answer = std::move(value); }
    int status(int q) const { return state.answerRecs[q].status; }
};

QList<int> items(const OneBasedArray<int> &list)
{
    return QList<int>(list.begin(), list.end());
}

} // namespace

class GradingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundsHalfToEven_data();
    void roundsHalfToEven();
    void scalesScore_data();
    void scalesScore();
    void judgesEachType_data();
    void judgesEachType();
    void unansweredItemsAreIncompleteAndIncorrect();
    void listsItemNumbersNotQuestionNumbers();
    void talliesPerObjectiveInListOrder();
    void perfectTestHasNoIncorrectItems();
    void skipsUnknownTypes();
    void checkAnswerClassifiesRunningTest();
};

void GradingTest::roundsHalfToEven_data()
{
    QTest::addColumn<int>("numerator");
    QTest::addColumn<int>("denominator");
    QTest::addColumn<int>("rounded");
    QTest::newRow("62.5") << 125 << 2 << 62;
    QTest::newRow("12.5") << 25 << 2 << 12;
    QTest::newRow("13.5") << 27 << 2 << 14;
    QTest::newRow("666.67") << 2000 << 3 << 667;
    QTest::newRow("66.67") << 200 << 3 << 67;
    QTest::newRow("33.33") << 100 << 3 << 33;
    QTest::newRow("0") << 0 << 7 << 0;
}

void GradingTest::roundsHalfToEven()
{
    QFETCH(int, numerator);
    QFETCH(int, denominator);
    QFETCH(int, rounded);
    QCOMPARE(roundHalfEven(numerator, denominator), rounded);
}

void GradingTest::scalesScore_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("correct");
    QTest::addColumn<int>("score");
    QTest::newRow("1 of 8") << 8 << 1 << 125;
    QTest::newRow("2 of 3") << 3 << 2 << 667;
    QTest::newRow("1 of 16") << 16 << 1 << 62;
    QTest::newRow("1 of 80") << 80 << 1 << 12;
    QTest::newRow("51 of 60") << 60 << 51 << 850;
    QTest::newRow("all") << 5 << 5 << 1000;
    QTest::newRow("none") << 5 << 0 << 0;
}

void GradingTest::scalesScore()
{
    QFETCH(int, length);
    QFETCH(int, correct);
    QFETCH(int, score);
    GradingFixture fixture;
    for (int i = 1; i <= length; ++i)
        fixture.addQuestion(SingleAnswer, 1, 1, {QStringLiteral("a"), QStringLiteral("b")});
    fixture.start({1});
    for (int q = 1; q <= length; ++q)
        fixture.answer(q, q <= correct ? 1 : 2);

    GradeTest(fixture.bank, fixture.state);

    QCOMPARE(fixture.state.correctCount, correct);
    QCOMPARE(fixture.state.incorrectCount, length - correct);
    QCOMPARE(fixture.state.scaledScore, score);
    QCOMPARE(fixture.state.passScore, 700);
    QVERIFY(!fixture.state.testActive);
}

void GradingTest::judgesEachType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<AnswerValue>("answer");
    QTest::addColumn<int>("status");

    const QStringList four = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                              QStringLiteral("D")};
    QTest::newRow("single right") << 1 << 4 << four << AnswerValue(4) << int(StatusCorrect);
    QTest::newRow("single wrong") << 1 << 4 << four << AnswerValue(2) << int(StatusIncorrect);
    QTest::newRow("single cleared") << 1 << 4 << four << AnswerValue(0) << int(StatusIncomplete);
    QTest::newRow("single never") << 1 << 4 << four << AnswerValue() << int(StatusIncomplete);
    QTest::newRow("multiple right") << 2 << 5 << four << AnswerValue(5) << int(StatusCorrect);
    QTest::newRow("multiple one missing")
        << 2 << 5 << four << AnswerValue(1) << int(StatusIncorrect);
    QTest::newRow("multiple one extra") << 2 << 5 << four << AnswerValue(7) << int(StatusIncorrect);

    const QStringList word = {QStringLiteral("Show Running-Config")};
    QTest::newRow("typed other case")
        << 3 << 0 << word << AnswerValue(QStringLiteral("show running-config"))
        << int(StatusCorrect);
    QTest::newRow("typed inner blank differs")
        << 3 << 0 << word << AnswerValue(QStringLiteral("show  running-config"))
        << int(StatusIncorrect);
    QTest::newRow("typed empty") << 3 << 0 << word << AnswerValue(QString())
                                 << int(StatusIncomplete);
    QTest::newRow("typed cleared") << 3 << 0 << word << AnswerValue(0) << int(StatusIncomplete);

    const QStringList mask = {QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("255"),
                              QStringLiteral("192")};
    QTest::newRow("values right") << 4 << 0 << mask
                                  << AnswerValue(QStringLiteral("255.255.255.192"))
                                  << int(StatusCorrect);
    QTest::newRow("values wrong") << 4 << 0 << mask << AnswerValue(QStringLiteral("255.255.255.0"))
                                  << int(StatusIncorrect);
    QTest::newRow("values all blank")
        << 4 << 0 << mask << AnswerValue(QStringLiteral("...")) << int(StatusIncorrect);
    QTest::newRow("values empty") << 4 << 0 << mask << AnswerValue(QString())
                                  << int(StatusIncomplete);
    // A damaged key never turns an unanswered item into a correct one.
    QTest::newRow("no answer, empty key")
        << 1 << 0 << four << AnswerValue(0) << int(StatusIncomplete);
    QTest::newRow("no text, empty key")
        << 3 << 0 << QStringList({QString()}) << AnswerValue(QString()) << int(StatusIncomplete);

    for (int type : {5, 6, 7}) {
        const QByteArray name = "type " + QByteArray::number(type);
        QTest::newRow(name + " right")
            << type << 2 << QStringList() << AnswerValue(1) << int(StatusCorrect);
        QTest::newRow(name + " wrong")
            << type << 2 << QStringList() << AnswerValue(-1) << int(StatusIncorrect);
        QTest::newRow(name + " never")
            << type << 2 << QStringList() << AnswerValue() << int(StatusIncomplete);
    }
}

void GradingTest::judgesEachType()
{
    QFETCH(int, type);
    QFETCH(int, key);
    QFETCH(QStringList, rows);
    QFETCH(AnswerValue, answer);
    QFETCH(int, status);
    GradingFixture fixture;
    const int q = fixture.addQuestion(type, 1, key, rows);
    fixture.start({1});
    fixture.answer(q, answer);

    GradeTest(fixture.bank, fixture.state);

    QCOMPARE(fixture.status(q), status);
    QCOMPARE(fixture.state.correctCount, status == StatusCorrect ? 1 : 0);
    QCOMPARE(fixture.state.incorrectCount, status == StatusCorrect ? 0 : 1);
    QCOMPARE(fixture.state.incompleteCount, status == StatusIncomplete ? 1 : 0);
}

void GradingTest::unansweredItemsAreIncompleteAndIncorrect()
{
    GradingFixture fixture;
    for (int i = 1; i <= 5; ++i)
        fixture.addQuestion(SingleAnswer, 1, 2, {QStringLiteral("a"), QStringLiteral("b")});
    fixture.start({1});
    fixture.answer(1, 2);
    fixture.answer(3, 1);
    fixture.answer(5, 2);

    GradeTest(fixture.bank, fixture.state);

    QCOMPARE(fixture.state.correctCount, 2);
    QCOMPARE(fixture.state.incompleteCount, 2);
    QCOMPARE(fixture.state.incorrectCount, 3);
    QCOMPARE(items(fixture.state.incorrectItems), QList<int>({2, 3, 4}));
    QCOMPARE(fixture.status(2), int(StatusIncomplete));
    QCOMPARE(fixture.status(3), int(StatusIncorrect));
}

void GradingTest::listsItemNumbersNotQuestionNumbers()
{
    GradingFixture fixture;
    for (int i = 1; i <= 4; ++i)
        fixture.addQuestion(Simulation, 1, 0);
    fixture.start({1});
    // Items shown in reverse: item 1 is question 4.
    fixture.state.optRandomQuestions = true;
    fixture.state.rndQueID.fill(4, 0);
    for (int item = 1; item <= 4; ++item)
        fixture.state.rndQueID[item] = 5 - item;
    fixture.answer(4, 1);
    fixture.answer(3, -1);
    fixture.answer(2, 1);

    GradeTest(fixture.bank, fixture.state);

    QCOMPARE(items(fixture.state.incorrectItems), QList<int>({2, 4}));
    QCOMPARE(fixture.status(1), int(StatusIncomplete));
    QCOMPARE(fixture.status(3), int(StatusIncorrect));
}

void GradingTest::talliesPerObjectiveInListOrder()
{
    GradingFixture fixture;
    const QStringList rows = {QStringLiteral("a"), QStringLiteral("b")};
    for (int i = 1; i <= 3; ++i)
        fixture.addQuestion(SingleAnswer, 3, 1, rows); // questions 1..3: objective 3
    fixture.addQuestion(SingleAnswer, 1, 1, rows);     // question 4: objective 1
    fixture.start({3, 1});
    fixture.answer(1, 1);
    fixture.answer(2, 2);
    fixture.answer(3, 1);
    fixture.answer(4, 2);

    GradeTest(fixture.bank, fixture.state);

    QCOMPARE(items(fixture.state.objCorrect), QList<int>({2, 0}));
    QCOMPARE(items(fixture.state.objPercent), QList<int>({67, 0}));
    QCOMPARE(fixture.state.objScoreText[1], QStringLiteral("(2/3)"));
    QCOMPARE(fixture.state.objScoreText[2], QStringLiteral("(0/1)"));
}

void GradingTest::perfectTestHasNoIncorrectItems()
{
    GradingFixture fixture;
    fixture.addQuestion(TypedAnswer, 1, 0, {QStringLiteral("ping")});
    fixture.addQuestion(TextDragAndDrop, 1, 3);
    fixture.start({1});
    fixture.answer(1, QStringLiteral("PING"));
    fixture.answer(2, 1);

    GradeTest(fixture.bank, fixture.state);

    QCOMPARE(fixture.state.scaledScore, 1000);
    QCOMPARE(fixture.state.incorrectCount, 0);
    QVERIFY(fixture.state.incorrectItems.isEmpty());
    QCOMPARE(items(fixture.state.objPercent), QList<int>({100}));
}

void GradingTest::skipsUnknownTypes()
{
    GradingFixture fixture;
    fixture.addQuestion(9, 1);
    fixture.addQuestion(Simulation, 1);
    fixture.start({1});
    fixture.answer(2, 1);

    GradeTest(fixture.bank, fixture.state);

    QCOMPARE(fixture.state.correctCount, 1);
    QCOMPARE(fixture.state.incorrectCount, 0);
    QCOMPARE(fixture.status(1), int(StatusNone));
    QCOMPARE(fixture.state.scaledScore, 500);
}

void GradingTest::checkAnswerClassifiesRunningTest()
{
    GradingFixture fixture;
    fixture.addQuestion(SingleAnswer, 1, 1, {QStringLiteral("a"), QStringLiteral("b")});
    fixture.addQuestion(TypedValues, 1, 0, {QStringLiteral("1"), QStringLiteral("2")});
    fixture.addQuestion(GraphicalDragAndDrop, 1, 2);
    fixture.start({1});
    fixture.answer(1, 2);
    fixture.answer(2, QStringLiteral("."));

    CheckAnswer(fixture.bank, fixture.state, 3);

    QCOMPARE(fixture.state.answeredCount, 2);
    QCOMPARE(fixture.state.incompleteCount, 1);
    QCOMPARE(items(fixture.state.incompleteItems), QList<int>({3}));
    QCOMPARE(fixture.status(1), int(StatusAnswered));
    QCOMPARE(fixture.status(3), int(StatusIncomplete));
    QVERIFY(fixture.state.testActive);

    // Answering the last one leaves no stale entry behind.
    fixture.answer(3, -1);
    CheckAnswer(fixture.bank, fixture.state, 3);
    QCOMPARE(fixture.state.incompleteCount, 0);
    QVERIFY(fixture.state.incompleteItems.isEmpty());
}

QTEST_GUILESS_MAIN(GradingTest)
#include "tst_grading.moc"
