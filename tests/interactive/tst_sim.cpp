// Simulation questions: the simulated console's rules (tasks in order, the command
// comparison, the transcript), and the window with real widgets: task labels, typing into
// the console, the Topology / Device switch, and the whole task from the keyboard to Close.

#include "FakeMessageBoxes.h"
#include "InteractiveFixtures.h"
#include "Widgets.h"

#include "interactive/SimWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QLabel *taskLabel(QWidget *window, int t)
{
    return element<QLabel>(window, u"lbTask"_s, t);
}

void type(QWidget *window, const QString &line)
{
    auto *txInput = window->findChild<QLineEdit *>(u"txInput"_s);
    QTest::keyClicks(txInput, line);
    QTest::keyClick(txInput, Qt::Key_Return);
}

} // namespace

class TestSim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void line_data();
    void line();
    void restartLosesTheProgress();
    void windowFromTaskLabelToThePrompts();
    void keyboardAlone();
    void manyTasksStayOnScreenAndScroll();

private:
    SimSession openTask1();

    QuestionBank m_bank;
    TestState m_state;
};

void TestSim::init()
{
    m_bank = interactiveBank();
    m_state = runningTest(m_bank, simulationQ);
}

SimSession TestSim::openTask1()
{
    SimSession session = startSimSession(m_bank, m_state, simulationQ);
    ShowSimTask(session, m_bank, 1);
    return session;
}

void TestSim::line_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("line");
    QTest::addColumn<SimLineResult>("result");
    QTest::addColumn<QString>("added");
    const QString incorrect =
        u"\r\n% Incorrect response. Please read the instruction carefully.\r\n"_s;
    const QString key = u"enable"_s;
    QTest::newRow("as expected") << key << key << SimLineResult::Accepted << u"R1>enable"_s;
    QTest::newRow("extra word") << key << u" enable 15"_s << SimLineResult::Refused
                                << u"R1>enable 15"_s + incorrect;
    QTest::newRow("tab is no space")
        << key << u"\tenable"_s << SimLineResult::Refused << u"R1>\tenable"_s + incorrect;
    QTest::newRow("spaces only") << key << u"    "_s << SimLineResult::Echoed << u"R1>"_s;
    QTest::newRow("trailing space in the key never matches")
        << u"enable "_s << u"enable "_s << SimLineResult::Refused << u"R1>enable"_s + incorrect;
}

void TestSim::line()
{
    QFETCH(QString, key);
    QFETCH(QString, line);
    QFETCH(SimLineResult, result);
    QFETCH(QString, added);
    m_bank.simRows[1].expectedCommand = key;
    SimSession session = openTask1();
    QCOMPARE(submitSimLine(session, m_bank, line), result);
    QCOMPARE(session.transcript, u"\r\n"_s + added);
    QCOMPARE(session.simTask, result == SimLineResult::Accepted ? 2 : 1);
}

void TestSim::restartLosesTheProgress()
{
    SimSession session = openTask1();
    submitSimLine(session, m_bank, u"enable"_s);
    QVERIFY(ShowSimTask(session, m_bank, 0));
    QCOMPARE(session.simTask, 1);
    QVERIFY(session.transcript.isEmpty());
    QVERIFY(!session.consoleShown);
    // Only the overview and the first task can be opened.
    QVERIFY(session.taskLabels[1].enabled && !session.taskLabels[2].enabled);
    QVERIFY(!ShowSimTask(session, m_bank, 2));
}

