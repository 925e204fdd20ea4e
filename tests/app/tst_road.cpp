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

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString markup = u" <b>x</b> &lt; <img src=\"q1.txt\">"_s;

// Every label that shows module text shows it as written, never as markup.
void verifyModuleTextIsPlain()
{
    int shown = 0;
    for (QWidget *widget : QApplication::allWidgets()) {
        const auto *label = qobject_cast<QLabel *>(widget);
        if (label && label->isVisible() && label->text().contains(markup)) {
            QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
            ++shown;
        }
    }
    QVERIFY(shown > 0);
}

} // namespace

class RoadTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        BankBuilder builder;
        builder.objectives(3).questions(1, 2).questions(2, 2).questions(3, 2).examQuestions(6, 90);
        QuestionBank bank = builder.bank();
        bank.testInfo.passingScore = 825;
        // Module text that looks like markup, and would load a file if read as markup.
        bank.testInfo.examTitle = markup;
        for (Objective &objective : bank.objectives)
            objective.objectiveName += markup;
        for (Question &question : bank.questions) {
            question.questionText += markup;
            question.explanation += markup;
        }
        for (ChoiceRow &row : bank.choiceRows)
            row.text += markup;
        bank.questions[1].exhibitFile = u"q1.txt"_s;
        m_app.emplace(bank, u"Ada Lovelace"_s);
        m_app->context.moduleFolder = m_moduleFolder.path() + QLatin1Char('/');
        QFile exhibit(m_moduleFolder.filePath(u"q1.txt"_s));
        QVERIFY(exhibit.open(QIODevice::WriteOnly));
        exhibit.write("R1# show ip route\r\n");
        exhibit.close();
        m_app->show();
    }

    void cleanup()
    {
        QCOMPARE(m_app->boxes.unexpected, 0);
        m_app.reset();
    }

    void studyTestFromStartToReportAndBack()
    {
        QVERIFY(start()->isVisible());
        QVERIFY(!m_app->main.menuItem(u"keyFont"_s)->isEnabled());

        click(start(), u"cmStudy"_s);
        QVERIFY(!start()->isVisible());
        QVERIFY(ready()->isVisible());
        verifyModuleTextIsPlain();

        click(ready(), u"cmStart"_s);
        QVERIFY(!ready()->isVisible());
        QVERIFY(test()->isVisible());
        QCOMPARE(test()->geometry(), m_app->main.screenArea()->rect());
        QVERIFY(m_app->main.menuItem(u"keyFont"_s)->isEnabled());
        verifyModuleTextIsPlain();

        // Item 2 stays unanswered and item 3 is answered wrong; Study mode lets us move on.
        const int length = m_app->context.state.testLength;
        QCOMPARE(length, 6);
        for (int item = 1; item <= length; ++item) {
            QCOMPARE(m_app->context.state.curItem, item);
            if (item != 2)
                answerItem(item != 3);
            click(test(), u"cmNext"_s);
        }
        // Past the last item the item review list takes over; Back to Test returns.
        QVERIFY(m_app->road->reviewList() && m_app->road->reviewList()->isVisible());
        verifyModuleTextIsPlain();
        click(m_app->road->reviewList(), u"cmReview1"_s);
        QVERIFY(test()->isVisible());

        m_app->boxes.answerNext(MessageButton::Yes);
        click(test(), u"cmEnd"_s);
        QCOMPARE(m_app->boxes.shown.last().text, u"Would you like to end and grade the test?"_s);
        QVERIFY(report() && report()->isVisible());
        QVERIFY(!test()->isVisible());
        QVERIFY(!m_app->main.menuItem(u"keyFont"_s)->isEnabled());
        QCOMPARE(report()->findChild<QLabel *>(u"lbScore"_s)->text(), u"667/1000 (4/6)"_s);

        // Main Menu answered No leaves the report and its reviews as they were.
        m_app->boxes.answerNext(MessageButton::No);
        click(report(), u"cmMain"_s);
        QCOMPARE(
            m_app->boxes.shown.last(),
            (MessageBoxRequest{u"End Session?"_s,
                               u"Would you like to end your test session?\n(You will no longer "
                               u"be able to review your answers.)"_s,
                               MessageIcon::Question, MessageButtons::YesNo}));
        QVERIFY(report()->isVisible());
        QVERIFY(!start()->isVisible());

        click(report(), u"cmIncorrect"_s);
        QVERIFY(!report()->isVisible());
        QVERIFY(test()->isVisible());
        QCOMPARE(m_app->context.state.navMode, int(NavReviewIncorrect));
        QCOMPARE(m_app->context.state.curItem, 2);
        QCOMPARE(m_app->context.state.curQ, GetQueID(m_app->context.state, 2));
        verifyModuleTextIsPlain(); // the correct answer and its explanation
        click(test(), u"cmNext"_s);
        QCOMPARE(m_app->context.state.curItem, 3);
        click(test(), u"cmEnd"_s);
        QVERIFY(report()->isVisible());

        click(report(), u"cmAll"_s);
        QCOMPARE(m_app->context.state.navMode, int(NavReviewAll));
        QCOMPARE(m_app->context.state.curItem, 1);
        QVERIFY(test()->isVisible());
        click(test(), u"cmEnd"_s);
        QVERIFY(report()->isVisible());

        m_app->boxes.answerNext(MessageButton::Yes);
        click(report(), u"cmMain"_s);
        QVERIFY(start()->isVisible());
        QTRY_VERIFY(!test() && !report());

        // A new test can follow at once.
        click(start(), u"cmStudy"_s);
        QVERIFY(ready()->isVisible());
    }

    void timeRunsOutWithExhibitOpenAndAnswerTyped()
    {
        click(start(), u"cmExam"_s);
        click(ready(), u"cmStart"_s);
        QCOMPARE(test()->findChild<QLabel *>(u"lbTime"_s)->text(), u"Time Left: 01:30:00"_s);
        // Go to the question with the exhibit, answering the items before it, and type its
        // answer without moving on.
        while (m_app->context.state.curQ != 1) {
            answerItem(true);
            click(test(), u"cmNext"_s);
        }
        answerItem(true);

        // The time runs out while the exhibit is open: the exhibit closes, the test is graded.
        QString opened;
        onNextModal(this, opened, [&](QWidget *) {
            m_app->clock.advanceSecs(90 * 60);
            m_app->boxes.answerNext(MessageButton::Ok);
            test()->timerTick();
        });
        click(test(), u"cmExhibit"_s);

        QCOMPARE(opened, u"frExhibit"_s);
        QCOMPARE(m_app->boxes.shown.last().title, u"Time is Up!"_s);
        QVERIFY(report() && report()->isVisible());
        QVERIFY(!test()->isVisible());
        QVERIFY(!m_app->context.state.testActive);
        // The answer on screen was saved before grading.
        QCOMPARE(m_app->context.state.answerRecs[1].status, int(StatusCorrect));
    }

    void failedSetUpSaysSorry()
    {
        // No objective has a question: the selection says so, then the road.
        m_app->context.bank = BankBuilder().objectives(3).examQuestions(6, 90).bank();
        click(start(), u"cmExam"_s);
        QCOMPARE(m_app->boxes.shown,
                 (QList<MessageBoxRequest>{
                     {u"Sorry!"_s,
                      u"No questions are available from the objectives you selected.\n\n"
                      u"Please select other objectives."_s,
                      MessageIcon::Information, MessageButtons::Ok},
                     {u"Sorry!"_s,
                      u"An error has occured in preparing the test module. Please retry again."_s,
                      MessageIcon::NoIcon, MessageButtons::Ok}}));
        QVERIFY(start()->isVisible());
        QVERIFY(!ready()->isVisible());
    }

    void accessKeysChooseStudyAndAskToExit()
    {
        // Access keys reach the screens of the active window only.
        m_app->main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_app->main));
        QTest::keyClick(start(), Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(ready()->isVisible());
        QCOMPARE(m_app->context.state.testMode, int(StudyMode));
        // Get Ready's Main Menu goes back without starting the test.
        click(ready(), u"cmMain"_s);
        QVERIFY(start()->isVisible());
        QVERIFY(!test());
        m_app->boxes.answerNext(MessageButton::Cancel);
        QTest::keyClick(start(), Qt::Key_X, Qt::AltModifier);
        QCOMPARE(m_app->boxes.shown.size(), 1);
        QCOMPARE(m_app->boxes.shown[0].title, u"Exit Quendra..."_s);
        QVERIFY(start()->isVisible());
    }

private:
    StartWindow *start() const { return m_app->road->startWindow(); }
    ReadyWindow *ready() const { return m_app->road->readyWindow(); }
    TestWindow *test() const { return m_app->road->testWindow(); }
    ScoreReport *report() const { return m_app->road->scoreReport(); }

    // Answers the item on screen through its choices, right or wrong. Every question has one
    // correct choice, its first, shown wherever the shuffle put it.
    void answerItem(bool right)
    {
        const TestState &state = m_app->context.state;
        for (int position = 1; position <= 4; ++position) {
            const int choice =
                state.optRandomAnswers ? state.ansOrder[state.curQ][position] : position;
            if ((choice == 1) == right) {
                QTest::mouseClick(element<QRadioButton>(test(), u"opChc"_s, position),
                                  Qt::LeftButton);
                return;
            }
        }
    }

    QTemporaryDir m_moduleFolder;
    std::optional<RoadFixture> m_app;
};

QTEST_MAIN(RoadTest)
#include "tst_road.moc"
