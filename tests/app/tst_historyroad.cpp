#include "BankBuilder.h"
#include "NextModal.h"
#include "RoadFixture.h"
#include "Widgets.h"
#include "app/HistoryCommands.h"
#include "app/ReadyWindow.h"
#include "app/StartWindow.h"
#include "engine/Selection.h"
#include "history/HistoryStore.h"
#include "present/ScoreReport.h"
#include "testwindow/TestWindow.h"

#include <QAction>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <optional>

// Graded tests go into the history; the history window shows them, sets up a Custom test
// of the weakest objective or of the questions answered wrongly, and reviews a recorded
// test; a history that cannot be opened leaves the tests alone.
class HistoryRoadTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void recordShowAndPractise();
    void damagedHistoryLetsTheTestGoOn();
    void practiseWrongAnswers();
    void reviewRecordedTest();

private:
    // Opens the history window and clicks one of its buttons.
    void clickInHistory(const QString &button);
    // A Study test with the questions of objective 1 answered right, the rest not at all,
    // graded and left at its score report.
    void takeStudyTest();

    QTemporaryDir m_dir;
    std::optional<RoadFixture> m_app;
};

void HistoryRoadTest::init()
{
    m_app.emplace(
        BankBuilder().objectives(2).questions(1, 2).questions(2, 2).examQuestions(4, 60).bank());
    m_app->context.historyPath = m_dir.filePath(QString::fromLatin1(QTest::currentTestFunction()));
    new HistoryCommands(m_app->context, m_app->main, *m_app->road, u"Ada"_qs);
    m_app->show();
}

void HistoryRoadTest::cleanup()
{
    QCOMPARE(m_app->boxes.unexpected, 0);
    m_app.reset();
}

void HistoryRoadTest::takeStudyTest()
{
    TestState &state = m_app->context.state;
    click(m_app->road->startWindow(), u"cmStudy"_qs);
    click(m_app->road->readyWindow(), u"cmStart"_qs);
    TestWindow *test = m_app->road->testWindow();
    for (int item = 1; item <= state.testLength; ++item) {
        state.curItem = item;
        test->GoToItem(item);
        const int q = GetQueID(state, item);
        if (m_app->context.bank.questions[q].objectiveNo != 1)
            continue;
        const int position = int(std::find(state.ansOrder[q].begin(), state.ansOrder[q].end(), 1) -
                                 state.ansOrder[q].begin()) +
                             1;
        QTest::mouseClick(element<QRadioButton>(test, u"opChc"_qs, position), Qt::LeftButton);
    }
    m_app->clock.advanceSecs(300);
    test->endTest();
    QVERIFY(m_app->road->scoreReport() && m_app->road->scoreReport()->isVisible());
    QCOMPARE(state.correctCount, 2);
}

void HistoryRoadTest::recordShowAndPractise()
{
    // Nothing is opened before the first graded test.
    QVERIFY(!QFile::exists(m_app->context.historyPath));
    takeStudyTest();

    HistoryStore store(m_app->context.historyPath);
    QVERIFY(store.open());
    const QList<Attempt> attempts = store.attempts();
    QCOMPARE(attempts.size(), 1);
    QCOMPARE(attempts[0].secondsUsed(), 300);

    QString opened;
    int attemptRows = 0;
    QString weakest;
    onNextModal(this, opened, [&](QWidget *window) {
        attemptRows = window->findChild<QTreeWidget *>(u"lvAttempts"_qs)->topLevelItemCount();
        weakest = window->findChild<QTreeWidget *>(u"lvTrends"_qs)->topLevelItem(0)->text(0);
        click(window, u"cmPractice"_qs);
    });
    m_app->main.menuItem(u"keyHistory"_qs)->trigger();
    QCOMPARE(opened, u"frmHistory"_qs);
    QCOMPARE(attemptRows, 1);
    QCOMPARE(weakest, u"Objective 2"_qs);

    // The report was left for a Custom test of objective 2 alone.
    const TestState &state = m_app->context.state;
    QVERIFY(m_app->road->readyWindow()->isVisible());
    QCOMPARE(state.testMode, int(CustomMode));
    QCOMPARE(state.testLength, 2);
    for (int item = 1; item <= state.testLength; ++item)
        QCOMPARE(m_app->context.bank.questions[GetQueID(state, item)].objectiveNo, 2);
}

