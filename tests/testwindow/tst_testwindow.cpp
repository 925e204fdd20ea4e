#include "BankBuilder.h"
#include "FakeClock.h"
#include "FakeMessageBoxes.h"
#include "common/Random.h"
#include "engine/InitTest.h"
#include "engine/Selection.h"
#include "testwindow/GotoWindow.h"
#include "testwindow/TestWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// One question of each kind the window answers itself, a drag-and-drop question and a
// single-answer question with ten choices.
enum : int { qSingle = 1, qMultiple, qTyped, qValues, qDragDrop, qTenChoices };

QuestionBank windowBank()
{
    BankBuilder builder;
    builder.objectives(1)
        .examQuestions(6, 90)
        .question(1, SingleAnswer, 4)
        .question(1, MultipleAnswers, 4)
        .question(1, TypedAnswer)
        .question(1, TypedValues, 4)
        .question(1, TextDragAndDrop, 3)
        .question(1, SingleAnswer, 10);
    QuestionBank bank = builder.bank();
    bank.testInfo.examCode = u"512-330"_qs;
    bank.testInfo.examTitle = u"Network Technology Core Exam"_qs;
    bank.questions[qSingle].answerKey = 0b0100;
    bank.questions[qMultiple].answerKey = 0b1101;
    bank.questions[qTyped].questionText = u"Which device forwards packets between networks?"_qs;
    return bank;
}

template <typename Control> Control *element(QWidget *window, const char *name, int index)
{
    for (Control *control : window->findChildren<Control *>(QLatin1String(name))) {
        if (control->property("index").toInt() == index)
            return control;
    }
    return nullptr;
}

template <typename Control> int visibleElements(QWidget *window, const char *name)
{
    int count = 0;
    for (Control *control : window->findChildren<Control *>(QLatin1String(name)))
        count += control->isVisibleTo(window) ? 1 : 0;
    return count;
}

} // namespace

class TestTestWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void controlsCarryTheirNames();
    void itemLineShowsTheCodeWithItsFill();
    void instructionPerType_data();
    void instructionPerType();
    void shuffledLettersStoreTheChoiceNumber();
    void multipleAnswersAreStoredAsBitMasks();
    void typedAnswerIsTrimmedOnGoTo();
    void valueBoxesStartAtZeroWithDotsBetween();
    void valueBoxesRoundTripThroughTheList();
    void showAnswerSavesFirst();
    void everyTypeComesBackAsLeft();
    void markIsKeptWithFreeNavigationOnly();
    void choiceLabelClicks();
    void examRefusesToMoveOn();
    void examEndPrompt_data();
    void examEndPrompt();
    void studyLastNextOpensTheList();
    void reviewModeCaptionsAndBoundaries();
    void gradedItemsAreReadOnly();
    void gotoRefusals_data();
    void gotoRefusals();
    void gotoShowsTheItem();
    void endButtonAsksAndGrades();
    void timerCountsDown();
    void timeUpSavesGradesAndCloses();
    void timeUpBehindTheEndPromptGradesOnce();
    void fontSizeReachesEveryControl();
    void pageFillsTheWidthItIsShownAt();
    void longQuestionScrolls();

private:
    void startTest(int mode);
    int itemOf(int q) const;
    void showQuestion(int q);
    QPushButton *button(const char *name) const;

    std::unique_ptr<FakeClock> m_clock;
    std::unique_ptr<FakeMessageBoxes> m_boxes;
    QuestionBank m_bank;
    TestState m_state;
    std::unique_ptr<TestWindow> m_window;
};

