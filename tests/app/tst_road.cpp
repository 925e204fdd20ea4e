#include "BankBuilder.h"
#include "FakeClock.h"
#include "FakeMessageBoxes.h"
#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "app/ReadyWindow.h"
#include "app/StartWindow.h"
#include "app/TestRoad.h"
#include "engine/Selection.h"
#include "present/ScoreReport.h"
#include "testwindow/ReviewListWindow.h"
#include "testwindow/TestWindow.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

template <typename Control> Control *element(QWidget *window, const char *name, int index)
{
    for (Control *control : window->findChildren<Control *>(QLatin1String(name))) {
        if (control->property("index").toInt() == index)
            return control;
    }
    return nullptr;
}

void click(QWidget *window, const char *name)
{
    auto *button = window->findChild<QPushButton *>(QLatin1String(name));
    QVERIFY2(button, name);
    QVERIFY2(button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

bool shownMessage(const FakeMessageBoxes &boxes, const QString &title)
{
    for (const MessageBoxRequest &request : boxes.shown) {
        if (request.title == title)
            return true;
    }
    return false;
}

} // namespace

class RoadTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void studyTestFromStartToReportAndBack();
    void examTestFromStartToReportAndBack();
    void timeRunsOutWithExhibitOpenAndAnswerTyped();
    void mainMenuNoLeavesReportAndReviewAsTheyWere();
    void getReadyMainMenuReturnsWithoutStarting();
    void failedSetUpSaysSorry();
    void accessKeysChooseStudyAndAskToExit();

private:
    StartWindow *start() const { return m_road->startWindow(); }
    ReadyWindow *ready() const { return m_road->readyWindow(); }
    TestWindow *test() const { return m_road->testWindow(); }
    ScoreReport *report() const { return m_road->scoreReport(); }
    QString status() const { return m_main->statusPanelText(QStringLiteral("info")); }
    // Answers the item on screen through its controls, right or wrong.
    void answerItem(bool right);

    QTemporaryDir m_moduleFolder;
    std::unique_ptr<FakeClock> m_clock;
    std::unique_ptr<FakeMessageBoxes> m_boxes;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_main;
    TestRoad *m_road = nullptr;
};

void RoadTest::init()
{
    m_clock = std::make_unique<FakeClock>(QDateTime(QDate(2026, 12, 6), QTime(9, 0)));
    m_boxes = std::make_unique<FakeMessageBoxes>();
    m_context = std::make_unique<AppContext>();
    BankBuilder builder;
    builder.objectives(3)
        .question(1, SingleAnswer, 4)
        .question(2, MultipleAnswers, 4)
        .question(3, TypedAnswer)
        .question(1, TypedValues, 4)
        .question(2, SingleAnswer, 3)
        .question(3, MultipleAnswers, 5)
        .examQuestions(6, 90);
    QuestionBank bank = builder.bank();
    bank.testInfo.examCode = QStringLiteral("512-330");
    bank.testInfo.examTitle = QStringLiteral("NTCX Certified Network Associate");
    bank.testInfo.passingScore = 825;
    bank.testInfo.description = QStringLiteral("Sixty questions.");
    bank.testInfo.notes = QStringLiteral("Good luck.");
    bank.questions[2].answerKey = 0b0101;
    bank.questions[6].answerKey = 0b10010;
    bank.questions[1].exhibitFile = QStringLiteral("q1.txt");
    m_context->bank = bank;
    m_context->moduleFolder = m_moduleFolder.path() + QLatin1Char('/');
    QFile exhibit(m_moduleFolder.filePath(QStringLiteral("q1.txt")));
    QVERIFY(exhibit.open(QIODevice::WriteOnly));
    exhibit.write("R1# show ip route\r\n");
    exhibit.close();

    m_main = std::make_unique<MainWindow>();
    m_main->BuildMenu();
    m_road = new TestRoad(*m_context, *m_main, QStringLiteral("Ada Lovelace"));
    m_main->resize(1024, 768);
    m_main->show();
    m_road->showStart();
}

