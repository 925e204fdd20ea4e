#include "BankBuilder.h"
#include "engine/CorrectAnswer.h"
#include "engine/InitTest.h"
#include "engine/TestState.h"

#include <QTest>

Q_DECLARE_METATYPE(AnswerValue)

class TestCorrectAnswer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data();
    void texts();
};

void TestCorrectAnswer::texts_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("answerKey");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("shuffled");
    QTest::addColumn<AnswerValue>("answer");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QList<int>>("highlighted");

    const QString right = QStringLiteral("You answered this question correctly.");
    const QString wrong = QStringLiteral("You answered this question incorrectly.");
    const QString unanswered = QStringLiteral("You left this question unanswered.");
    const QString reveal =
        QStringLiteral("Click on the Show Answer button to reveal the correct answer.");
    const QStringList abcd = {u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs};

    // Shuffled: display position p shows choice 5 - p, so choice 1 is on screen as D.
    QTest::newRow("single, shuffled, wrong")
        << int(SingleAnswer) << 0b0001 << abcd << true << AnswerValue(0b0100)
        << u"You answered: B\nThe correct answer is: D"_qs << wrong << QList<int>{4};
    QTest::newRow("single, unanswered")
        << int(SingleAnswer) << 0b0001 << abcd << false << AnswerValue()
        << u"You answered: -\nThe correct answer is: A"_qs << unanswered << QList<int>{1};
    QTest::newRow("multiple, wrong")
        << int(MultipleAnswers) << 0b1001 << abcd << false << AnswerValue(0b0101)
        << u"You answered: A C \nThe correct answers are: A D "_qs << wrong << QList<int>{1, 4};
    QTest::newRow("multiple, shuffled, right")
        << int(MultipleAnswers) << 0b0011 << abcd << true << AnswerValue(0b0011)
        << u"You answered: C D \nThe correct answers are: C D "_qs << right << QList<int>{3, 4};
    QTest::newRow("typed, case differs")
        << int(TypedAnswer) << 0 << QStringList{u"Show Run"_qs} << false
        << AnswerValue(u"SHOW RUN"_qs)
        << u"You answered: SHOW RUN\nThe correct answer is: show run"_qs << right << QList<int>{};
    QTest::newRow("values, lower case")
        << int(TypedValues) << 0 << QStringList{u"fe80"_qs, u"1a"_qs} << false
        << AnswerValue(u"FE80.1a"_qs) << u"You answered: FE80.1a\nThe correct answer is: FE80.1A"_qs
        << right << QList<int>{};
    QTest::newRow("values, unanswered")
        << int(TypedValues) << 0 << QStringList{u"fe80"_qs, u"1a"_qs} << false
        << AnswerValue(u""_qs) << u"You answered: -\nThe correct answer is: FE80.1A"_qs
        << unanswered << QList<int>{};
    QTest::newRow("drag and drop, wrong") << int(TextDragAndDrop) << 2 << abcd << false
                                          << AnswerValue(-1) << reveal << wrong << QList<int>{};
    QTest::newRow("drag and drop, unanswered")
        << int(GraphicalDragAndDrop) << 2 << abcd << false << AnswerValue(0) << reveal << unanswered
        << QList<int>{};
    QTest::newRow("simulation, right")
        << int(Simulation) << 0 << QStringList{u"t1"_qs, u"t2"_qs} << false << AnswerValue(1)
        << u"The correct answers for this simulation question are:\n\nTask #1: Task\nAnswer: "
           "R1(config)#cmd\n\nTask #2: Task\nAnswer: R1(config)#cmd"_qs
        << right << QList<int>{};
}

void TestCorrectAnswer::texts()
{
    QFETCH(int, type);
    QFETCH(int, answerKey);
    QFETCH(QStringList, rows);
    QFETCH(bool, shuffled);
    QFETCH(AnswerValue, answer);

    QuestionBank bank = BankBuilder().objectives(1).question(1, type, int(rows.size())).bank();
    bank.questions[1].answerKey = qint16(answerKey);
    bank.questions[1].explanation = u"Because."_qs;
    bank.questions[1].reference = u"RFC 1"_qs;
    bank.prompts.append(Prompt{1, u"(config)#"_qs});
    for (int row = 1; row <= bank.choiceRows.size(); ++row)
        bank.choiceRows[row].text = rows.value(row - 1);
    TestState state;
    InitRecordIndex(bank, state, 1);
    state.answerRecs.fill(1, AnswerRecord{answer});
    state.optRandomAnswers = shuffled;
    state.ansOrder.fill(1, {});
    for (int p = 1; p <= 4; ++p)
        state.ansOrder[1].append(5 - p);

    const CorrectAnswerDisplay display = correctAnswerDisplay(bank, state, 1);
    QTEST(display.answerLines.value_or(QString()), "lines");
    QTEST(display.result, "result");
    QList<int> highlighted;
    for (int p = 1; p <= display.highlighted.size(); ++p) {
        if (display.highlighted[p])
            highlighted.append(p);
    }
    QTEST(highlighted, "highlighted");
    QCOMPARE(display.explanation, u"Because."_qs);
    QCOMPARE(display.objectiveName, u"Objective 1"_qs);
    QCOMPARE(display.reference, u"RFC 1"_qs);
}

QTEST_GUILESS_MAIN(TestCorrectAnswer)
#include "tst_correctanswer.moc"
