#include "ManualScheduler.h"

#include <algorithm>

void ManualScheduler::after(int ms, std::function<void()> task)
{
    m_tasks.push_back({m_now + std::max(ms, 0), m_order++, std::move(task)});
}

std::int64_t ManualScheduler::nextDue() const
{
    std::int64_t best = -1;
    for (const Task &t : m_tasks)
        if (best < 0 || t.due < best)
            best = t.due;
    return best;
}

void ManualScheduler::advance(int ms)
{
    const std::int64_t target = m_now + std::max(ms, 0);
    for (;;) {
        auto next = m_tasks.end();
        for (auto it = m_tasks.begin(); it != m_tasks.end(); ++it) {
            if (it->due > target)
                continue;
            if (next == m_tasks.end() || it->due < next->due || (it->due == next->due && it->order < next->order))
                next = it;
        }
        if (next == m_tasks.end())
            break;
        Task task = std::move(*next);
        m_tasks.erase(next);
        m_now = std::max(m_now, task.due);
        task.run();
    }
    m_now = target;
}

void ManualScheduler::runAll(int limitMs)
{
    const std::int64_t end = m_now + limitMs;
    while (!m_tasks.empty()) {
        const std::int64_t due = nextDue();
        if (due > end)
            break;
        advance(int(due - m_now));
    }
}