void TestTestWindow::init()
{
    Random::instance().seed(6);
    m_clock = std::make_unique<FakeClock>(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
    m_boxes = std::make_unique<FakeMessageBoxes>();
    m_bank = windowBank();
    m_state = TestState();
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

int TestTestWindow::itemOf(int q) const
{
    for (int item = 1; item <= m_state.testLength; ++item) {
        if (GetQueID(m_state, item) == q)
            return item;
    }
    return 0;
}

void TestTestWindow::showQuestion(int q)
{
    m_state.curItem = itemOf(q);
    m_window->GoToItem(m_state.curItem);
    QCOMPARE(m_state.curQ, q);
}

QPushButton *TestTestWindow::button(const char *name) const
{
    return m_window->findChild<QPushButton *>(QLatin1String(name));
}

void TestTestWindow::controlsCarryTheirNames()
{
    startTest(StudyMode);
    for (const char *name :
         {"lbItem", "lbTime", "imTimer", "lbQuestion", "lbTI", "lbTheAnswer", "lbCorAns",
          "lbExplain", "lbURL", "lbTheObjective", "lbObjective", "lbTheReference", "lbReference"})
        QVERIFY2(m_window->findChild<QLabel *>(QLatin1String(name)), name);
    for (const char *name : {"cmList", "cmGoto", "cmPrevious", "cmNext", "cmDiagram", "cmExhibit",
                             "cmTask", "cmAnswer", "cmEnd"})
        QVERIFY2(button(name), name);
    QVERIFY(m_window->findChild<QTimer *>(u"tmTimer"_qs));
    QVERIFY(m_window->findChild<QScrollArea *>(u"svTest"_qs));
    QCOMPARE(m_window->findChild<QCheckBox *>(u"ckMark"_qs)->text(), u"&Mark Question"_qs);
    QCOMPARE(button("cmList")->text(), u"&Item Review"_qs);
    QCOMPARE(button("cmList")->toolTip(), u"Item review"_qs);
    QCOMPARE(button("cmGoto")->toolTip(), u"Go to item"_qs);
    QCOMPARE(button("cmExhibit")->text(), u"&Exhibit"_qs);
    QCOMPARE(button("cmAnswer")->text(), u"Show &Answer"_qs);
    QCOMPARE(m_window->windowTitle(), u"Exam #512-330, Network Technology Core Exam"_qs);
    // The templates of the control arrays are never shown.
    QVERIFY(!element<QLabel>(m_window.get(), "lbChc", 0)->isVisibleTo(m_window.get()));
    QVERIFY(!element<QRadioButton>(m_window.get(), "opChc", 0)->isVisibleTo(m_window.get()));
    QVERIFY(!element<QCheckBox>(m_window.get(), "ckChc", 0)->isVisibleTo(m_window.get()));
    QVERIFY(!element<QLabel>(m_window.get(), "lbDot", 0)->isVisibleTo(m_window.get()));
}

void TestTestWindow::itemLineShowsTheCodeWithItsFill()
{
    startTest(StudyMode);
    showQuestion(qValues);
    QCOMPARE(m_window->findChild<QLabel *>(u"lbItem"_qs)->text(),
             u"Item %1 of 6 (Q4        )"_qs.arg(itemOf(qValues)));
}

void TestTestWindow::instructionPerType_data()
{
    QTest::addColumn<int>("q");
    QTest::addColumn<bool>("showCount");
    QTest::addColumn<QString>("instruction");
    QTest::newRow("single") << int(qSingle) << true << u"Please select the best answer."_qs;
    QTest::newRow("multiple") << int(qMultiple) << true << u"Please select 3 correct answers."_qs;
    QTest::newRow("multiple, no count")
        << int(qMultiple) << false << u"Please select all that apply."_qs;
    QTest::newRow("typed") << int(qTyped) << true << u"Please type in your answer."_qs;
    QTest::newRow("values") << int(qValues) << true << u"Please type in your answer."_qs;
    QTest::newRow("task") << int(qDragDrop) << true
                          << u"Please click on the Task button to answer."_qs;
}

void TestTestWindow::instructionPerType()
{
    QFETCH(int, q);
    QFETCH(bool, showCount);
    QFETCH(QString, instruction);
    startTest(StudyMode);
    m_state.optShowCorrectCount = showCount;
    QSignalSpy changed(m_window.get(), &TestWindow::instructionChanged);
    showQuestion(q);
    QCOMPARE(m_window->instruction(), instruction);
    // The line is cleared first, then written.
    QCOMPARE(changed.first().first().toString(), QString());
}

void TestTestWindow::shuffledLettersStoreTheChoiceNumber()
{
    startTest(StudyMode);
    const int order[] = {3, 1, 2, 4};
    for (int p = 1; p <= 4; ++p)
        m_state.ansOrder[qSingle][p] = order[p - 1];
    showQuestion(qSingle);
    QWidget *window = m_window.get();
    QCOMPARE(visibleElements<QRadioButton>(window, "opChc"), 4);
    QCOMPARE(element<QLabel>(window, "lbChc", 1)->text(), u"Choice 3"_qs);
    QCOMPARE(element<QLabel>(window, "lbChc", 2)->text(), u"Choice 1"_qs);
    for (int p = 1; p <= 4; ++p)
        QCOMPARE(element<QRadioButton>(window, "opChc", p)->text(), QChar(u'@' + p) + u"."_qs);
    // Each row sits below the one before, its selector level with its text.
    QVERIFY(element<QLabel>(window, "lbChc", 2)->y() > element<QLabel>(window, "lbChc", 1)->y());
    QCOMPARE(element<QRadioButton>(window, "opChc", 2)->y(),
             element<QLabel>(window, "lbChc", 2)->y());

    QTest::mouseClick(element<QRadioButton>(window, "opChc", 1), Qt::LeftButton);
    QTest::mouseClick(button("cmNext"), Qt::LeftButton);
    QCOMPARE(std::get<int>(m_state.answerRecs[qSingle].answer), 4);

    showQuestion(qSingle);
    QVERIFY(element<QRadioButton>(window, "opChc", 1)->isChecked());
    QVERIFY(!element<QRadioButton>(window, "opChc", 3)->isChecked());
}

void TestTestWindow::multipleAnswersAreStoredAsBitMasks()
{
    startTest(StudyMode);
    m_state.optRandomAnswers = false;
    // Saved by Previous.
    m_state.curItem = itemOf(qMultiple);
    if (m_state.curItem == 1) {
        m_state.curItem = 2;
        m_window->GoToItem(2);
    }
    showQuestion(qMultiple);
    QWidget *window = m_window.get();
    QTest::mouseClick(element<QCheckBox>(window, "ckChc", 1), Qt::LeftButton);
    QTest::mouseClick(element<QCheckBox>(window, "ckChc", 3), Qt::LeftButton);
    if (m_state.curItem > 1)
        QTest::mouseClick(button("cmPrevious"), Qt::LeftButton);
    else
        QTest::mouseClick(button("cmNext"), Qt::LeftButton);
    QCOMPARE(std::get<int>(m_state.answerRecs[qMultiple].answer), 5);

    showQuestion(qMultiple);
    QVERIFY(element<QCheckBox>(window, "ckChc", 1)->isChecked());
    QVERIFY(!element<QCheckBox>(window, "ckChc", 2)->isChecked());
    QVERIFY(element<QCheckBox>(window, "ckChc", 3)->isChecked());
}

void TestTestWindow::typedAnswerIsTrimmedOnGoTo()
{
    startTest(StudyMode);
    showQuestion(qTyped);
    QWidget *window = m_window.get();
    QCOMPARE(window->findChild<QLabel *>(u"lbTI"_qs)->text(),
             u"Type the correct answer in the field below."_qs);
    QLineEdit *field = element<QLineEdit>(window, "txTI", 0);
    QVERIFY(field->isVisibleTo(window));
    QCOMPARE(field->width(), 7500 / 15);
    QCOMPARE(field->text(), QString());
    QTest::keyClicks(field, u"  Router  "_qs);
    showQuestion(qSingle);
    QCOMPARE(std::get<QString>(m_state.answerRecs[qTyped].answer), u"Router"_qs);
    QVERIFY(!field->isVisibleTo(window));

    showQuestion(qTyped);
    QCOMPARE(field->text(), u"Router"_qs);
}

void TestTestWindow::valueBoxesStartAtZeroWithDotsBetween()
{
    startTest(StudyMode);
    showQuestion(qValues);
    QWidget *window = m_window.get();
    QCOMPARE(window->findChild<QLabel *>(u"lbTI"_qs)->text(),
             u"Type correct value in each box below."_qs);
    QCOMPARE(visibleElements<QLineEdit>(window, "txTI"), 4);
    QCOMPARE(visibleElements<QLabel>(window, "lbDot"), 3);
    for (int p = 1; p <= 4; ++p) {
        QLineEdit *box = element<QLineEdit>(window, "txTI", p);
        QCOMPARE(box->text(), u"0"_qs);
        QVERIFY(box->alignment() & Qt::AlignHCenter);
        // Wide enough for six letters of the window's font.
        QVERIFY(box->width() >= box->fontMetrics().horizontalAdvance(u"AAAAAA"_qs));
        if (p < 4) {
            QLabel *dot = element<QLabel>(window, "lbDot", p);
            QVERIFY(dot->x() > box->x() + box->width());
            QVERIFY(element<QLineEdit>(window, "txTI", p + 1)->x() > dot->x() + dot->width());
        }
    }
    QVERIFY(!element<QLabel>(window, "lbDot", 4)->isVisibleTo(window));
}

void TestTestWindow::valueBoxesRoundTripThroughTheList()
{
    startTest(StudyMode);
    showQuestion(qValues);
    QWidget *window = m_window.get();
    const QStringList typed{u"10"_qs, u""_qs, u"1.5"_qs, u" 7 "_qs};
    for (int p = 1; p <= 4; ++p) {
        QLineEdit *box = element<QLineEdit>(window, "txTI", p);
        box->clear();
        QTest::keyClicks(box, typed[p - 1]);
    }
    QSignalSpy list(m_window.get(), &TestWindow::reviewListRequested);
    QTest::mouseClick(button("cmList"), Qt::LeftButton);
    QCOMPARE(list.size(), 1);
    QVERIFY(m_window->isHidden());
    QCOMPARE(std::get<QString>(m_state.answerRecs[qValues].answer), u"10..1.5.7"_qs);

    // Shown again, the typed "." moves the fields on; stored again, the text is the same.
    m_window->show();
    showQuestion(qValues);
    const QStringList shown{u"10"_qs, u""_qs, u"1"_qs, u"5.7"_qs};
    for (int p = 1; p <= 4; ++p)
        QCOMPARE(element<QLineEdit>(window, "txTI", p)->text(), shown[p - 1]);
    showQuestion(qSingle);
    QCOMPARE(std::get<QString>(m_state.answerRecs[qValues].answer), u"10..1.5.7"_qs);
}

void TestTestWindow::showAnswerSavesFirst()
{
    startTest(StudyMode);
    showQuestion(qTyped);
    QTest::keyClicks(element<QLineEdit>(m_window.get(), "txTI", 0), u"switch"_qs);
    QVERIFY(button("cmAnswer")->isEnabled());
    QTest::mouseClick(button("cmAnswer"), Qt::LeftButton);
    QCOMPARE(std::get<QString>(m_state.answerRecs[qTyped].answer), u"switch"_qs);
}

void TestTestWindow::everyTypeComesBackAsLeft()
{
    startTest(StudyMode);
    QWidget *window = m_window.get();
    // Answer every item walking forward with Next, then walk back with Previous.
    m_state.curItem = 1;
    m_window->GoToItem(1);
    for (int item = 1; item <= m_state.testLength; ++item) {
        QCOMPARE(m_state.curItem, item);
        switch (m_state.curQ) {
        case qSingle:
        case qTenChoices:
            QTest::mouseClick(element<QRadioButton>(window, "opChc", 2), Qt::LeftButton);
            break;
        case qMultiple:
            QTest::mouseClick(element<QCheckBox>(window, "ckChc", 4), Qt::LeftButton);
            break;
        case qTyped:
            QTest::keyClicks(element<QLineEdit>(window, "txTI", 0), u"hub"_qs);
            break;
        case qValues:
            element<QLineEdit>(window, "txTI", 2)->setText(u"9"_qs);
            break;
        }
        if (item < m_state.testLength)
            QTest::mouseClick(button("cmNext"), Qt::LeftButton);
    }
    for (int item = m_state.testLength; item >= 1; --item) {
        QCOMPARE(m_state.curItem, item);
        switch (m_state.curQ) {
        case qSingle:
        case qTenChoices:
            QVERIFY(element<QRadioButton>(window, "opChc", 2)->isChecked());
            break;
        case qMultiple:
            QVERIFY(element<QCheckBox>(window, "ckChc", 4)->isChecked());
            break;
        case qTyped:
            QCOMPARE(element<QLineEdit>(window, "txTI", 0)->text(), u"hub"_qs);
            break;
        case qValues:
            QCOMPARE(element<QLineEdit>(window, "txTI", 2)->text(), u"9"_qs);
            QCOMPARE(element<QLineEdit>(window, "txTI", 3)->text(), u"0"_qs);
            break;
        }
        QCOMPARE(button("cmPrevious")->isEnabled(), item > 1);
        if (item > 1)
            QTest::mouseClick(button("cmPrevious"), Qt::LeftButton);
    }
    QCOMPARE(std::get<QString>(m_state.answerRecs[qValues].answer), u"0.9.0.0"_qs);
}

void TestTestWindow::markIsKeptWithFreeNavigationOnly()
{
    startTest(StudyMode);
    auto *ckMark = m_window->findChild<QCheckBox *>(u"ckMark"_qs);
    QVERIFY(ckMark->isEnabled());
    showQuestion(qTyped);
    QTest::mouseClick(ckMark, Qt::LeftButton);
    showQuestion(qSingle);
    QVERIFY(m_state.answerRecs[qTyped].marked);
    QVERIFY(!ckMark->isChecked());
    showQuestion(qTyped);
    QVERIFY(ckMark->isChecked());

    m_window.reset();
    startTest(ExamMode);
    ckMark = m_window->findChild<QCheckBox *>(u"ckMark"_qs);
    QVERIFY(!ckMark->isEnabled());
    ckMark->setChecked(true);
    QTest::keyClicks(element<QLineEdit>(m_window.get(), "txTI", 0), u"x"_qs);
    m_window->SaveAnswer(m_state.curQ);
    QVERIFY(!m_state.answerRecs[m_state.curQ].marked);
}

void TestTestWindow::choiceLabelClicks()
{
    startTest(StudyMode);
    QWidget *window = m_window.get();
    showQuestion(qMultiple);
    QLabel *text = element<QLabel>(window, "lbChc", 2);
    QTest::mouseClick(text, Qt::LeftButton);
    QVERIFY(element<QCheckBox>(window, "ckChc", 2)->isChecked());
    QTest::mouseClick(text, Qt::LeftButton);
    QVERIFY(!element<QCheckBox>(window, "ckChc", 2)->isChecked());

    showQuestion(qSingle);
    QTest::mouseClick(element<QLabel>(window, "lbChc", 3), Qt::LeftButton);
    QVERIFY(element<QRadioButton>(window, "opChc", 3)->isChecked());
    QTest::mouseClick(element<QLabel>(window, "lbChc", 1), Qt::LeftButton);
    QVERIFY(element<QRadioButton>(window, "opChc", 1)->isChecked());
    QVERIFY(!element<QRadioButton>(window, "opChc", 3)->isChecked());
}

void TestTestWindow::examRefusesToMoveOn()
{
    startTest(ExamMode);
    QWidget *window = m_window.get();
    QVERIFY(!window->findChild<QCheckBox *>(u"ckMark"_qs)->isEnabled());
    QVERIFY(!button("cmList")->isEnabled());
    QVERIFY(!button("cmGoto")->isEnabled());
    QVERIFY(!button("cmAnswer")->isEnabled());

    showQuestion(qMultiple);
    QVERIFY(!button("cmPrevious")->isEnabled());
    const int item = m_state.curItem;
    QTest::mouseClick(button("cmNext"), Qt::LeftButton);
    QCOMPARE(m_state.curItem, item);
    QCOMPARE(m_boxes->shown.size(), 1);
    QCOMPARE(m_boxes->shown[0].text, u"You must answer this question to proceed."_qs);
    QCOMPARE(m_boxes->shown[0].title, u"Attention!"_qs);

    QTest::mouseClick(element<QCheckBox>(window, "ckChc", 1), Qt::LeftButton);
    QTest::mouseClick(button("cmNext"), Qt::LeftButton);
    QCOMPARE(m_state.curItem, item);
    QCOMPARE(m_boxes->shown.size(), 2);
    QCOMPARE(m_boxes->shown[1].text, u"Please select 3 correct answers."_qs);
    QCOMPARE(m_boxes->shown[1].title, u"Attention:"_qs);

    QTest::mouseClick(element<QCheckBox>(window, "ckChc", 2), Qt::LeftButton);
    QTest::mouseClick(element<QCheckBox>(window, "ckChc", 3), Qt::LeftButton);
    QTest::mouseClick(button("cmNext"), Qt::LeftButton);
    QCOMPARE(m_boxes->shown.size(), 2);
    QVERIFY(m_state.curItem == item + 1 || item == m_state.testLength);
}

void TestTestWindow::examEndPrompt_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestTestWindow::examEndPrompt()
{
    QFETCH(bool, yes);
    startTest(ExamMode);
    QSignalSpy grade(m_window.get(), &TestWindow::gradeRequested);
    m_state.curItem = m_state.testLength;
    m_window->GoToItem(m_state.curItem);
    m_state.answerRecs[m_state.curQ].answer = u"answered"_qs;
    m_state.answerRecs[m_state.curQ].answer = m_bank.questions[m_state.curQ].questionType <= 2
                                                  ? AnswerValue(0b1101)
                                                  : AnswerValue(u"x"_qs);
    m_window->ReadAnswer(m_state.curQ);
    m_boxes->answerNext(yes ? MessageButton::Yes : MessageButton::No);
    QTest::mouseClick(button("cmNext"), Qt::LeftButton);

    QCOMPARE(m_boxes->shown.size(), 1);
    QCOMPARE(m_boxes->shown[0].title, u"Ending Test..."_qs);
    QCOMPARE(
        m_boxes->shown[0].text,
        u"You have answered all questions in this test.\n\nWould you like to end the test?"_qs);
    QCOMPARE(m_boxes->shown[0].icon, MessageIcon::Question);
    QCOMPARE(m_boxes->shown[0].buttons, MessageButtons::YesNo);
    QCOMPARE(grade.size(), yes ? 1 : 0);
    QCOMPARE(m_state.testActive, !yes);
    QCOMPARE(m_window->isHidden(), yes);
    QCOMPARE(m_state.curItem, m_state.testLength);
}

void TestTestWindow::studyLastNextOpensTheList()
{
    startTest(StudyMode);
    QSignalSpy list(m_window.get(), &TestWindow::reviewListRequested);
    m_state.curItem = m_state.testLength;
    m_window->GoToItem(m_state.curItem);
    QTest::mouseClick(button("cmNext"), Qt::LeftButton);
    QCOMPARE(list.size(), 1);
    QVERIFY(m_window->isHidden());
    QCOMPARE(m_state.curItem, m_state.testLength);
    QVERIFY(m_boxes->shown.isEmpty());
}

void TestTestWindow::reviewModeCaptionsAndBoundaries()
{
    startTest(StudyMode);
    m_window->hide();
    m_state.navMode = NavReviewMarked;
    m_state.markedItems = OneBasedArray<int>();
    m_state.markedItems.append(2);
    m_state.markedItems.append(5);
    m_state.reviewPosMarked = 1;
    m_state.curItem = 2;
    m_window->GoToItem(2);
    m_window->show();
    QCOMPARE(button("cmNext")->text(), u"&Next Marked >>"_qs);
    QCOMPARE(button("cmPrevious")->toolTip(), u"Previous Marked"_qs);
    QVERIFY(!button("cmGoto")->isEnabled());
    QVERIFY(!button("cmPrevious")->isEnabled());

    QTest::mouseClick(button("cmNext"), Qt::LeftButton);
    QCOMPARE(m_state.curItem, 5);
    QVERIFY(button("cmPrevious")->isEnabled() || m_state.testLength == 5);
    QSignalSpy list(m_window.get(), &TestWindow::reviewListRequested);
    QTest::mouseClick(button("cmNext"), Qt::LeftButton);
    QCOMPARE(list.size(), 1);
    QCOMPARE(m_state.reviewPosMarked, 2);
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
    QCOMPARE(button("cmEnd")->text(), u"View &Score"_qs);
    QVERIFY(button("cmList")->isEnabled());
    for (int item = 1; item <= m_state.testLength; ++item) {
        QCOMPARE(m_state.curItem, item);
        QCOMPARE(button("cmPrevious")->isEnabled(), item > 1);
        for (QWidget *control : window->findChildren<QWidget *>()) {
            const QString name = control->objectName();
            if ((name == u"opChc"_qs || name == u"ckChc"_qs || name == u"txTI"_qs) &&
                control->isVisibleTo(window))
                QVERIFY2(!control->isEnabled(), qPrintable(name));
        }
        if (m_state.curQ == qMultiple) {
            QTest::mouseClick(element<QLabel>(window, "lbChc", 1), Qt::LeftButton);
            QVERIFY(!element<QCheckBox>(window, "ckChc", 1)->isChecked());
        }
        QTest::mouseClick(button("cmNext"), Qt::LeftButton);
    }
    // Walking through the review changed no record: the unanswered value boxes showed "0".
    for (int q = 1; q <= m_bank.bankQuestionCount; ++q)
        QVERIFY(!answerPresent(m_state.answerRecs[q].answer));
}

void TestTestWindow::gotoRefusals_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("zero") << u"0"_qs;
    QTest::newRow("above the length") << u"7"_qs;
    QTest::newRow("not a number") << u"three"_qs;
}

void TestTestWindow::gotoRefusals()
{
    QFETCH(QString, typed);
    startTest(StudyMode);
    m_state.curItem = 4;
    m_window->GoToItem(4);
    GotoWindow frGoto(
        m_state, [this](int item) { m_window->GoToItem(item); }, m_window.get());
    frGoto.show();
    auto *txCurRec = frGoto.findChild<QLineEdit *>(u"txCurRec"_qs);
    QCOMPARE(txCurRec->text(), u"4"_qs);
    QCOMPARE(frGoto.findChild<QLabel *>(u"lbQues"_qs)->text(), u"(Total: 6 questions)"_qs);
    frGoto.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frGoto));
    txCurRec->setFocus();
    txCurRec->setText(typed);
    // Cancel takes the focus without a check; any other control of the window checks.
    frGoto.findChild<QPushButton *>(u"cmCancel"_qs)->setFocus();
    QTest::qWait(0);
    QCOMPARE(m_boxes->shown.size(), 0);
    txCurRec->setFocus();
    frGoto.findChild<QPushButton *>(u"cmGoto"_qs)->setFocus();
    QTRY_COMPARE(m_boxes->shown.size(), 1);
    QCOMPARE(m_boxes->shown[0].title, u"Attention!"_qs);
    QCOMPARE(m_boxes->shown[0].text,
             u"You enter an invalid item number.\nPlease reenter again."_qs);
    QCOMPARE(txCurRec->text(), u"4"_qs);
    QCOMPARE(txCurRec->selectedText(), u"4"_qs);
    QCOMPARE(m_state.curItem, 4);

    // Go checks what the box holds even when it never lost the focus.
    txCurRec->setText(typed);
    QTest::mouseClick(frGoto.findChild<QPushButton *>(u"cmGoto"_qs), Qt::LeftButton);
    QCOMPARE(m_boxes->shown.size(), 2);
    QVERIFY(frGoto.isVisible());
    QCOMPARE(m_state.curItem, 4);
}

