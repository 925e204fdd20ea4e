#include "BankBuilder.h"
#include "FakeMessageBoxes.h"
#include "engine/InitTest.h"
#include "present/QuestionDisplay.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace {

// A page holding the display's controls as the test window lays them out.
struct Page
{
    QWidget window;
    QuestionControls controls;
    QString instruction;

    Page()
    {
        window.resize(800, 500);
        auto *svTest = new QScrollArea(&window);
        svTest->setGeometry(0, 0, 800, 500);
        auto *area = new QWidget;
        svTest->setWidget(area);
        controls.svTest = svTest;
        controls.questionArea = area;
        auto label = [area](const QString &name) {
            auto *control = new QLabel(name, area);
            control->setObjectName(name);
            control->setWordWrap(true);
            control->move(16, 16);
            control->hide();
            return control;
        };
        controls.lbItem = new QLabel(&window);
        controls.lbQuestion = label(u"lbQuestion"_qs);
        controls.lbQuestion->show();
        controls.lbTI = label(u"lbTI"_qs);
        controls.lbChc = {label(u"lbChc"_qs)};
        controls.lbChc[0]->move(56, 16);
        controls.opChc = {new QRadioButton(area)};
        controls.ckChc = {new QCheckBox(area)};
        controls.txTI = {new QLineEdit(area)};
        controls.lbDot = {label(u"lbDot"_qs)};
        controls.opChc[0]->hide();
        controls.ckChc[0]->hide();
        controls.txTI[0]->hide();
        controls.lbTheAnswer = label(u"lbTheAnswer"_qs);
        controls.lbCorAns = label(u"lbCorAns"_qs);
        controls.lbExplain = label(u"lbExplain"_qs);
        controls.lbURL = label(u"lbURL"_qs);
        controls.lbTheObjective = label(u"lbTheObjective"_qs);
        controls.lbObjective = label(u"lbObjective"_qs);
        controls.lbTheReference = label(u"lbTheReference"_qs);
        controls.lbReference = label(u"lbReference"_qs);
        controls.setInstruction = [this](const QString &text) { instruction = text; };
        window.show();
    }
};

int bottomOf(const QWidget *widget)
{
    return widget->y() + widget->height();
}

} // namespace

class TestQuestionDisplay : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void taskQuestionHasNoControls();
    void tenChoicesAreLetteredAToJ();
    void choicesAreDrawnOnlyOnce();
    void valueBoxesFollowTheFont();
    void answerAreaStaysStackedAfterResize();

private:
    QuestionBank m_bank;
    TestState m_state;
};

void TestQuestionDisplay::init()
{
    BankBuilder builder;
    builder.objectives(1)
        .question(1, SingleAnswer, 10)
        .question(1, TypedValues, 4)
        .question(1, Simulation, 2);
    m_bank = builder.bank();
    m_state = TestState();
    m_state.testLength = 3;
    m_state.testActive = true;
    for (int q = 1; q <= 3; ++q)
        m_state.objQueID.append(q);
    InitRecordIndex(m_bank, m_state, m_bank.bankQuestionCount);
}

void TestQuestionDisplay::taskQuestionHasNoControls()
{
    Page page;
    ShowQuestion(m_bank, m_state, page.controls, 3);
    QCOMPARE(m_state.curQ, 3);
    QCOMPARE(page.controls.lbChc.size() + page.controls.txTI.size(), 2);
    // The answer heading sits 480 twips below the question text.
    QCOMPARE(page.controls.lbTheAnswer->y(), bottomOf(page.controls.lbQuestion) + 32);
    QCOMPARE(page.instruction, u"Please click on the Task button to answer."_qs);
    HideChoices(m_bank, page.controls, 3);
    QCOMPARE(page.controls.lbChc.size(), 1);
}

void TestQuestionDisplay::tenChoicesAreLetteredAToJ()
{
    Page page;
    ShowQuestion(m_bank, m_state, page.controls, 1);
    QCOMPARE(page.controls.opChc.size(), 11);
    QCOMPARE(page.controls.opChc[1]->text(), u"A."_qs);
    QCOMPARE(page.controls.opChc[10]->text(), u"J."_qs);
    QCOMPARE(page.controls.lbChc[10]->text(), u"Choice 10"_qs);
    QCOMPARE(page.controls.lbTheAnswer->y(), bottomOf(page.controls.lbChc[10]) + 32);
    HideChoices(m_bank, page.controls, 1);
    QCOMPARE(page.controls.opChc.size(), 1);
    QCOMPARE(page.controls.lbChc.size(), 1);
    QCOMPARE(page.controls.questionArea->findChildren<QRadioButton *>().size(), 1);
}

void TestQuestionDisplay::choicesAreDrawnOnlyOnce()
{
    Page page;
    FakeMessageBoxes boxes;
    ShowQuestion(m_bank, m_state, page.controls, 1);
    ShowChoices(m_bank, m_state, page.controls, 1);
    QCOMPARE(boxes.shown.size(), 1);
    QVERIFY(boxes.shown[0].text.endsWith(u"Procedure Name: ShowChoices"_qs));
    QCOMPARE(page.controls.opChc.size(), 11);
}

void TestQuestionDisplay::valueBoxesFollowTheFont()
{
    Page page;
    ShowQuestion(m_bank, m_state, page.controls, 2);
    const int normalWidth = page.controls.txTI[1]->width();
    HideChoices(m_bank, page.controls, 2);
    QFont large = page.window.font();
    large.setPointSize(large.pointSize() * 2);
    page.window.setFont(large);
    ShowQuestion(m_bank, m_state, page.controls, 2);
    QVERIFY(page.controls.txTI[1]->width() > normalWidth);
    QCOMPARE(page.controls.txTI[4]->y(), page.controls.txTI[1]->y());
}

void TestQuestionDisplay::answerAreaStaysStackedAfterResize()
{
    Page page;
    ShowQuestion(m_bank, m_state, page.controls, 1);
    QuestionControls &controls = page.controls;
    controls.lbCorAns->setText(u"You answered: A\nThe correct answer is: B"_qs);
    controls.lbExplain->setText(u"A long explanation of the answer. "_qs.repeated(40));
    for (QLabel *label :
         {controls.lbTheAnswer, controls.lbCorAns, controls.lbExplain, controls.lbTheObjective,
          controls.lbObjective, controls.lbTheReference, controls.lbReference})
        label->show();
    controls.svTest->verticalScrollBar()->setValue(100);

    controls.svTest->resize(400, 500);
    fitLabelWidths(controls);
    RefreshDisplay(controls);
    QCOMPARE(controls.lbExplain->y(), bottomOf(controls.lbCorAns) + 8);
    QCOMPARE(controls.lbTheObjective->y(), bottomOf(controls.lbExplain) + 16);
    QCOMPARE(controls.lbObjective->y(), bottomOf(controls.lbTheObjective) + 8);
    QCOMPARE(controls.lbTheReference->y(), bottomOf(controls.lbObjective) + 16);
    QCOMPARE(controls.lbReference->y(), bottomOf(controls.lbTheReference) + 8);
    QCOMPARE(controls.svTest->verticalScrollBar()->value(), 0);
    QVERIFY(controls.questionArea->height() > bottomOf(controls.lbReference));
}

QTEST_MAIN(TestQuestionDisplay)
#include "tst_questiondisplay.moc"
