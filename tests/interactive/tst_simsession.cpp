// The simulated console: tasks in order, the command comparison, the transcript and the
// answer a closing records.

#include "InteractiveFixtures.h"

#include "interactive/logic/SimSession.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QList<bool> enabledLabels(const SimSession &session)
{
    QList<bool> enabled;
    for (const SimTaskLabel &label : session.taskLabels)
        enabled.append(label.enabled);
    return enabled;
}

} // namespace

class TestSimSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void startsAtTheOverview();
    void line_data();
    void line();
    void tasksInOrderUntilCompleted();
    void restartLosesTheProgress();
    void trailingSpaceInTheKeyNeverMatches();

private:
    SimSession openTask1();

    QuestionBank m_bank;
    TestState m_state;
};

void TestSimSession::init()
{
    m_bank = interactiveBank();
    m_state = runningTest(m_bank, simulationQ);
}

SimSession TestSimSession::openTask1()
{
    SimSession session = startSimSession(m_bank, m_state, simulationQ);
    ShowSimTask(session, m_bank, 1);
    return session;
}

void TestSimSession::startsAtTheOverview()
{
    SimSession session = startSimSession(m_bank, m_state, simulationQ);
    QCOMPARE(enabledLabels(session), (QList<bool>{true, true, false, false}));
    QVERIFY(session.taskLabels[0].selected);
    QVERIFY(!session.consoleShown);
    QCOMPARE(session.answer(), -1);
    // Only the task reached opens.
    QVERIFY(!ShowSimTask(session, m_bank, 2));
    QVERIFY(ShowSimTask(session, m_bank, 1));
    QCOMPARE(session.prompt(), u"R1>"_s);
    QVERIFY(session.taskLabels[1].selected && !session.taskLabels[0].selected);
    QVERIFY(session.consoleShown);
}

void TestSimSession::line_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<SimLineResult>("result");
    QTest::addColumn<QString>("added");
    const QString incorrect =
        u"\r\n% Incorrect response. Please read the instruction carefully.\r\n"_s;
    QTest::newRow("as expected") << u"enable"_s << SimLineResult::Accepted << u"R1>enable"_s;
    QTest::newRow("upper case, outer spaces")
        << u"   ENABLE  "_s << SimLineResult::Accepted << u"R1>ENABLE"_s;
    QTest::newRow("abbreviation") << u"en"_s << SimLineResult::Refused << u"R1>en"_s + incorrect;
    QTest::newRow("extra word") << u" enable 15"_s << SimLineResult::Refused
                                << u"R1>enable 15"_s + incorrect;
    QTest::newRow("tab is no space")
        << u"\tenable"_s << SimLineResult::Refused << u"R1>\tenable"_s + incorrect;
    QTest::newRow("spaces only") << u"    "_s << SimLineResult::Echoed << u"R1>"_s;
}

void TestSimSession::line()
{
    QFETCH(QString, line);
    QFETCH(SimLineResult, result);
    QFETCH(QString, added);
    SimSession session = openTask1();
    QCOMPARE(submitSimLine(session, m_bank, line), result);
    QCOMPARE(session.transcript, u"\r\n"_s + added);
    QCOMPARE(session.simTask, result == SimLineResult::Accepted ? 2 : 1);
}

void TestSimSession::tasksInOrderUntilCompleted()
{
    SimSession session = openTask1();
    submitSimLine(session, m_bank, u"enable"_s);
    submitSimLine(session, m_bank, u"configure terminal"_s);
    QVERIFY(session.transcript.endsWith(
        u"\r\nR1#configure terminal\r\nEnter configuration commands, one per line.\r\n"_s));
    QCOMPARE(enabledLabels(session), (QList<bool>{true, false, false, true}));
    QVERIFY(session.taskLabels[3].selected);
    // Row 3's device name with the text of its prompt number, 3.
    QCOMPARE(session.prompt(), u"SW1(config)#"_s);
    QCOMPARE(session.answer(), -1);

    QCOMPARE(submitSimLine(session, m_bank, u"hostname core1"_s), SimLineResult::Completed);
    QVERIFY(session.transcript.endsWith(
        u"\r\nSW1(config)#hostname core1\r\n\r\n% Task completed.\r\nClick on the Close "
        u"button to return to the main screen.\r\n"_s));
    QVERIFY(!session.inputEnabled);
    QCOMPARE(enabledLabels(session), (QList<bool>{false, false, false, false}));
    QCOMPARE(session.answer(), 1);
    QCOMPARE(submitSimLine(session, m_bank, u"x"_s), SimLineResult::Ignored);
}

void TestSimSession::restartLosesTheProgress()
{
    SimSession session = openTask1();
    submitSimLine(session, m_bank, u"enable"_s);
    QVERIFY(ShowSimTask(session, m_bank, 0));
    QCOMPARE(session.simTask, 1);
    QVERIFY(session.transcript.isEmpty());
    QVERIFY(!session.consoleShown);
    QCOMPARE(enabledLabels(session), (QList<bool>{true, true, false, false}));
    QVERIFY(!ShowSimTask(session, m_bank, 2));
}

void TestSimSession::trailingSpaceInTheKeyNeverMatches()
{
    m_bank.simRows[1].expectedCommand = u"enable "_s;
    SimSession session = openTask1();
    QCOMPARE(submitSimLine(session, m_bank, u"enable "_s), SimLineResult::Refused);
    // Without tasks nothing can be typed or completed.
    m_bank.questions[simulationQ].choiceCount = 0;
    session = startSimSession(m_bank, m_state, simulationQ);
    QVERIFY(!ShowSimTask(session, m_bank, 1));
    QCOMPARE(submitSimLine(session, m_bank, u"enable"_s), SimLineResult::Ignored);
}

QTEST_GUILESS_MAIN(TestSimSession)
#include "tst_simsession.moc"
