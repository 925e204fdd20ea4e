#include "BusyCursor.h"

namespace {
std::function<void()> beginBusy;
std::function<void()> endBusy;
} // namespace

BusyCursor::BusyCursor()
{
    if (beginBusy)
        beginBusy();
}

BusyCursor::~BusyCursor()
{
    if (endBusy)
        endBusy();
}

void BusyCursor::install(std::function<void()> begin, std::function<void()> end)
{
    beginBusy = std::move(begin);
    endBusy = std::move(end);
}
