#pragma once

#include <functional>

// Runs a function later on the main thread. The link layer defers everything through
// this interface (the connect greeting, the pieces of an upload, the firmware wait and
// the chained-load time-out), so tests can drive the clock without sleeping.
class Scheduler
{
public:
    virtual ~Scheduler();

    // Runs `task` once, `ms` milliseconds from now (0: as soon as the event loop turns).
    // Tasks due at the same moment run in the order in which they were scheduled.
    virtual void after(int ms, std::function<void()> task) = 0;
};
