#include "BankBuilder.h"
#include "FakeClock.h"
#include "FakeMessageBoxes.h"
#include "NextModal.h"
#include "Widgets.h"
#include "common/Random.h"
#include "engine/InitTest.h"
#include "engine/Selection.h"
#include "interactive/ShowTask.h"
#include "testwindow/TestWindow.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// One question of each type.
enum : int { qSingle = 1, qMultiple, qTyped, qValues, qTextDnd, qGraphicalDnd, qSimulation };

QuestionBank windowBank()
{
    BankBuilder builder;
    builder.objectives(1).examQuestions(7, 90);
    for (int type = SingleAnswer; type <= Simulation; ++type)
        builder.question(1, type, type == MultipleAnswers ? 10 : 4);
    QuestionBank bank = builder.bank();
    bank.questions[qSingle].answerKey = 0b0100;
    bank.questions[qMultiple].answerKey = 0b1101;
    bank.prompts.append({1, u">"_s});
    return bank;
}

const MessageBoxRequest timeUpBox{u"Time is Up!"_s,
                                  u"You are running out of time!\nEnding test now..."_s,
                                  MessageIcon::Warning, MessageButtons::Ok};

} // namespace

class TestTestWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void everyTypeComesBackAsLeft();
    void leavingForTheAnswerOrTheListSavesFirst();
    void controlsComeAndGoWithTheQuestion();
    void answerAreaStaysStackedAfterResize();
    void examRefusesToMoveOn();
    void endingAsksFirst_data();
    void endingAsksFirst();
    void gradedItemsAreReadOnly();
    void gotoRefusesThenShowsTheItem();
    void timeUpClosesTheOpenWindowAndGrades_data();
    void timeUpClosesTheOpenWindowAndGrades();
    void timeUpBehindTheEndPromptGradesOnce();

private:
    void startTest(int mode);
    void showQuestion(int q);
    QLineEdit *box(int index) const { return element<QLineEdit>(m_window.get(), u"txTI"_s, index); }

    std::unique_ptr<FakeClock> m_clock;
    std::unique_ptr<FakeMessageBoxes> m_boxes;
    QuestionBank m_bank;
    TestState m_state;
    std::unique_ptr<TestWindow> m_window;
    QString m_opened;
};

