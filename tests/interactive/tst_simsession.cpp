// The simulated console: tasks in order, the command comparison, the transcript and the
// answer a closing records.

#include "InteractiveFixtures.h"

#include "interactive/logic/SimSession.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString completionLines =
    QStringLiteral("\r\n\r\n% Task completed.\r\nClick on the Close button to return to the "
                   "main screen.\r\n");

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
    void onlyTheTaskReachedOpens();
    void firstTaskShowsItsPrompt();
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
    void wrongThenRightTranscript();
    void emptyLineOnlyEchoes();
    void nextTaskAfterTheRightCommand();
    void lastTaskCompletes();
    void allButTheLastRecordsMinusOne();
    void restartLosesTheProgress();
    void trailingSpaceInTheKeyNeverMatches();
    void noTasksNeverCompletes();
    void viewSwitch();

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
    const SimSession session = startSimSession(m_bank, m_state, simulationQ);
    QCOMPARE(session.simTaskCount, 3);
    QCOMPARE(session.simTask, 1);
    QCOMPARE(session.simSelTask, 0);
    QCOMPARE(session.taskText,
             QStringLiteral("Name the switch.\r\n\r\nClick on Task #1 to begin."));
    QCOMPARE(session.statusText,
             QStringLiteral("Please read the instruction carefully. Click on Task #1 to begin."));
    QCOMPARE(enabledLabels(session), (QList<bool>{true, true, false, false}));
    QVERIFY(session.taskLabels[0].selected);
    QVERIFY(!session.taskLabels[1].selected);
    QVERIFY(!session.consoleShown);
    QVERIFY(!session.viewSwitchEnabled);
    QVERIFY(session.transcript.isEmpty());
    QCOMPARE(session.answer(), -1);
}

void TestSimSession::onlyTheTaskReachedOpens()
{
    SimSession session = startSimSession(m_bank, m_state, simulationQ);
    QVERIFY(!ShowSimTask(session, m_bank, 2));
    QCOMPARE(session.simSelTask, 0);
    QVERIFY(!session.consoleShown);
}

void TestSimSession::firstTaskShowsItsPrompt()
{
    const SimSession session = openTask1();
    QCOMPARE(session.prompt(), QStringLiteral("R1>"));
    QCOMPARE(session.taskText, QStringLiteral("Enter privileged EXEC mode."));
    QCOMPARE(session.statusText, QStringLiteral("Please complete the required task. Do not use "
                                                "command abbreviation."));
    QCOMPARE(enabledLabels(session), (QList<bool>{true, true, false, false}));
    QVERIFY(!session.taskLabels[0].selected);
    QVERIFY(session.taskLabels[1].selected);
    QVERIFY(session.consoleShown);
    QVERIFY(session.viewSwitchEnabled);
}

void TestSimSession::accepted_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("echo");
    QTest::newRow("as expected") << u"enable"_s << u"R1>enable"_s;
    QTest::newRow("upper case with outer spaces") << u"   ENABLE  "_s << u"R1>ENABLE"_s;
    QTest::newRow("mixed case") << u"EnAbLe"_s << u"R1>EnAbLe"_s;
}

void TestSimSession::accepted()
{
    QFETCH(QString, line);
    QFETCH(QString, echo);
    SimSession session = openTask1();
    QCOMPARE(submitSimLine(session, m_bank, line), SimLineResult::Accepted);
    // The task had no device output: the echo alone.
    QCOMPARE(session.transcript, QStringLiteral("\r\n") + echo);
    QCOMPARE(session.simTask, 2);
}

void TestSimSession::refused_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("echo");
    QTest::newRow("abbreviation") << u"en"_s << u"en"_s;
    QTest::newRow("extra word") << u" enable 15 "_s << u"enable 15"_s;
    QTest::newRow("tab before it") << u"\tenable"_s << u"\tenable"_s;
    QTest::newRow("doubled inner space, task 2")
        << u"configure  terminal"_s << u"configure  terminal"_s;
}

void TestSimSession::refused()
{
    QFETCH(QString, line);
    QFETCH(QString, echo);
    SimSession session = openTask1();
    if (line.contains(QStringLiteral("configure")))
        submitSimLine(session, m_bank, QStringLiteral("enable"));
    const int task = session.simTask;
    const QString before = session.transcript;
    QCOMPARE(submitSimLine(session, m_bank, line), SimLineResult::Refused);
    QCOMPARE(session.transcript,
             before + QStringLiteral("\r\n") + session.prompt() + echo +
                 QStringLiteral("\r\n% Incorrect response. Please read the instruction "
                                "carefully.\r\n"));
    QCOMPARE(session.simTask, task);
    QCOMPARE(session.simSelTask, task);
}