void RoadTest::cleanup()
{
    QCOMPARE(m_boxes->unexpected, 0);
    m_main.reset();
    m_context.reset();
    m_boxes.reset();
    m_clock.reset();
}

void RoadTest::answerItem(bool right)
{
    const TestState &state = m_context->state;
    const Question &question = m_context->bank.questions[state.curQ];
    const int first = state.mcIndex[state.curQ].rowIndex;
    TestWindow *window = test();
    switch (question.questionType) {
    case SingleAnswer:
    case MultipleAnswers:
        for (int position = 1; position <= question.choiceCount; ++position) {
            const int choice =
                state.optRandomAnswers ? state.ansOrder[state.curQ][position] : position;
            const bool correct = question.answerKey & (1 << (choice - 1));
            if (correct != right)
                continue;
            if (question.questionType == SingleAnswer) {
                QTest::mouseClick(element<QRadioButton>(window, "opChc", position), Qt::LeftButton);
                break;
            }
            QTest::mouseClick(element<QCheckBox>(window, "ckChc", position), Qt::LeftButton);
        }
        break;
    case TypedAnswer: {
        QLineEdit *box = element<QLineEdit>(window, "txTI", 0);
        box->selectAll();
        QTest::keyClicks(box, right ? m_context->bank.choiceRows[first].text.toUpper()
                                    : QStringLiteral("wrong"));
        break;
    }
    case TypedValues:
        for (int field = 1; field <= question.choiceCount; ++field) {
            QLineEdit *box = element<QLineEdit>(window, "txTI", field);
            box->selectAll();
            QTest::keyClicks(box, right ? m_context->bank.choiceRows[first + field - 1].text
                                        : QStringLiteral("x"));
        }
        break;
    }
}

void RoadTest::studyTestFromStartToReportAndBack()
{
    QVERIFY(start()->isVisible());
    QCOMPARE(status(), QStringLiteral("Main Menu"));
    QVERIFY(!m_main->menuItem(QStringLiteral("keyFont"))->isEnabled());

    click(start(), "cmStudy");
    QVERIFY(!start()->isVisible());
    QVERIFY(ready()->isVisible());
    QCOMPARE(status(), QStringLiteral("Get Ready!"));
    QCOMPARE(ready()->findChild<QLabel *>(QStringLiteral("lbTestF"))->text(),
             QStringLiteral("Get Ready, Ada!"));

    click(ready(), "cmStart");
    QVERIFY(!ready()->isVisible());
    QVERIFY(test()->isVisible());
    QCOMPARE(test()->geometry(), m_main->screenArea()->rect());
    QVERIFY(m_main->menuItem(QStringLiteral("keyFont"))->isEnabled());

    // Item 2 stays unanswered and item 3 is answered wrong; Study mode lets us move on.
    const int length = m_context->state.testLength;
    QCOMPARE(length, 6);
    for (int item = 1; item <= length; ++item) {
        QCOMPARE(m_context->state.curItem, item);
        if (item != 2)
            answerItem(item != 3);
        click(test(), "cmNext");
    }
    // Past the last item the item review list takes over; Back to Test returns.
    QVERIFY(m_road->reviewList() && m_road->reviewList()->isVisible());
    click(m_road->reviewList(), "cmReview1");
    QVERIFY(test()->isVisible());

    m_boxes->answerNext(MessageButton::Yes);
    click(test(), "cmEnd");
    QCOMPARE(m_boxes->shown.last().text,
             QStringLiteral("Would you like to end and grade the test?"));
    QVERIFY(report() && report()->isVisible());
    QVERIFY(!test()->isVisible());
    QCOMPARE(status(), QStringLiteral("Test result"));
    QVERIFY(!m_main->menuItem(QStringLiteral("keyFont"))->isEnabled());
    QCOMPARE(report()->findChild<QLabel *>(QStringLiteral("lbScore"))->text(),
             QStringLiteral("667/1000 (4/6)"));
    QCOMPARE(report()->findChild<QLabel *>(QStringLiteral("lbGrade"))->text(),
             QStringLiteral("FAIL - Sorry, try harder next time!"));
    QCOMPARE(m_context->state.incorrectCount, 2);

    click(report(), "cmIncorrect");
    QVERIFY(!report()->isVisible());
    QVERIFY(test()->isVisible());
    QCOMPARE(m_context->state.navMode, int(NavReviewIncorrect));
    QCOMPARE(m_context->state.curItem, 2);
    QCOMPARE(m_context->state.curQ, GetQueID(m_context->state, 2));
    click(test(), "cmNext");
    QCOMPARE(m_context->state.curItem, 3);
    click(test(), "cmEnd");
    QVERIFY(report()->isVisible());

    click(report(), "cmAll");
    QCOMPARE(m_context->state.navMode, int(NavReviewAll));
    QCOMPARE(m_context->state.curItem, 1);
    QVERIFY(test()->isVisible());
    click(test(), "cmEnd");
    QVERIFY(report()->isVisible());

    m_boxes->answerNext(MessageButton::Yes);
    click(report(), "cmMain");
    QVERIFY(start()->isVisible());
    QCOMPARE(status(), QStringLiteral("Main Menu"));
    QTRY_VERIFY(!test() && !report());

    // A new test can follow at once.
    click(start(), "cmStudy");
    QVERIFY(ready()->isVisible());
}