void TestTestWindow::gotoShowsTheItem()
{
    startTest(StudyMode);
    showQuestion(qTyped);
    QTest::keyClicks(element<QLineEdit>(m_window.get(), "txTI", 0), u"bridge"_qs);
    const int target = m_state.curItem == 6 ? 5 : 6;
    QTimer::singleShot(0, this, [target] {
        auto *frGoto = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(frGoto);
        QCOMPARE(frGoto->objectName(), u"frGoto"_qs);
        auto *txCurRec = frGoto->findChild<QLineEdit *>(u"txCurRec"_qs);
        txCurRec->setText(QString::number(target));
        QTest::keyClick(txCurRec, Qt::Key_Return);
    });
    QTest::mouseClick(button("cmGoto"), Qt::LeftButton);
    QCOMPARE(m_state.curItem, target);
    QCOMPARE(m_state.curQ, GetQueID(m_state, target));
    QCOMPARE(std::get<QString>(m_state.answerRecs[qTyped].answer), u"bridge"_qs);
}

void TestTestWindow::endButtonAsksAndGrades()
{
    startTest(ExamMode);
    QSignalSpy grade(m_window.get(), &TestWindow::gradeRequested);
    auto *tmTimer = m_window->findChild<QTimer *>(u"tmTimer"_qs);
    QCOMPARE(button("cmEnd")->text(), u"&Grade Test"_qs);
    QCOMPARE(button("cmEnd")->toolTip(), u"Grade Test"_qs);

    m_boxes->answerNext(MessageButton::No);
    QTest::mouseClick(button("cmEnd"), Qt::LeftButton);
    QCOMPARE(m_boxes->shown.last().text, u"Would you like to end and grade the test?"_qs);
    QCOMPARE(m_boxes->shown.last().title, u"Ending Test..."_qs);
    QCOMPARE(m_boxes->shown.last().buttons, MessageButtons::YesNo);
    QVERIFY(tmTimer->isActive());
    QVERIFY(m_state.testActive);
    QCOMPARE(grade.size(), 0);

    if (m_bank.questions[m_state.curQ].questionType == TypedAnswer)
        QTest::keyClicks(element<QLineEdit>(m_window.get(), "txTI", 0), u"x"_qs);
    m_boxes->answerNext(MessageButton::Yes);
    QTest::mouseClick(button("cmEnd"), Qt::LeftButton);
    QCOMPARE(grade.size(), 1);
    QVERIFY(!m_state.testActive);
    QVERIFY(!tmTimer->isActive());
    QVERIFY(m_window->isHidden());
    QCOMPARE(m_window->instruction(), QString());
    if (m_bank.questions[m_state.curQ].questionType == TypedAnswer)
        QCOMPARE(std::get<QString>(m_state.answerRecs[m_state.curQ].answer), u"x"_qs);

    m_window->show();
    QCOMPARE(button("cmEnd")->text(), u"View &Score"_qs);
    QSignalSpy report(m_window.get(), &TestWindow::scoreReportRequested);
    QTest::mouseClick(button("cmEnd"), Qt::LeftButton);
    QCOMPARE(report.size(), 1);
    QVERIFY(m_window->isHidden());
    QCOMPARE(m_boxes->shown.size(), 2);
}