void TestTestWindow::init()
{
    Random::instance().seed(6);
    m_clock = std::make_unique<FakeClock>(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
    m_boxes = std::make_unique<FakeMessageBoxes>();
    m_bank = windowBank();
    m_state = TestState();
    m_opened.clear();
}

void TestTestWindow::cleanup()
{
    m_window.reset();
    QCOMPARE(m_boxes->unexpected, 0);
    m_boxes.reset();
    m_clock.reset();
}

void TestTestWindow::startTest(int mode)
{
    QVERIFY(InitTest(mode, m_bank, m_state));
    m_window = std::make_unique<TestWindow>(m_bank, m_state);
    m_window->resize(900, 650);
    m_window->load();
    m_window->show();
}

void TestTestWindow::showQuestion(int q)
{
    for (int item = 1; item <= m_state.testLength; ++item) {
        if (GetQueID(m_state, item) == q)
            m_state.curItem = item;
    }
    m_window->GoToItem(m_state.curItem);
    QCOMPARE(m_state.curQ, q);
}

void TestTestWindow::everyTypeComesBackAsLeft()
{
    startTest(StudyMode);
    QWidget *window = m_window.get();
    auto *ckMark = window->findChild<QCheckBox *>(u"ckMark"_s);
    // The choices of the single-answer question are shown as 3, 1, 2, 4.
    const int order[] = {3, 1, 2, 4};
    for (int p = 1; p <= 4; ++p)
        m_state.ansOrder[qSingle][p] = order[p - 1];
    m_window->GoToItem(1);
    // Answer every item walking forward with Next (the choices by a click on their text),
    // then walk back with Previous.
    for (int item = 1; item <= m_state.testLength; ++item) {
        QCOMPARE(m_state.curItem, item);
        if (m_state.curQ == qSingle) {
            QTest::mouseClick(element<QLabel>(window, u"lbChc"_s, 3), Qt::LeftButton);
            QTest::mouseClick(element<QLabel>(window, u"lbChc"_s, 2), Qt::LeftButton);
        } else if (m_state.curQ == qMultiple) {
            QTest::mouseClick(element<QLabel>(window, u"lbChc"_s, 4), Qt::LeftButton);
        } else if (m_state.curQ == qTyped) {
            QTest::keyClicks(box(0), u"  hub  "_s);
            QTest::mouseClick(ckMark, Qt::LeftButton);
        } else if (m_state.curQ == qValues) {
            box(2)->setText(u"9"_s);
        }
        if (item < m_state.testLength)
            click(m_window.get(), u"cmNext"_s);
    }
    for (int item = m_state.testLength; item >= 1; --item) {
        QCOMPARE(m_state.curItem, item);
        QCOMPARE(ckMark->isChecked(), m_state.curQ == qTyped);
        if (m_state.curQ == qSingle) {
            QVERIFY(element<QRadioButton>(window, u"opChc"_s, 2)->isChecked());
            QVERIFY(!element<QRadioButton>(window, u"opChc"_s, 3)->isChecked());
        } else if (m_state.curQ == qMultiple) {
            QVERIFY(element<QCheckBox>(window, u"ckChc"_s, 4)->isChecked());
        } else if (m_state.curQ == qTyped) {
            QCOMPARE(box(0)->text(), u"hub"_s);
        } else if (m_state.curQ == qValues) {
            QCOMPARE(box(2)->text() + box(3)->text(), u"90"_s);
        }
        if (item > 1)
            click(m_window.get(), u"cmPrevious"_s);
    }
    // The records hold choice numbers, not display positions.
    QCOMPARE(m_state.answerRecs[qSingle].answer, AnswerValue(1 << (order[1] - 1)));
    QCOMPARE(m_state.answerRecs[qMultiple].answer,
             AnswerValue(1 << (m_state.ansOrder[qMultiple][4] - 1)));
    QCOMPARE(m_state.answerRecs[qTyped].answer, AnswerValue(u"hub"_s));
    QVERIFY(m_state.answerRecs[qTyped].marked);
    QCOMPARE(m_state.answerRecs[qValues].answer, AnswerValue(u"0.9.0.0"_s));
}

void TestTestWindow::leavingForTheAnswerOrTheListSavesFirst()
{
    startTest(StudyMode);
    showQuestion(qTyped);
    QTest::keyClicks(box(0), u"switch"_s);
    click(m_window.get(), u"cmAnswer"_s);
    QCOMPARE(m_state.answerRecs[qTyped].answer, AnswerValue(u"switch"_s));
    QTest::keyClicks(box(0), u"es"_s);
    // Enter in the answer box presses nothing; on a focused button it presses that button.
    QTest::keyClick(box(0), Qt::Key_Return);
    QVERIFY(m_window->isVisible());
    auto *cmList = m_window->findChild<QPushButton *>(u"cmList"_s);
    cmList->setFocus();
    QTest::keyClick(cmList, Qt::Key_Return);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_state.answerRecs[qTyped].answer, AnswerValue(u"switches"_s));
}

void TestTestWindow::controlsComeAndGoWithTheQuestion()
{
    startTest(StudyMode);
    const auto count = [this](const QString &name) {
        return m_window->findChildren<QWidget *>(name).size();
    };
    // Each array keeps its template; the controls of the question before are gone.
    showQuestion(qMultiple);
    QCOMPARE(count(u"ckChc"_s), 11);
    QCOMPARE(count(u"lbChc"_s), 11);
    showQuestion(qValues);
    QCOMPARE(count(u"ckChc"_s) + count(u"lbChc"_s), 2);
    QCOMPARE(count(u"txTI"_s), 5);
    // A task is answered in its own window.
    showQuestion(qSimulation);
    QCOMPARE(count(u"txTI"_s) + count(u"opChc"_s), 2);
}

void TestTestWindow::answerAreaStaysStackedAfterResize()
{
    m_bank.questions[qSingle].explanation = u"A long explanation of the answer. "_s.repeated(40);
    startTest(StudyMode);
    showQuestion(qSingle);
    click(m_window.get(), u"cmAnswer"_s);
    QList<QLabel *> stack;
    for (const QString &name :
         {u"lbTheAnswer"_s, u"lbCorAns"_s, u"lbExplain"_s, u"lbTheObjective"_s, u"lbObjective"_s,
          u"lbTheReference"_s, u"lbReference"_s}) {
        stack.append(m_window->findChild<QLabel *>(name));
        QVERIFY2(stack.last()->isVisible(), qPrintable(name));
    }
    auto *svTest = m_window->findChild<QScrollArea *>(u"svTest"_s);
    svTest->verticalScrollBar()->setValue(100);

    // Narrower, the explanation takes more lines and pushes the rest down.
    m_window->resize(500, 650);
    QVERIFY(stack[2]->geometry().right() < svTest->width());
    for (qsizetype k = 1; k < stack.size(); ++k)
        QVERIFY(stack[k]->y() > stack[k - 1]->geometry().bottom());
    QVERIFY(svTest->widget()->height() > stack.last()->geometry().bottom());
    QCOMPARE(svTest->verticalScrollBar()->value(), 0);
}