void RoadTest::examTestFromStartToReportAndBack()
{
    click(start(), "cmExam");
    QVERIFY(ready()->isVisible());
    QVERIFY(ready()
                ->findChild<QLabel *>(QStringLiteral("lbMode"))
                ->text()
                .endsWith(QStringLiteral(" You have 90 minute(s) to complete this test.")));
    click(ready(), "cmStart");
    QVERIFY(test()->isVisible());
    QCOMPARE(test()->findChild<QLabel *>(QStringLiteral("lbTime"))->text(),
             QStringLiteral("Time Left: 01:30:00"));

    const int length = m_context->state.testLength;
    for (int item = 1; item <= length; ++item) {
        m_clock->advanceSecs(60);
        answerItem(true);
        if (item == length)
            m_boxes->answerNext(MessageButton::Yes);
        click(test(), "cmNext");
    }
    QCOMPARE(m_boxes->shown.last().title, QStringLiteral("Ending Test..."));
    QVERIFY(report() && report()->isVisible());
    QVERIFY(!test()->isVisible());
    QCOMPARE(report()->findChild<QLabel *>(QStringLiteral("lbGrade"))->text(),
             QStringLiteral("Pass - Perfect!"));
    QVERIFY(!report()->findChild<QPushButton *>(QStringLiteral("cmIncorrect"))->isEnabled());

    click(report(), "cmAll");
    QVERIFY(test()->isVisible());
    QCOMPARE(test()->findChild<QPushButton *>(QStringLiteral("cmEnd"))->text(),
             QStringLiteral("View &Score"));
    click(test(), "cmEnd");

    m_boxes->answerNext(MessageButton::Yes);
    click(report(), "cmMain");
    QVERIFY(start()->isVisible());
    QVERIFY(!ready()->isVisible());
}