void TestSim::windowFromTaskLabelToThePrompts()
{
    SimWindow window(m_bank, m_state, startSimSession(m_bank, m_state, simulationQ), QPixmap());
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget *w = &window;
    auto *ssSim = w->findChild<QTabWidget *>(u"ssSim"_s);
    auto *imDiagram = w->findChild<QLabel *>(u"imDiagram"_s);
    auto *lbPrompt = w->findChild<QLabel *>(u"lbPrompt"_s);
    auto *txInput = w->findChild<QLineEdit *>(u"txInput"_s);
    // Only Close closes the window; a disabled task label does nothing.
    QTest::keyClick(w, Qt::Key_Escape);
    QTest::mouseClick(taskLabel(w, 2), Qt::LeftButton);
    QVERIFY(w->isVisible() && !ssSim->isVisible());

    QTest::mouseClick(taskLabel(w, 1), Qt::LeftButton);
    QVERIFY(ssSim->isVisible() && !imDiagram->isVisible());
    QCOMPARE(lbPrompt->text(), u"R1>"_s);
    QVERIFY(txInput->hasFocus());
    click(w, u"cmAlt"_s);
    QVERIFY(!ssSim->isVisible() && imDiagram->isVisible());
    click(w, u"cmAlt"_s);

    type(w, u"  ENABLE   "_s);
    QCOMPARE(w->findChild<QLabel *>(u"lbOutput"_s)->text(), u"\nR1>ENABLE"_s);
    QCOMPARE(lbPrompt->text(), u"R1#"_s);
    QVERIFY(txInput->text().isEmpty());
    QVERIFY(!taskLabel(w, 1)->isEnabled() && taskLabel(w, 2)->isEnabled());
    type(w, u"configure terminal"_s);
    // Row 3's device name with the text of its prompt number, 3.
    QCOMPARE(lbPrompt->text(), u"SW1(config)#"_s);
}

void TestSim::keyboardAlone()
{
    FakeMessageBoxes boxes;
    SimWindow window(m_bank, m_state, startSimSession(m_bank, m_state, simulationQ), QPixmap());
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // Tab reaches task 1 but never task 2, which is not open yet.
    for (int tabs = 0; tabs < 10 && !taskLabel(&window, 1)->hasFocus(); ++tabs) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(!taskLabel(&window, 2)->hasFocus());
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(window.findChild<QLineEdit *>(u"txInput"_s)->hasFocus());
    for (const QString &line : {u"enable"_s, u"configure terminal"_s, u"hostname Core1"_s})
        type(&window, line);
    // With the last task done the console is shut and the focus waits on Close.
    QVERIFY(!window.findChild<QLineEdit *>(u"txInput"_s)->isEnabled() &&
            !taskLabel(&window, 0)->isEnabled());
    auto *cmClose = window.findChild<QWidget *>(u"cmClose"_s);
    QVERIFY(cmClose->hasFocus());
    QTest::keyClick(cmClose, Qt::Key_Return);
    QCOMPARE(m_state.answerRecs[simulationQ].answer, AnswerValue(1));
    QVERIFY(!window.isVisible());
    QCOMPARE(boxes.shown,
             (QList<MessageBoxRequest>{{u"QuendraSim"_s, u"Your answer has been recorded."_s,
                                        MessageIcon::Information, MessageButtons::Ok}}));
}

// 255 tasks, the most a module holds: the window stays within the screen and scrolls to
// the last task number.
void TestSim::manyTasksStayOnScreenAndScroll()
{
    for (int row = 4; row <= 255; ++row)
        m_bank.simRows.append({simulationQ, quint8(row), u"R1"_s, 1, u"Task"_s, u"cmd"_s, {}});
    m_bank.questions[simulationQ].choiceCount = 255;
    m_state = runningTest(m_bank, simulationQ);
    SimWindow window(m_bank, m_state, startSimSession(m_bank, m_state, simulationQ), QPixmap());
    const QRect screen = window.screen()->availableGeometry();
    QVERIFY(window.width() <= screen.width() && window.height() <= screen.height());
    auto *area = window.findChild<QScrollArea *>(u"scrolledArea"_s);
    QVERIFY(area);
    QLabel *last = taskLabel(&window, 255);
    area->ensureWidgetVisible(last);
    QVERIFY(area->viewport()->rect().contains(last->mapTo(area->viewport(), QPoint(0, 0))));
}

QTEST_MAIN(TestSim)
#include "tst_sim.moc"
