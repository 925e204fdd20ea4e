#include "BankBuilder.h"
#include "FakeClock.h"
#include "engine/InitTest.h"
#include "engine/Timing.h"

#include <QTest>

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
    void endTimeIsStartPlusDuration_data();
    void endTimeIsStartPlusDuration();
    void expiresAtTheExactSecond();
    void testAcrossMidnightEndsWhenItsTimeIsUp();
    void labelShowsHoursBeyondNinetyNine();
    void untimedTestShowsTheFixedLabel();
    void timerEndFollowsTheNewDuration();
    void examTimeStartsWithTheTestWindow();
};

void TestTiming::endTimeIsStartPlusDuration_data()
{
    QTest::addColumn<QString>("duration");
    QTest::addColumn<int>("minutes");
    QTest::newRow("90") << "90" << 90;
    QTest::newRow("fraction cut") << "1.9" << 1;
    QTest::newRow("a day") << "1440" << 1440;
    // Below one minute the test would end as soon as it starts.
    QTest::newRow("zero") << "0" << 1;
    QTest::newRow("half a minute") << "0.5" << 1;
    QTest::newRow("not a number") << "abc" << 1;
    QTest::newRow("empty") << "" << 1;
}

void TestTiming::endTimeIsStartPlusDuration()
{
    QFETCH(QString, duration);
    QFETCH(int, minutes);
    FakeClock clock(at(6, 10, 15, 30));
    TestState state;
    const QDateTime end = InitTestDur(state, duration);
    QCOMPARE(end, state.testEndTime);
    QCOMPARE(clock.now().secsTo(end), minutes * 60);
}

void TestTiming::expiresAtTheExactSecond()
{
    FakeClock clock(at(6, 9, 0));
    TestState state;
    InitTestDur(state, QStringLiteral("90"));
    QCOMPARE(state.testEndTime, at(6, 10, 30));

    TimerTick tick = timerTick(state, clock.now());
    QCOMPARE(tick.timeLeft, QStringLiteral("Time Left: 01:30:00"));
    QVERIFY(!tick.expired);
    tick = timerTick(state, at(6, 9, 0, 1));
    QCOMPARE(tick.timeLeft, QStringLiteral("Time Left: 01:29:59"));
    // A tick that comes a little late still counts down in whole seconds.
    QCOMPARE(timeLeftText(state, at(6, 10, 29, 58).addMSecs(300)),
             QStringLiteral("Time Left: 00:00:02"));
    tick = timerTick(state, at(6, 10, 29, 59));
    QCOMPARE(tick.timeLeft, QStringLiteral("Time Left: 00:00:01"));
    QVERIFY(!tick.expired);
    tick = timerTick(state, at(6, 10, 30));
    QCOMPARE(tick.timeLeft, QStringLiteral("Time Left: 00:00:00"));
    QVERIFY(tick.expired);
    tick = timerTick(state, at(6, 10, 31, 5));
    QCOMPARE(tick.timeLeft, QStringLiteral("Time Left: 00:00:00"));
    QVERIFY(tick.expired);
}

void TestTiming::testAcrossMidnightEndsWhenItsTimeIsUp()
{
    FakeClock clock(at(6, 23, 30));
    TestState state;
    InitTestDur(state, QStringLiteral("90"));
    QCOMPARE(state.testEndTime, at(7, 1, 0));
    // Past midnight the clock reads earlier than the start: the test is not over.
    QVERIFY(!timeIsUp(state, at(7, 0, 15)));
    QCOMPARE(timeLeftText(state, at(7, 0, 15)), QStringLiteral("Time Left: 00:45:00"));
    QVERIFY(!timeIsUp(state, at(7, 0, 59, 59)));
    QVERIFY(timeIsUp(state, at(7, 1, 0)));
}

void TestTiming::labelShowsHoursBeyondNinetyNine()
{
    FakeClock clock(at(6, 12, 0));
    TestState state;
    InitTestDur(state, QStringLiteral("1440"));
    QCOMPARE(timeLeftText(state, clock.now()), QStringLiteral("Time Left: 24:00:00"));
    QVERIFY(!timeIsUp(state, at(7, 11, 59, 59)));
    QVERIFY(timeIsUp(state, at(7, 12, 0)));

    InitTestDur(state, QStringLiteral("6000"));
    QCOMPARE(timeLeftText(state, clock.now()), QStringLiteral("Time Left: 100:00:00"));
    QCOMPARE(timeLeftText(state, at(6, 12, 0, 1)), QStringLiteral("Time Left: 99:59:59"));
}

void TestTiming::untimedTestShowsTheFixedLabel()
{
    FakeClock clock(at(6, 12, 0));
    TestState state;
    state.optTimed = false;
    state.testDuration = QStringLiteral("90");
    const TimerDisplay display = SetTestTimer(state);
    QVERIFY(!display.timerEnabled);
    QVERIFY(!display.clockVisible);
    QVERIFY(!display.labelEnabled);
    QCOMPARE(display.timeLeft, QStringLiteral("Time Left: 59:59:59"));
    QVERIFY(!state.testEndTime.isValid());
    QVERIFY(!timeIsUp(state, at(31, 23, 59)));
}

void TestTiming::timerEndFollowsTheNewDuration()
{
    FakeClock clock(at(6, 12, 0));
    TestState state;
    state.optTimed = true;
    state.testDuration = QStringLiteral("30");
    TimerDisplay display = SetTestTimer(state);
    QVERIFY(display.timerEnabled && display.clockVisible && display.labelEnabled);
    QCOMPARE(display.timeLeft, QStringLiteral("Time Left: 00:30:00"));

    // Options changed during the test: the new duration counts from now.
    clock.advanceSecs(600);
    state.testDuration = QStringLiteral("90");
    display = SetTestTimer(state);
    QCOMPARE(state.testEndTime, at(6, 13, 40));
    QCOMPARE(display.timeLeft, QStringLiteral("Time Left: 01:30:00"));
}

void TestTiming::examTimeStartsWithTheTestWindow()
{
    BankBuilder builder;
    builder.objectives(1).questions(1, 5).examQuestions(5, 90);
    FakeClock clock(at(6, 8, 0));
    TestState state;
    QVERIFY(InitTest(ExamMode, builder.bank(), state));
    // Time on the get-ready screen does not count.
    clock.advanceSecs(300);
    const TimerDisplay display = SetTestTimer(state);
    QCOMPARE(state.testEndTime, at(6, 9, 35));
    QCOMPARE(display.timeLeft, QStringLiteral("Time Left: 01:30:00"));
}

QTEST_APPLESS_MAIN(TestTiming)
#include "tst_timing.moc"