void TestTestWindow::examRefusesToMoveOn()
{
    startTest(ExamMode);
    QWidget *window = m_window.get();
    showQuestion(qMultiple);
    const int item = m_state.curItem;
    click(m_window.get(), u"cmNext"_s);
    QTest::mouseClick(element<QCheckBox>(window, u"ckChc"_s, 1), Qt::LeftButton);
    click(m_window.get(), u"cmNext"_s);
    QCOMPARE(m_state.curItem, item);
    QCOMPARE(m_boxes->shown, (QList<MessageBoxRequest>{
                                 {u"Attention!"_s, u"You must answer this question to proceed."_s,
                                  MessageIcon::Information, MessageButtons::Ok},
                                 {u"Attention:"_s, u"Please select 3 correct answers."_s,
                                  MessageIcon::Information, MessageButtons::Ok}}));
}

void TestTestWindow::endingAsksFirst_data()
{
    // Answered Yes, both end the test on the road; No must leave it running.
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("end") << u"cmEnd"_s << u"Would you like to end and grade the test?"_s;
    // Next on the last item of an exam.
    QTest::newRow("last next")
        << u"cmNext"_s
        << u"You have answered all questions in this test.\n\nWould you like to end the test?"_s;
}

void TestTestWindow::endingAsksFirst()
{
    QFETCH(QString, clicked);
    QFETCH(QString, prompt);
    startTest(ExamMode);
    QSignalSpy grade(m_window.get(), &TestWindow::gradeRequested);
    m_state.curItem = m_state.testLength;
    m_window->GoToItem(m_state.curItem);
    m_state.answerRecs[m_state.curQ].answer = m_bank.questions[m_state.curQ].questionType <= 2
                                                  ? AnswerValue(0b1101)
                                                  : AnswerValue(u"x"_s);
    m_window->ReadAnswer(m_state.curQ);
    m_boxes->answerNext(MessageButton::No);
    click(m_window.get(), clicked);

    QCOMPARE(m_boxes->shown,
             (QList<MessageBoxRequest>{
                 {u"Ending Test..."_s, prompt, MessageIcon::Question, MessageButtons::YesNo}}));
    QCOMPARE(grade.size(), 0);
    QVERIFY(m_state.testActive);
}

void TestTestWindow::gradedItemsAreReadOnly()
{
    startTest(StudyMode);
    QWidget *window = m_window.get();
    m_window->hide();
    m_state.testActive = false;
    m_state.navMode = NavReviewAll;
    m_state.curItem = 1;
    m_window->GoToItem(1);
    m_window->show();
    for (int item = 1; item <= m_state.testLength; ++item) {
        QCOMPARE(m_state.curItem, item);
        QCOMPARE(m_window->findChild<QPushButton *>(u"cmPrevious"_s)->isEnabled(), item > 1);
        for (QWidget *control : window->findChildren<QWidget *>()) {
            const QString name = control->objectName();
            if ((name == u"opChc"_s || name == u"ckChc"_s || name == u"txTI"_s) &&
                control->isVisibleTo(window))
                QVERIFY2(!control->isEnabled(), qPrintable(name));
        }
        if (m_state.curQ == qMultiple) {
            QTest::mouseClick(element<QLabel>(window, u"lbChc"_s, 1), Qt::LeftButton);
            QVERIFY(!element<QCheckBox>(window, u"ckChc"_s, 1)->isChecked());
        }
        click(m_window.get(), u"cmNext"_s);
    }
    // Walking through the review changed no record: the unanswered value boxes showed "0".
    for (const AnswerRecord &record : m_state.answerRecs)
        QVERIFY(!answerPresent(record.answer));
}

