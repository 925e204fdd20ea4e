#include "BankBuilder.h"
#include "engine/InitTest.h"
#include "present/QuestionDisplay.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A page holding the display's controls as the test window lays them out, each array with
// its template.
struct Page
{
    QWidget window;
    QuestionControls controls;

    Page()
    {
        window.resize(800, 500);
        controls.svTest = new QScrollArea(&window);
        controls.svTest->setGeometry(0, 0, 800, 500);
        QWidget *area = controls.questionArea = new QWidget;
        controls.svTest->setWidget(area);
        controls.lbItem = new QLabel(&window);
        for (QLabel **label :
             {&controls.lbQuestion, &controls.lbTI, &controls.lbTheAnswer, &controls.lbCorAns,
              &controls.lbExplain, &controls.lbURL, &controls.lbTheObjective, &controls.lbObjective,
              &controls.lbTheReference, &controls.lbReference}) {
            *label = new QLabel(u"A heading"_s, area);
            (*label)->setWordWrap(true);
            (*label)->move(16, 16);
            (*label)->hide();
        }
        controls.lbQuestion->show();
        controls.lbChc = {new QLabel(area)};
        controls.lbChc[0]->move(56, 16);
        controls.opChc = {new QRadioButton(area)};
        controls.ckChc = {new QCheckBox(area)};
        controls.txTI = {new QLineEdit(area)};
        controls.lbDot = {new QLabel(area)};
        controls.setInstruction = [](const QString &) {};
        window.show();
    }
};

} // namespace

class TestQuestionDisplay : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        BankBuilder builder;
        builder.objectives(1).question(1, SingleAnswer, 10).question(1, TypedValues, 4);
        m_bank = builder.question(1, Simulation, 2).bank();
        m_state = TestState();
        m_state.testLength = 3;
        m_state.testActive = true;
        for (int q = 1; q <= 3; ++q)
            m_state.objQueID.append(q);
        InitRecordIndex(m_bank, m_state, m_bank.bankQuestionCount);
    }

    void controlsComeAndGoWithTheQuestion_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("choices");
        QTest::addColumn<int>("valueBoxes");
        QTest::newRow("ten choices") << 1 << 10 << 0;
        QTest::newRow("four values") << 2 << 0 << 4;
        // A task is answered in its own window.
        QTest::newRow("task") << 3 << 0 << 0;
    }

    void controlsComeAndGoWithTheQuestion()
    {
        QFETCH(int, item);
        QFETCH(int, choices);
        QFETCH(int, valueBoxes);

        Page page;
        QuestionControls &controls = page.controls;
        ShowQuestion(m_bank, m_state, controls, item);
        QCOMPARE(m_state.curQ, item);
        QCOMPARE(controls.opChc.size(), 1 + choices);
        QCOMPARE(controls.txTI.size(), 1 + valueBoxes);
        if (choices == 10) {
            QCOMPARE(controls.opChc[10]->text(), u"J."_s);
            QCOMPARE(controls.lbChc[10]->text(), u"Choice 10"_s);
        }

        HideChoices(m_bank, controls, item);
        QCOMPARE(controls.opChc.size() + controls.lbChc.size() + controls.txTI.size(), 3);
        QCOMPARE(controls.questionArea->findChildren<QRadioButton *>().size(), 1);
        QCOMPARE(controls.questionArea->findChildren<QLineEdit *>().size(), 1);
    }

    void answerAreaStaysStackedAfterResize()
    {
        Page page;
        ShowQuestion(m_bank, m_state, page.controls, 1);
        QuestionControls &controls = page.controls;
        controls.lbCorAns->setText(u"You answered: A\nThe correct answer is: B"_s);
        controls.lbExplain->setText(u"A long explanation of the answer. "_s.repeated(40));
        const QList<QLabel *> stack = {controls.lbTheAnswer, controls.lbCorAns,
                                       controls.lbExplain,   controls.lbTheObjective,
                                       controls.lbObjective, controls.lbTheReference,
                                       controls.lbReference};
        for (QLabel *label : stack)
            label->show();
        controls.svTest->verticalScrollBar()->setValue(100);

        // Narrower, the explanation takes more lines and pushes the rest down.
        controls.svTest->resize(400, 500);
        fitLabelWidths(controls);
        RefreshDisplay(controls);
        for (qsizetype k = 1; k < stack.size(); ++k)
            QVERIFY(stack[k]->y() > stack[k - 1]->geometry().bottom());
        QVERIFY(controls.questionArea->height() > controls.lbReference->geometry().bottom());
        QCOMPARE(controls.svTest->verticalScrollBar()->value(), 0);
    }

private:
    QuestionBank m_bank;
    TestState m_state;
};

QTEST_MAIN(TestQuestionDisplay)
#include "tst_questiondisplay.moc"
