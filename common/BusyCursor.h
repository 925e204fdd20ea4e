#pragma once

#include <functional>

// Shows the busy pointer for its lifetime. The logic libraries cannot reach the window
// system, so the program installs what "busy" and "back to normal" mean; without an
// installation nothing happens.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

    static void install(std::function<void()> begin, std::function<void()> end);
};
