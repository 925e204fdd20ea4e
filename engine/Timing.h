#pragma once

#include "engine/TestState.h"

#include <QDateTime>
#include <QString>

inline const QString untimedTimeLeftText = QStringLiteral("Time Left: 59:59:59");
inline const QString timeUpTitle = QStringLiteral("Time is Up!");
inline const QString timeUpText =
    QStringLiteral("You are running out of time!\nEnding test now...");

// Sets state.testEndTime to the current time (Clock::current()) plus the duration, whole
// minutes given as text, and returns it. A duration below one minute, or text that is not a
// number, counts as one minute, so a timed test never ends the moment it starts.
QDateTime InitTestDur(TestState &state, const QString &duration);

// "Time Left: " and the time from now to the end as hh:mm:ss; hours run past 99 when
// needed ("Time Left: 123:00:00"); "Time Left: 00:00:00" once the time is up.
QString timeLeftText(const TestState &state, const QDateTime &now);

// True at or past the end time.
bool timeIsUp(const TestState &state, const QDateTime &now);

// What the test window shows of the timer: tmTimer enabled, imTimer visible, lbTime enabled
// and its text.
struct TimerDisplay
{
    bool timerEnabled = false;
    bool clockVisible = false;
    bool labelEnabled = false;
    QString timeLeft;
};

// Applies optTimed. A timed test gets its end time now from testDuration: the time starts
// when the test window opens, and again from the new duration when the options change.
TimerDisplay SetTestTimer(TestState &state);

// One tick of tmTimer: the label text, and whether the time is up (the window then stops
// the timer, tells the user with timeUpTitle / timeUpText, closes its dialogs and grades).
struct TimerTick
{
    QString timeLeft;
    bool expired = false;
};
TimerTick timerTick(const TestState &state, const QDateTime &now);
