#include "Timing.h"

#include "common/Clock.h"

#include <algorithm>

namespace {

// Far beyond any real test, and still exact in seconds.
constexpr double longestDurationMinutes = 1e9;

qint64 durationMinutes(const QString &duration)
{
    bool numeric = false;
    const double value = duration.trimmed().toDouble(&numeric);
    if (!numeric || !(value >= 1))
        return 1;
    return qint64(std::min(value, longestDurationMinutes));
}

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QDateTime InitTestDur(TestState &state, const QString &duration)
{
    // A point in time, so a test across midnight or longer than a day ends when it should.
    state.testEndTime = Clock::current().now().addSecs(durationMinutes(duration) * 60);
    return state.testEndTime;
}

bool timeIsUp(const TestState &state, const QDateTime &now)
{
    return state.testEndTime.isValid() && now >= state.testEndTime;
}

QString timeLeftText(const TestState &state, const QDateTime &now)
{
    qint64 seconds = 0;
    if (!timeIsUp(state, now)) {
        // Rounded up: the label shows the full duration when the test starts and reaches
        // 00:00:00 exactly when the time is up.
        seconds = (now.msecsTo(state.testEndTime) + 999) / 1000;
    }
    return QStringLiteral("Time Left: ") + twoDigits(seconds / 3600) + QLatin1Char(':') +
           twoDigits(seconds / 60 % 60) + QLatin1Char(':') + twoDigits(seconds % 60);
}

TimerTick timerTick(const TestState &state, const QDateTime &now)
{
    return TimerTick{timeLeftText(state, now), timeIsUp(state, now)};
}

TimerDisplay SetTestTimer(TestState &state)
{
    if (!state.optTimed)
        return TimerDisplay{false, false, false, untimedTimeLeftText};
    InitTestDur(state, state.testDuration);
    return TimerDisplay{true, true, true, timeLeftText(state, Clock::current().now())};
}