void HistoryRoadTest::damagedHistoryLetsTheTestGoOn()
{
    QFile file(m_app->context.historyPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, '\x7f'));
    file.close();

    takeStudyTest();

    // Weak Areas goes by the test on screen; the second graded test says nothing more.
    click(m_app->road->scoreReport(), u"cmPractice"_qs);
    QVERIFY(m_app->road->readyWindow()->isVisible());
    QCOMPARE(m_app->context.state.testLength, 2);
    click(m_app->road->readyWindow(), u"cmStart"_qs);
    m_app->road->testWindow()->endTest();
    QCOMPARE(m_app->boxes.shown.size(), 1);
    QCOMPARE(m_app->boxes.shown[0].title, u"Test History"_qs);
    QVERIFY(m_app->boxes.shown[0].text.contains(m_app->context.historyPath));
    QCOMPARE(m_app->boxes.shown[0].icon, MessageIcon::Warning);
}

void HistoryRoadTest::clickInHistory(const QString &button)
{
    QString opened;
    onNextModal(this, opened, [&](QWidget *window) { click(window, button); });
    m_app->main.menuItem(u"keyHistory"_qs)->trigger();
    QCOMPARE(opened, u"frmHistory"_qs);
}

// Questions 3 and 4, of objective 2, were left unanswered.
void HistoryRoadTest::practiseWrongAnswers()
{
    takeStudyTest();
    QuestionBank &bank = m_app->context.bank;
    const QString heldCode = bank.questions[3].questionCode;
    bank.questions[3].questionCode = u"GONE"_qs;
    bank.questions[4].questionCode = u"GONE TOO"_qs;
    m_app->main.menuItem(u"keyPracticeWrong"_qs)->trigger();
    QCOMPARE(m_app->boxes.shown, (QList<MessageBoxRequest>{
                                     {u"Practise Wrong Answers"_qs,
                                      u"Your recent tests show no wrong answer to a question this "
                                      "module still holds."_qs,
                                      MessageIcon::Information, MessageButtons::Ok}}));
    QVERIFY(m_app->road->scoreReport()->isVisible());

    bank.questions[3].questionCode = heldCode;
    clickInHistory(u"cmPracticeWrong"_qs);
    const TestState &state = m_app->context.state;
    QVERIFY(m_app->road->readyWindow()->isVisible());
    QCOMPARE(state.testMode, int(CustomMode));
    QCOMPARE(state.testLength, 1);
    QCOMPARE(GetQueID(state, 1), 3);
}

void HistoryRoadTest::reviewRecordedTest()
{
    takeStudyTest();
    // Question 4 has left the module: its item is skipped, the others keep their order.
    const TestState &state = m_app->context.state;
    QList<int> held;
    for (int item = 1; item <= state.testLength; ++item) {
        if (GetQueID(state, item) != 4)
            held.append(GetQueID(state, item));
    }
    m_app->context.bank.questions[4].questionCode = u"GONE"_qs;
    clickInHistory(u"cmReview"_qs);

    TestWindow *test = m_app->road->testWindow();
    QVERIFY(test && test->isVisible());
    QVERIFY(!state.testActive);
    QCOMPARE(state.navMode, int(NavReviewAll));
    QCOMPARE(state.testLength, 3);
    for (int item = 1; item <= state.testLength; ++item) {
        QCOMPARE(GetQueID(state, item), held[item - 1]);
        test->GoToItem(item);
        const bool rightAnswer =
            m_app->context.bank.questions[GetQueID(state, item)].objectiveNo == 1;
        QCOMPARE(element<QRadioButton>(test, u"opChc"_qs, 1)->isChecked(), rightAnswer);
        QCOMPARE(state.answerRecs[GetQueID(state, item)].status == StatusCorrect, rightAnswer);
    }
    // Its score is in the history, which opens again over the start screen.
    click(test, u"cmEnd"_qs);
    QString opened;
    onNextModal(this, opened, [](QWidget *window) { window->close(); });
    QTRY_COMPARE(opened, u"frmHistory"_qs);
    QVERIFY(m_app->road->startWindow()->isVisible());
}

QTEST_MAIN(HistoryRoadTest)
#include "tst_historyroad.moc"