void RoadTest::timeRunsOutWithExhibitOpenAndAnswerTyped()
{
    click(start(), "cmExam");
    click(ready(), "cmStart");
    // Go to the question with the exhibit, answering the items before it, and type its
    // answer without moving on.
    while (m_context->state.curQ != 1) {
        answerItem(true);
        click(test(), "cmNext");
    }
    const int exhibitItem = m_context->state.curItem;
    answerItem(true);

    bool exhibitWasOpen = false;
    QTimer::singleShot(0, [&] {
        for (QWidget *window : QApplication::topLevelWidgets())
            exhibitWasOpen |=
                window->objectName() == QStringLiteral("frExhibit") && window->isVisible();
        m_clock->advanceSecs(90 * 60);
        m_boxes->answerNext(MessageButton::Ok);
        test()->timerTick();
    });
    click(test(), "cmExhibit");

    QVERIFY(exhibitWasOpen);
    QVERIFY(shownMessage(*m_boxes, QStringLiteral("Time is Up!")));
    for (QWidget *window : QApplication::topLevelWidgets())
        QVERIFY(!(window->objectName() == QStringLiteral("frExhibit") && window->isVisible()));
    QVERIFY(report() && report()->isVisible());
    QVERIFY(!test()->isVisible());
    QVERIFY(!m_context->state.testActive);
    // The answer on screen was saved before grading.
    QCOMPARE(m_context->state.answerRecs[1].status, int(StatusCorrect));
    QCOMPARE(m_context->state.correctCount, exhibitItem);
    QCOMPARE(m_context->state.incompleteCount, m_context->state.testLength - exhibitItem);
}

void RoadTest::mainMenuNoLeavesReportAndReviewAsTheyWere()
{
    click(start(), "cmStudy");
    click(ready(), "cmStart");
    answerItem(false);
    m_boxes->answerNext(MessageButton::Yes);
    click(test(), "cmEnd");
    const TestState graded = m_context->state;
    const QString score = report()->findChild<QLabel *>(QStringLiteral("lbScore"))->text();

    m_boxes->answerNext(MessageButton::No);
    click(report(), "cmMain");

    QCOMPARE(m_boxes->shown.last().title, QStringLiteral("End Session?"));
    QVERIFY(report()->isVisible());
    QVERIFY(test() && !test()->isVisible());
    QVERIFY(!start()->isVisible());
    QCOMPARE(report()->findChild<QLabel *>(QStringLiteral("lbScore"))->text(), score);
    QCOMPARE(m_context->state.incorrectItems, graded.incorrectItems);
    QCOMPARE(m_context->state.navMode, graded.navMode);
    // The review still works.
    click(report(), "cmIncorrect");
    QVERIFY(test()->isVisible());
}

void RoadTest::getReadyMainMenuReturnsWithoutStarting()
{
    click(start(), "cmStudy");
    click(ready(), "cmMain");
    QVERIFY(start()->isVisible());
    QVERIFY(!ready()->isVisible());
    QVERIFY(!test());
    QCOMPARE(status(), QStringLiteral("Main Menu"));
}

void RoadTest::failedSetUpSaysSorry()
{
    // No objective has a question: the selection says so, then the start screen.
    m_context->bank.questions.clear();
    for (Objective &objective : m_context->bank.objectives)
        objective.questionCount = 0;
    m_context->bank.bankQuestionCount = 0;
    click(start(), "cmExam");
    QCOMPARE(m_boxes->shown.last().title, QStringLiteral("Sorry!"));
    QCOMPARE(m_boxes->shown.last().text,
             QStringLiteral("An error has occured in preparing the test module. Please retry "
                            "again."));
    QCOMPARE(m_boxes->shown.last().icon, MessageIcon::NoIcon);
    QVERIFY(start()->isVisible());
    QVERIFY(!ready()->isVisible());
}

void RoadTest::accessKeysChooseStudyAndAskToExit()
{
    // Access keys reach the screens of the active window only.
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    QTest::keyClick(start(), Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(ready()->isVisible());
    QCOMPARE(m_context->state.testMode, int(StudyMode));
    click(ready(), "cmMain");
    m_boxes->answerNext(MessageButton::Cancel);
    QTest::keyClick(start(), Qt::Key_X, Qt::AltModifier);
    QCOMPARE(m_boxes->shown.size(), 1);
    QCOMPARE(m_boxes->shown[0].title, QStringLiteral("Exit Quendra..."));
    QVERIFY(start()->isVisible());
}

QTEST_MAIN(RoadTest)
#include "tst_road.moc"
