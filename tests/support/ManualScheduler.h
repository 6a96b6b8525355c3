#pragma once

#include "link/Scheduler.h"

#include <cstdint>
#include <vector>

// A scheduler on a virtual clock for tests and tools: nothing runs until advance().
class ManualScheduler : public Scheduler
{
public:
    void after(int ms, std::function<void()> task) override;

    // Moves the clock forward by `ms`, running every task that falls due on the way, in
    // order of due time (ties: order of scheduling). The clock stands at each task's due
    // time while it runs, so tasks scheduled from a task are placed relative to it and
    // run too when they fall due within the advance. advance(0) runs what is due now.
    void advance(int ms);
    // Runs tasks until none is left (bounded by `limitMs` of virtual time).
    void runAll(int limitMs = 24 * 3600 * 1000);

    // Virtual milliseconds since construction.
    std::int64_t now() const { return m_now; }
    // Due time of the earliest pending task, or -1.
    std::int64_t nextDue() const;

private:
    struct Task
    {
        std::int64_t due;
        std::uint64_t order;
        std::function<void()> run;
    };
    std::vector<Task> m_tasks;
    std::int64_t m_now = 0;
    std::uint64_t m_order = 0;
};