void TestSimSession::wrongThenRightTranscript()
{
    SimSession session = openTask1();
    submitSimLine(session, m_bank, QStringLiteral("enable"));
    session.transcript.clear();
    submitSimLine(session, m_bank, QStringLiteral("configure"));
    submitSimLine(session, m_bank, QStringLiteral("configure terminal"));
    QCOMPARE(session.transcript,
             QStringLiteral("\r\nR1#configure\r\n% Incorrect response. Please read the "
                            "instruction carefully.\r\n\r\nR1#configure terminal\r\nEnter "
                            "configuration commands, one per line.\r\n"));
}

void TestSimSession::emptyLineOnlyEchoes()
{
    SimSession session = openTask1();
    QCOMPARE(submitSimLine(session, m_bank, QStringLiteral("    ")), SimLineResult::Echoed);
    QCOMPARE(session.transcript, QStringLiteral("\r\nR1>"));
    QCOMPARE(session.simTask, 1);
}

void TestSimSession::nextTaskAfterTheRightCommand()
{
    SimSession session = openTask1();
    submitSimLine(session, m_bank, QStringLiteral("enable"));
    submitSimLine(session, m_bank, QStringLiteral("configure terminal"));
    QCOMPARE(session.simTask, 3);
    QCOMPARE(enabledLabels(session), (QList<bool>{true, false, false, true}));
    QVERIFY(session.taskLabels[3].selected);
    QVERIFY(!session.taskLabels[2].selected);
    // Row 3's device name with the prompt text of prompt 3.
    QCOMPARE(session.prompt(), QStringLiteral("SW1(config)#"));
    QCOMPARE(session.taskText, QStringLiteral("Name the switch Core1."));
}

void TestSimSession::lastTaskCompletes()
{
    SimSession session = openTask1();
    submitSimLine(session, m_bank, QStringLiteral("enable"));
    submitSimLine(session, m_bank, QStringLiteral("configure terminal"));
    QCOMPARE(submitSimLine(session, m_bank, QStringLiteral("hostname core1")),
             SimLineResult::Completed);
    QVERIFY(session.completed);
    QVERIFY(session.transcript.endsWith(QStringLiteral("\r\nSW1(config)#hostname core1") +
                                        completionLines));
    QVERIFY(!session.inputEnabled);
    QCOMPARE(enabledLabels(session), (QList<bool>{false, false, false, false}));
    QCOMPARE(session.statusText, QStringLiteral("Task completed. Click on the Close button to "
                                                "return to the main screen."));
    QCOMPARE(session.answer(), 1);
    QCOMPARE(submitSimLine(session, m_bank, QStringLiteral("hostname core1")),
             SimLineResult::Ignored);
}

void TestSimSession::allButTheLastRecordsMinusOne()
{
    SimSession session = openTask1();
    submitSimLine(session, m_bank, QStringLiteral("enable"));
    submitSimLine(session, m_bank, QStringLiteral("configure terminal"));
    QCOMPARE(session.answer(), -1);
}

void TestSimSession::restartLosesTheProgress()
{
    SimSession session = openTask1();
    submitSimLine(session, m_bank, QStringLiteral("enable"));
    QVERIFY(ShowSimTask(session, m_bank, 0));
    QCOMPARE(session.simTask, 1);
    QVERIFY(session.transcript.isEmpty());
    QVERIFY(!session.consoleShown);
    QCOMPARE(enabledLabels(session), (QList<bool>{true, true, false, false}));
    // Task 2 cannot be reached again without task 1.
    QVERIFY(!ShowSimTask(session, m_bank, 2));
    QVERIFY(ShowSimTask(session, m_bank, 1));
    QCOMPARE(session.prompt(), QStringLiteral("R1>"));
}

void TestSimSession::trailingSpaceInTheKeyNeverMatches()
{
    m_bank.simRows[1].expectedCommand = QStringLiteral("enable ");
    SimSession session = openTask1();
    QCOMPARE(submitSimLine(session, m_bank, QStringLiteral("enable ")), SimLineResult::Refused);
    QCOMPARE(submitSimLine(session, m_bank, QStringLiteral("enable")), SimLineResult::Refused);
}

void TestSimSession::noTasksNeverCompletes()
{
    m_bank.questions[simulationQ].choiceCount = 0;
    SimSession session = startSimSession(m_bank, m_state, simulationQ);
    QCOMPARE(session.taskLabels.size(), 1);
    QVERIFY(!ShowSimTask(session, m_bank, 1));
    QCOMPARE(submitSimLine(session, m_bank, QStringLiteral("enable")), SimLineResult::Ignored);
    QCOMPARE(session.answer(), -1);
}

void TestSimSession::viewSwitch()
{
    SimSession session = openTask1();
    toggleSimView(session);
    QVERIFY(!session.consoleShown);
    toggleSimView(session);
    QVERIFY(session.consoleShown);
}

QTEST_GUILESS_MAIN(TestSimSession)
#include "tst_simsession.moc"
