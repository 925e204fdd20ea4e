#pragma once

#include <QDateTime>

// Where the program gets the current time, so the test timer can be driven by a test.
class Clock
{
public:
    virtual ~Clock();
    virtual QDateTime now() const = 0;

    // Installs the clock every later current() returns; not owned. nullptr goes back to
    // the system clock.
    static void install(Clock *clock);
    static const Clock &current();
};
