#include "link/ManualScheduler.h"
#include "link/QtScheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

TEST(ManualScheduler, RunsDueTasksInTimeThenSchedulingOrder)
{
    ManualScheduler clock;
    std::vector<std::pair<int, long long>> ran;
    auto task = [&](int id) { return [&, id] { ran.push_back({id, clock.now()}); }; };
    clock.after(300, task(3));
    clock.after(0, task(1));
    clock.after(300, task(4));
    clock.after(100, task(2));
    EXPECT_TRUE(ran.empty()) << "nothing runs before the clock moves";

    clock.advance(0);
    ASSERT_EQ(ran.size(), 1u);
    clock.advance(299);
    ASSERT_EQ(ran.size(), 2u);
    EXPECT_EQ(ran[1], std::make_pair(2, 100LL));
    clock.advance(1);
    ASSERT_EQ(ran.size(), 4u);
    EXPECT_EQ(ran[2], std::make_pair(3, 300LL));
    EXPECT_EQ(ran[3], std::make_pair(4, 300LL));
    EXPECT_EQ(clock.now(), 300);
    EXPECT_EQ(clock.pending(), 0);
}

TEST(ManualScheduler, TasksScheduledByTasksRunRelativeToTheirParent)
{
    ManualScheduler clock;
    std::vector<long long> at;
    clock.after(1000, [&] {
        at.push_back(clock.now());
        clock.after(500, [&] { at.push_back(clock.now()); });
    });
    clock.advance(1400);
    ASSERT_EQ(at, std::vector<long long>({1000}));
    EXPECT_EQ(clock.nextDue(), 1500);
    clock.advance(100);
    EXPECT_EQ(at, std::vector<long long>({1000, 1500}));

    clock.after(20, [&] { at.push_back(clock.now()); });
    clock.runAll();
    EXPECT_EQ(at.back(), 1520);
}

TEST(QtScheduler, RunsOnTheEventLoopAfterTheDelay)
{
    QtScheduler scheduler;
    QElapsedTimer timer;
    timer.start();
    std::vector<int> order;
    scheduler.after(60, [&] { order.push_back(2); });
    scheduler.after(0, [&] { order.push_back(1); });
    while (order.size() < 2 && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    EXPECT_EQ(order, std::vector<int>({1, 2}));
    EXPECT_GE(timer.elapsed(), 55);
}

TEST(QtScheduler, PendingTasksDieWithTheScheduler)
{
    bool ran = false;
    {
        QtScheduler scheduler;
        scheduler.after(0, [&] { ran = true; });
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}
