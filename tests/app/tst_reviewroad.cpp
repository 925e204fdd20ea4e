#include "BankBuilder.h"
#include "NextModal.h"
#include "RoadFixture.h"
#include "Widgets.h"
#include "app/ReadyWindow.h"
#include "app/StartWindow.h"
#include "engine/Selection.h"
#include "present/ScoreReport.h"
#include "testwindow/ReviewListWindow.h"
#include "testwindow/TestWindow.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

namespace {

bool anyChoiceYellow(QWidget *window)
{
    for (QLabel *label : window->findChildren<QLabel *>(u"lbChc"_qs)) {
        if (label->palette().color(QPalette::Window) == QColor(255, 255, 0))
            return true;
    }
    return false;
}

} // namespace

// Study, Show Answer, the item review list with its marks, grading from it and the list of
// the graded test.
class ReviewRoadTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void studyShowAnswerListGradeAndReview();
};

void ReviewRoadTest::studyShowAnswerListGradeAndReview()
{
    // Items: two single-answer questions with four choices, a text drag-and-drop question
    // and a typed answer.
    QuestionBank bank = BankBuilder()
                            .objectives(1)
                            .question(1, SingleAnswer, 4)
                            .question(1, SingleAnswer, 4)
                            .question(1, TextDragAndDrop, 3)
                            .question(1, TypedAnswer)
                            .examQuestions(4, 60)
                            .bank();
    for (Question &question : bank.questions)
        question.explanation = u"Why "_qs + question.questionText;
    RoadFixture app(bank);
    app.show();
    TestState &state = app.context.state;
    TestRoad *road = app.road;
    click(road->startWindow(), u"cmStudy"_qs);
    click(road->readyWindow(), u"cmStart"_qs);
    TestWindow *test = road->testWindow();
    const auto itemOf = [&](int q) {
        for (int item = 1; item <= state.testLength; ++item) {
            if (GetQueID(state, item) == q)
                return item;
        }
        return 0;
    };
    const auto goTo = [&](int q) {
        state.curItem = itemOf(q);
        test->GoToItem(state.curItem);
    };

    // Question 1 answered wrong, its answer shown: the correct choice turns yellow, and no
    // longer on question 2, which has as many choices.
    goTo(1);
    const int wrongPosition = state.ansOrder[1][1] == 1 ? 2 : 1;
    QTest::mouseClick(element<QRadioButton>(test, u"opChc"_qs, wrongPosition), Qt::LeftButton);
    click(test, u"cmAnswer"_qs);
    QVERIFY(anyChoiceYellow(test));
    QVERIFY(test->findChild<QLabel *>(u"lbExplain"_qs)->isVisible());
    goTo(2);
    QVERIFY(!anyChoiceYellow(test));
    QVERIFY(!test->findChild<QLabel *>(u"lbExplain"_qs)->isVisible());

    // Show Answer on the drag-and-drop question opens its window showing the answer.
    goTo(3);
    QString opened;
    bool showingAnswer = false;
    onNextModal(this, opened, [&](QWidget *window) {
        showingAnswer = state.showingAnswer;
        static_cast<QDialog *>(window)->accept();
    });
    click(test, u"cmAnswer"_qs);
    QCOMPARE(opened, u"frTDnD"_qs);
    QVERIFY(showingAnswer);
    QVERIFY(!state.showingAnswer);

    // A mark set in the list reaches the test window; Review Marked walks it.
    click(test, u"cmList"_qs);
    ReviewListWindow *list = road->reviewList();
    QVERIFY(list && list->isVisible() && !test->isVisible());
    auto *lvList = list->findChild<QTreeWidget *>(u"lvList"_qs);
    auto *reviewMarked = list->findChild<QPushButton *>(u"cmReview2"_qs);
    QVERIFY(!reviewMarked->isEnabled());
    lvList->topLevelItem(itemOf(4) - 1)->setCheckState(0, Qt::Checked);
    QVERIFY(state.answerRecs[4].marked);
    QVERIFY(reviewMarked->isEnabled());
    click(list, u"cmReview2"_qs);
    QVERIFY(test->isVisible() && !list->isVisible());
    QCOMPARE(state.curQ, 4);
    QVERIFY(test->findChild<QCheckBox *>(u"ckMark"_qs)->isChecked());
    click(test, u"cmNext"_qs);
    QVERIFY(list->isVisible());
    QCOMPARE(state.reviewPosMarked, 1);

    // Grade Test from the list.
    app.boxes.answerNext(MessageButton::Yes);
    click(list, u"cmReview4"_qs);
    QVERIFY(road->scoreReport()->isVisible() && !list->isVisible());
    QCOMPARE(state.incorrectCount, 4);

    // The list after grading shows results without marks, then returns to the report.
    click(road->scoreReport(), u"cmItem"_qs);
    QVERIFY(list->isVisible());
    QVERIFY(!lvList->topLevelItem(0)->data(0, Qt::CheckStateRole).isValid());
    QVERIFY(!reviewMarked->isEnabled());
    click(list, u"cmReview4"_qs);
    QVERIFY(road->scoreReport()->isVisible());

    app.boxes.answerNext(MessageButton::Yes);
    click(road->scoreReport(), u"cmMain"_qs);
    QVERIFY(road->startWindow()->isVisible());
    QTRY_VERIFY(!road->reviewList());
    QCOMPARE(app.boxes.unexpected, 0);
}

QTEST_MAIN(ReviewRoadTest)
#include "tst_reviewroad.moc"