void TestTestWindow::timerCountsDown()
{
    startTest(StudyMode);
    auto *lbTime = m_window->findChild<QLabel *>(u"lbTime"_qs);
    QCOMPARE(lbTime->text(), u"Time Left: 59:59:59"_qs);
    QVERIFY(!m_window->findChild<QTimer *>(u"tmTimer"_qs)->isActive());
    QVERIFY(!m_window->findChild<QLabel *>(u"imTimer"_qs)->isVisible());

    m_window.reset();
    m_state = TestState();
    startTest(ExamMode);
    lbTime = m_window->findChild<QLabel *>(u"lbTime"_qs);
    QCOMPARE(lbTime->text(), u"Time Left: 01:30:00"_qs);
    QVERIFY(m_window->findChild<QTimer *>(u"tmTimer"_qs)->isActive());
    QVERIFY(m_window->findChild<QLabel *>(u"imTimer"_qs)->isVisible());
    m_clock->advanceSecs(61);
    m_window->timerTick();
    QCOMPARE(lbTime->text(), u"Time Left: 01:28:59"_qs);
}

void TestTestWindow::timeUpSavesGradesAndCloses()
{
    startTest(ExamMode);
    showQuestion(qTyped);
    QTest::keyClicks(element<QLineEdit>(m_window.get(), "txTI", 0), u"gateway"_qs);
    GotoWindow frGoto(
        m_state, [](int) {}, m_window.get());
    frGoto.show();
    QSignalSpy grade(m_window.get(), &TestWindow::gradeRequested);

    m_clock->advanceSecs(90 * 60 - 1);
    m_window->timerTick();
    QCOMPARE(grade.size(), 0);
    m_clock->advanceSecs(1);
    m_window->timerTick();

    QCOMPARE(m_boxes->shown.size(), 1);
    QCOMPARE(m_boxes->shown[0].title, u"Time is Up!"_qs);
    QCOMPARE(m_boxes->shown[0].text, u"You are running out of time!\nEnding test now..."_qs);
    QCOMPARE(m_boxes->shown[0].icon, MessageIcon::Warning);
    QVERIFY(!frGoto.isVisible());
    QCOMPARE(std::get<QString>(m_state.answerRecs[qTyped].answer), u"gateway"_qs);
    QCOMPARE(grade.size(), 1);
    QVERIFY(!m_state.testActive);
    QVERIFY(m_window->isHidden());
    QCOMPARE(m_window->findChild<QLabel *>(u"lbTime"_qs)->text(), u"Time Left: 00:00:00"_qs);
    QVERIFY(!m_window->findChild<QTimer *>(u"tmTimer"_qs)->isActive());
}

