#include "Clock.h"

namespace {
class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

SystemClock systemClock;
Clock *installedClock = nullptr;
} // namespace

Clock::~Clock() = default;

void Clock::install(Clock *clock)
{
    installedClock = clock;
}

const Clock &Clock::current()
{
    if (installedClock)
        return *installedClock;
    return systemClock;
}