void TestTestWindow::gotoRefusesThenShowsTheItem()
{
    startTest(StudyMode);
    showQuestion(qTyped);
    const int from = m_state.curItem;
    const int target = from == 7 ? 6 : 7;
    onNextModal(this, m_opened, [from, target](QWidget *frGoto) {
        auto *txCurRec = frGoto->findChild<QLineEdit *>(u"txCurRec"_s);
        // Go checks what the box holds; a refusal puts the current item back.
        txCurRec->setText(u"8"_s);
        QTest::mouseClick(frGoto->findChild<QPushButton *>(u"cmGoto"_s), Qt::LeftButton);
        QCOMPARE(txCurRec->text(), QString::number(from));
        txCurRec->setText(QString::number(target));
        QTest::keyClick(txCurRec, Qt::Key_Return);
    });
    click(m_window.get(), u"cmGoto"_s);
    QCOMPARE(m_opened, u"frGoto"_s);
    QCOMPARE(m_state.curItem, target);
    QCOMPARE(m_boxes->shown,
             (QList<MessageBoxRequest>{
                 {u"Attention!"_s, u"You enter an invalid item number.\nPlease reenter again."_s,
                  MessageIcon::Information, MessageButtons::Ok}}));
}

void TestTestWindow::timeUpClosesTheOpenWindowAndGrades_data()
{
    QTest::addColumn<int>("q");
    QTest::addColumn<QString>("opens");
    QTest::addColumn<QString>("window");
    QTest::newRow("go to") << int(qTyped) << u"cmGoto"_s << u"frGoto"_s;
    QTest::newRow("text drag and drop") << int(qTextDnd) << u"cmTask"_s << u"frTDnD"_s;
    QTest::newRow("simulation") << int(qSimulation) << u"cmTask"_s << u"frSim"_s;
}

void TestTestWindow::timeUpClosesTheOpenWindowAndGrades()
{
    QFETCH(int, q);
    QFETCH(QString, opens);
    QFETCH(QString, window);
    startTest(StudyMode);
    connect(m_window.get(), &TestWindow::taskRequested, this,
            [this] { ShowTask(m_bank, m_state, QString(), m_window.get()); });
    // The timer switched on during the test, as the options window can.
    m_state.optTimed = true;
    m_state.testDuration = u"90"_s;
    m_window->SetTestTimer();
    showQuestion(q);
    if (q == qTyped)
        QTest::keyClicks(box(0), u"gateway"_s);
    QSignalSpy grade(m_window.get(), &TestWindow::gradeRequested);
    bool leftOpen = false;
    onNextModal(this, m_opened, [this, &leftOpen](QWidget *modal) {
        m_clock->advanceSecs(90 * 60);
        m_window->timerTick();
        // Closed here only so that a window left open fails the test instead of hanging it.
        leftOpen = modal->isVisible();
        if (leftOpen)
            static_cast<QDialog *>(modal)->reject();
    });
    click(m_window.get(), opens);

    QCOMPARE(m_opened, window);
    QVERIFY(!leftOpen);
    QCOMPARE(m_boxes->shown, QList<MessageBoxRequest>{timeUpBox});
    QCOMPARE(grade.size(), 1);
    QVERIFY(!m_state.testActive);
    QVERIFY(m_window->isHidden());
    QVERIFY(!m_window->findChild<QTimer *>(u"tmTimer"_s)->isActive());
    // The item on screen is saved; an answer window closed this way records nothing.
    QCOMPARE(m_state.answerRecs[q].answer, q == qTyped ? AnswerValue(u"gateway"_s) : AnswerValue());
}

// Lets the time run out while the end prompt is up, then answers it Yes.
class TimeRunsOutBehindTheBox : public FakeMessageBoxes
{
public:
    std::function<void()> whileAsking;
    MessageButton show(const MessageBoxRequest &request) override
    {
        if (request.title == u"Ending Test..."_s) {
            answerNext(MessageButton::Ok);
            whileAsking();
            answerNext(MessageButton::Yes);
        }
        return FakeMessageBoxes::show(request);
    }
};

void TestTestWindow::timeUpBehindTheEndPromptGradesOnce()
{
    startTest(ExamMode);
    QSignalSpy grade(m_window.get(), &TestWindow::gradeRequested);
    TimeRunsOutBehindTheBox boxes;
    boxes.whileAsking = [this] {
        m_clock->advanceSecs(2 * 60 * 60);
        m_window->timerTick();
    };
    click(m_window.get(), u"cmEnd"_s);
    QCOMPARE(boxes.shown.size(), 2);
    QCOMPARE(boxes.shown[0], timeUpBox);
    QCOMPARE(boxes.unexpected, 0);
    QCOMPARE(grade.size(), 1);
    QVERIFY(m_window->isHidden());
}

QTEST_MAIN(TestTestWindow)
#include "tst_testwindow.moc"