// Answers the end prompt Yes only after the timer has run out behind it.
class TimeRunsOutBehindTheBox : public MessageBoxes
{
public:
    TimeRunsOutBehindTheBox(TestWindow *window, FakeClock *clock)
        : m_window(window), m_clock(clock), m_previous(MessageBoxes::installed())
    {
        MessageBoxes::install(this);
    }
    ~TimeRunsOutBehindTheBox() override { MessageBoxes::install(m_previous); }

    MessageButton show(const MessageBoxRequest &request) override
    {
        titles.append(request.title);
        if (request.title == u"Ending Test..."_qs) {
            m_clock->advanceSecs(2 * 60 * 60);
            m_window->timerTick();
            return MessageButton::Yes;
        }
        return MessageButton::Ok;
    }

    QStringList titles;

private:
    TestWindow *m_window;
    FakeClock *m_clock;
    MessageBoxes *m_previous;
};

void TestTestWindow::timeUpBehindTheEndPromptGradesOnce()
{
    startTest(ExamMode);
    QSignalSpy grade(m_window.get(), &TestWindow::gradeRequested);
    TimeRunsOutBehindTheBox boxes(m_window.get(), m_clock.get());
    QTest::mouseClick(button("cmEnd"), Qt::LeftButton);
    QCOMPARE(boxes.titles, (QStringList{u"Ending Test..."_qs, u"Time is Up!"_qs}));
    QCOMPARE(grade.size(), 1);
    QVERIFY(m_window->isHidden());
}

