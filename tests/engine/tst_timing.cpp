#include "BankBuilder.h"
#include "FakeClock.h"
#include "engine/InitTest.h"
#include "engine/Timing.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QDateTime at(int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, second));
}

} // namespace

class TestTiming : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void timeLeft_data();
    void timeLeft();
    void timerStartsWithTheTestWindow_data();
    void timerStartsWithTheTestWindow();
};

void TestTiming::timeLeft_data()
{
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("timeLeft");
    QTest::addColumn<bool>("up");
    const QDateTime nine = at(6, 9, 0);
    QTest::newRow("start") << nine << "90" << nine << "01:30:00" << false;
    // A tick that comes a little late still counts down in whole seconds.
    QTest::newRow("late tick") << nine << "90" << at(6, 10, 29, 58).addMSecs(300) << "00:00:02"
                               << false;
    QTest::newRow("the end") << nine << "90" << at(6, 10, 30) << "00:00:00" << true;
    QTest::newRow("past the end") << nine << "90" << at(6, 10, 31, 5) << "00:00:00" << true;
    // Past midnight the clock reads earlier than the start: the test is not over.
    const QDateTime late = at(6, 23, 30);
    QTest::newRow("past midnight") << late << "90" << at(7, 0, 15) << "00:45:00" << false;
    QTest::newRow("end after midnight") << late << "90" << at(7, 1, 0) << "00:00:00" << true;
    QTest::newRow("100 hours") << nine << "6000" << nine << "100:00:00" << false;
    // Below one minute the test would end as soon as it starts.
    QTest::newRow("fraction cut") << nine << "1.9" << nine << "00:01:00" << false;
    QTest::newRow("half a minute") << nine << "0.5" << nine << "00:01:00" << false;
    QTest::newRow("not a number") << nine << "abc" << nine << "00:01:00" << false;
}

void TestTiming::timeLeft()
{
    QFETCH(QDateTime, start);
    QFETCH(QString, duration);
    QFETCH(QDateTime, now);
    QFETCH(QString, timeLeft);
    QFETCH(bool, up);
    FakeClock clock(start);
    TestState state;
    InitTestDur(state, duration);
    const TimerTick tick = timerTick(state, now);
    QCOMPARE(tick.timeLeft, u"Time Left: "_s + timeLeft);
    QCOMPARE(tick.expired, up);
    QCOMPARE(timeIsUp(state, now), up);
}

void TestTiming::timerStartsWithTheTestWindow_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("timeLeft");
    QTest::addColumn<QDateTime>("end"); // invalid: untimed
    QTest::newRow("exam") << int(ExamMode) << "01:30:00" << at(6, 9, 35);
    QTest::newRow("study, untimed") << int(StudyMode) << "59:59:59" << QDateTime();
}

void TestTiming::timerStartsWithTheTestWindow()
{
    QFETCH(int, mode);
    QFETCH(QString, timeLeft);
    QFETCH(QDateTime, end);
    BankBuilder builder;
    builder.objectives(1).questions(1, 5).examQuestions(5, 90);
    FakeClock clock(at(6, 8, 0));
    TestState state;
    QVERIFY(InitTest(mode, builder.bank(), state));
    // Time on the get-ready screen does not count.
    clock.advanceSecs(300);
    const TimerDisplay display = SetTestTimer(state);
    QCOMPARE((QList<bool>{display.timerEnabled, display.clockVisible, display.labelEnabled}),
             QList<bool>(3, end.isValid()));
    QCOMPARE(display.timeLeft, u"Time Left: "_s + timeLeft);
    QCOMPARE(state.testEndTime, end);
    QCOMPARE(timeIsUp(state, at(31, 23, 59)), end.isValid());
}

QTEST_APPLESS_MAIN(TestTiming)
#include "tst_timing.moc"
