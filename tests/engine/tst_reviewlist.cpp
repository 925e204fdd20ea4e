#include "BankBuilder.h"
#include "engine/Grading.h"
#include "engine/InitTest.h"
#include "engine/ReviewList.h"
#include "engine/Selection.h"
#include "engine/TestState.h"

#include <QTest>

class TestReviewList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statusesAndButtons_data();
    void statusesAndButtons();
};

void TestReviewList::statusesAndButtons_data()
{
    QTest::addColumn<QList<int>>("rightItems");
    QTest::addColumn<QList<int>>("wrongItems");
    QTest::addColumn<QList<int>>("markedItems");
    QTest::addColumn<bool>("graded");
    QTest::addColumn<QString>("symbols");
    QTest::addColumn<QString>("legend");
    QTest::addColumn<QString>("enabled"); // cmReview1..4

    QTest::newRow("running, all answered, none marked")
        << QList<int>{1, 2} << QList<int>{3, 4} << QList<int>{} << false << u"!!!!"_qs
        << u"[?] = Incomplete (0) | [!] = Answered (4)"_qs << u"1001"_qs;
    QTest::newRow("running, two unanswered, one marked")
        << QList<int>{1} << QList<int>{2} << QList<int>{3} << false << u"!!??"_qs
        << u"[?] = Incomplete (2) | [!] = Answered (2)"_qs << u"1111"_qs;
    // The legend counts an unanswered item as incomplete only, not also as incorrect.
    QTest::newRow("graded, one unanswered, two wrong")
        << QList<int>{1} << QList<int>{2, 3} << QList<int>{2} << true << u"CXX?"_qs
        << u"[?] = Incomplete (1) | [C] = Correct (1) | [X] = Incorrect (2)"_qs << u"1011"_qs;
    QTest::newRow("graded, all right")
        << QList<int>{1, 2, 3, 4} << QList<int>{} << QList<int>{1} << true << u"CCCC"_qs
        << u"[?] = Incomplete (0) | [C] = Correct (4) | [X] = Incorrect (0)"_qs << u"1001"_qs;
}

void TestReviewList::statusesAndButtons()
{
    QFETCH(QList<int>, rightItems);
    QFETCH(QList<int>, wrongItems);
    QFETCH(QList<int>, markedItems);
    QFETCH(bool, graded);

    const QuestionBank bank =
        BankBuilder().objectives(1).questions(1, 4).examQuestions(4, 60).bank();
    TestState state;
    QVERIFY(InitTest(StudyMode, bank, state));
    for (int item = 1; item <= 4; ++item) {
        AnswerRecord &record = state.answerRecs[GetQueID(state, item)];
        if (rightItems.contains(item))
            record.answer = 1;
        if (wrongItems.contains(item))
            record.answer = 2;
        record.marked = markedItems.contains(item);
    }
    if (graded)
        GradeTest(bank, state);

    const ReviewListContents contents = activateReviewList(bank, state);
    QString symbols;
    for (const ReviewRow &row : contents.rows) {
        symbols += row.statusSymbol;
        QCOMPARE(row.marked, !graded && markedItems.contains(int(symbols.size())));
    }
    QTEST(symbols, "symbols");
    QTEST(contents.legend, "legend");
    QString enabled;
    for (bool button : contents.enabled)
        enabled += button ? u'1' : u'0';
    QTEST(enabled, "enabled");
    QCOMPARE(contents.rowsCheckable, !graded);
}

QTEST_GUILESS_MAIN(TestReviewList)
#include "tst_reviewlist.moc"