void TestTestWindow::fontSizeReachesEveryControl()
{
    startTest(StudyMode);
    showQuestion(qValues);
    QTest::keyClicks(element<QLineEdit>(m_window.get(), "txTI", 1), u"1"_qs);
    const int boxWidth = element<QLineEdit>(m_window.get(), "txTI", 1)->width();
    QFont large = m_window->font();
    large.setPointSize(large.pointSize() * 2);
    m_window->setFont(large);
    // The font command shows the item again; what was typed stays.
    m_window->GoToItem(m_state.curItem);
    QCOMPARE(m_window->findChild<QLabel *>(u"lbItem"_qs)->font().pointSize(), large.pointSize());
    QVERIFY(m_window->findChild<QLabel *>(u"lbItem"_qs)->font().bold());
    QCOMPARE(m_window->findChild<QLabel *>(u"lbQuestion"_qs)->font().pointSize(),
             large.pointSize());
    QVERIFY(element<QLineEdit>(m_window.get(), "txTI", 1)->width() > boxWidth);
    QCOMPARE(element<QLineEdit>(m_window.get(), "txTI", 1)->text(), u"01"_qs);
}

void TestTestWindow::pageFillsTheWidthItIsShownAt()
{
    // As the program does it: loaded while hidden, sized, then shown.
    QVERIFY(InitTest(StudyMode, m_bank, m_state));
    m_window = std::make_unique<TestWindow>(m_bank, m_state);
    m_window->load();
    m_window->setGeometry(0, 0, 1100, 700);
    m_window->show();
    auto *svTest = m_window->findChild<QScrollArea *>(u"svTest"_qs);
    QCOMPARE(svTest->width(), 1100);
    QVERIFY(svTest->widget()->width() >= 1100 - 2 * svTest->frameWidth() - 20);
    auto *question = m_window->findChild<QLabel *>(u"lbQuestion"_qs);
    QCOMPARE(question->x() + question->width(), 1100 - 600 / 15);
}

void TestTestWindow::longQuestionScrolls()
{
    m_bank.questions[qTenChoices].questionText = u"A long question. "_qs.repeated(200);
    startTest(StudyMode);
    showQuestion(qTenChoices);
    auto *svTest = m_window->findChild<QScrollArea *>(u"svTest"_qs);
    QVERIFY(svTest->verticalScrollBar()->maximum() > 0);
    QCOMPARE(svTest->verticalScrollBar()->value(), 0);
    // The last choice lies inside the scrolled area.
    QLabel *last = element<QLabel>(m_window.get(), "lbChc", 10);
    QVERIFY(last->y() + last->height() <= svTest->widget()->height());
    // Narrower, the text wraps into more lines and the choices stay below it.
    m_window->resize(500, 650);
    auto *question = m_window->findChild<QLabel *>(u"lbQuestion"_qs);
    QVERIFY(element<QLabel>(m_window.get(), "lbChc", 1)->y() > question->y() + question->height());
}

QTEST_MAIN(TestTestWindow)
#include "tst_testwindow.moc"
