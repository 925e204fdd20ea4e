#include "BankBuilder.h"
#include "engine/AnswerEncoding.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// q1: single answer, 4 choices; q2: multiple answers, 4 choices, correct 1, 3 and 4;
// q3: typed answer; q4: typed values, 3 boxes; q5: typed values, 1 box; q6: simulation.
QuestionBank answerBank()
{
    BankBuilder builder;
    builder.objectives(1)
        .question(1, SingleAnswer, 4)
        .question(1, MultipleAnswers, 4)
        .question(1, TypedAnswer)
        .question(1, TypedValues, 3)
        .question(1, TypedValues, 1)
        .question(1, Simulation, 2);
    QuestionBank bank = builder.bank();
    bank.questions[2].answerKey = 0b1101;
    return bank;
}

TestState freshState(const QuestionBank &bank)
{
    TestState state;
    state.answerRecs = OneBasedArray<AnswerRecord>(bank.bankQuestionCount);
    state.ansOrder = OneBasedArray<OneBasedArray<int>>(bank.bankQuestionCount);
    state.optPrevious = true;
    state.testActive = true;
    return state;
}

} // namespace

Q_DECLARE_METATYPE(AnswerValue)
Q_DECLARE_METATYPE(AnswerRequirement)

class TestAnswers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void numOfChoicesCountsOnlyTheChoiceBits();
    void dottedValuesRoundTrip_data();
    void dottedValuesRoundTrip();
    void taskAnswersAreNotTouchedAndMarksNeedFreeNavigation();
    void answerRequiredRule_data();
    void answerRequiredRule();
};

void TestAnswers::numOfChoicesCountsOnlyTheChoiceBits()
{
    QuestionBank bank = answerBank();
    QCOMPARE(NumOfChoices(bank, 2, 0b1011), 3);
    bank.questions[2].choiceCount = 3;
    QCOMPARE(NumOfChoices(bank, 2, 0b1011), 2);
    // More rows than a mask has bits (a simulation of 40 tasks).
    bank.questions[2].choiceCount = 40;
    QCOMPARE(NumOfChoices(bank, 2, -1), 32);
}

void TestAnswers::dottedValuesRoundTrip_data()
{
    // The boxes' texts separated by "|".
    QTest::addColumn<int>("q");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shownAgain");
    const auto row = [](const char *name, int q, const char *typed, const char *stored,
                        const char *shownAgain) {
        QTest::newRow(name) << q << QString::fromUtf8(typed) << QString::fromUtf8(stored)
                            << QString::fromUtf8(shownAgain);
    };
    row("empty middle", 4, "a||c", "a..c", "a||c");
    row("all blank", 4, " ||", "..", "||");
    row("trimmed", 4, " 1 |2 | 3", "1.2.3", "1|2|3");
    // A typed "." shifts the fields, but the last box keeps the rest, so nothing is lost.
    row("typed dot", 4, "1.2|3|4", "1.2.3.4", "1|2|3.4");
    row("one box", 5, "42", "42", "42");
}

void TestAnswers::dottedValuesRoundTrip()
{
    QFETCH(int, q);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, shownAgain);
    const QuestionBank bank = answerBank();
    TestState state = freshState(bank);
    AnswerControlState controls = drawnControlState(bank, q);
    controls.values.clear();
    for (const QString &text : typed.split(u'|'))
        controls.values.append(text);
    storeAnswer(bank, state, q, controls);
    QCOMPARE(state.answerRecs[q].answer, AnswerValue(stored));

    AnswerControlState shown = drawnControlState(bank, q);
    restoreAnswer(bank, state, q, shown);
    QCOMPARE(QStringList(shown.values.begin(), shown.values.end()).join(u'|'), shownAgain);

    // Leaving the item again stores the same text.
    storeAnswer(bank, state, q, shown);
    QCOMPARE(state.answerRecs[q].answer, AnswerValue(stored));
}

void TestAnswers::taskAnswersAreNotTouchedAndMarksNeedFreeNavigation()
{
    const QuestionBank bank = answerBank();
    TestState state = freshState(bank);
    state.answerRecs[6].answer = -1;
    AnswerControlState controls = drawnControlState(bank, 6);
    controls.marked = true;
    storeAnswer(bank, state, 6, controls);
    QCOMPARE(state.answerRecs[6].answer, AnswerValue(-1));
    QVERIFY(state.answerRecs[6].marked);

    state.optPrevious = false;
    controls = drawnControlState(bank, 3);
    controls.marked = true;
    storeAnswer(bank, state, 3, controls);
    QVERIFY(!state.answerRecs[3].marked);
}

void TestAnswers::answerRequiredRule_data()
{
    QTest::addColumn<int>("q");
    QTest::addColumn<AnswerValue>("answer");
    QTest::addColumn<AnswerRequirement>("expected");
    QTest::newRow("never answered") << 1 << AnswerValue() << AnswerRequirement::Unanswered;
    QTest::newRow("no choice") << 1 << AnswerValue(0) << AnswerRequirement::Unanswered;
    QTest::newRow("one choice") << 1 << AnswerValue(2) << AnswerRequirement::Accepted;
    QTest::newRow("two of three") << 2 << AnswerValue(0b0101) << AnswerRequirement::WrongCount;
    QTest::newRow("four of three") << 2 << AnswerValue(0b1111) << AnswerRequirement::WrongCount;
    QTest::newRow("three wrong ones") << 2 << AnswerValue(0b0111) << AnswerRequirement::Accepted;
    QTest::newRow("empty text") << 3 << AnswerValue(QString()) << AnswerRequirement::Unanswered;
    QTest::newRow("separators only") << 4 << AnswerValue(u".."_s) << AnswerRequirement::Accepted;
}

void TestAnswers::answerRequiredRule()
{
    QFETCH(int, q);
    QFETCH(AnswerValue, answer);
    QFETCH(AnswerRequirement, expected);
    const QuestionBank bank = answerBank();
    TestState state = freshState(bank);
    state.answerRecs[q].answer = answer;
    QCOMPARE(checkAnswerRequired(bank, state, q), expected);
}

QTEST_APPLESS_MAIN(TestAnswers)
#include "tst_answers.moc"
