// The refresh ticker: ticks on the user-interface thread at its pace, one at a time,
// and a stop that is quick even with a tick still queued.
#include "util_test_support.h"

#include "util_app/refresh_ticker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace vk::test {
namespace {

using namespace std::chrono_literals;

// Waits until the ticker has queued `count` ticks without running the event loop, so
// none of them is handled meanwhile.
bool WaitPostedWithoutHandling(const RefreshTicker& ticker, std::uint64_t count) {
    QElapsedTimer wait;
    wait.start();
    while (ticker.TicksPosted() < count) {
        if (wait.elapsed() > 1000)
            return false;
        std::this_thread::yield();
    }
    return true;
}

class RefreshTickerTest : public ::testing::Test {
protected:
    RefreshTickerTest() { EnsureApplication(); }
    QObject context;
};

TEST_F(RefreshTickerTest, TicksEveryQuarterSecondOnTheUserInterfaceThread) {
    int ticks = 0;
    bool onUiThread = true;
    RefreshTicker ticker(&context, [&] {
        ++ticks;
        onUiThread = onUiThread && QThread::currentThread() == context.thread();
    });
    ticker.StartThread();
    EXPECT_EQ(ticker.GetState(), WorkerThread::State::Running);
    QElapsedTimer elapsed;
    elapsed.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 5; }, 3000));
    // The first tick comes at once, then one each 250 ms.
    EXPECT_GE(elapsed.elapsed(), 950);
    EXPECT_LE(elapsed.elapsed(), 2500); // generous: other tests load the machine
    EXPECT_TRUE(onUiThread);
    ticker.StopThread();
    EXPECT_EQ(ticker.GetState(), WorkerThread::State::Ended);
}

TEST_F(RefreshTickerTest, WaitsForEachTickBeforeTheNext) {
    int ticks = 0;
    RefreshTicker ticker(&context, [&] { ++ticks; });
    ticker.StartThread();
    ASSERT_TRUE(WaitPostedWithoutHandling(ticker, 1));
    // Nobody handles the tick: no second one is queued behind it.
    std::this_thread::sleep_for(600ms);
    EXPECT_EQ(ticker.TicksPosted(), 1u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 2000));
    EXPECT_LE(ticker.TicksPosted(), ticker.TicksHandled() + 1);
}

TEST_F(RefreshTickerTest, StopsQuicklyWithATickPendingAndDropsIt) {
    int ticks = 0;
    RefreshTicker ticker(&context, [&] { ++ticks; });
    ticker.StartThread();
    // The first tick is queued but the event loop does not run: the ticker waits for it
    // while this thread stops the ticker.
    ASSERT_TRUE(WaitPostedWithoutHandling(ticker, 1));
    QElapsedTimer stop;
    stop.start();
    ticker.StopThread();
    EXPECT_LT(stop.elapsed(), 300);
    EXPECT_TRUE(ticker.LastStopWasPrompt());
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(ticker.TicksHandled(), 0u);

    // Stopping between ticks (in the 250 ms pause) is just as quick; and it starts again.
    ticker.StartThread();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, 1000));
    stop.restart();
    ticker.StopThread();
    EXPECT_LT(stop.elapsed(), 300);
}

TEST_F(RefreshTickerTest, AThrowingTickDoesNotEndTheTicking) {
    int ticks = 0;
    RefreshTicker ticker(&context, [&] {
        ++ticks;
        throw std::runtime_error("tick failed");
    });
    ticker.StartThread();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 2000));
    ticker.StopThread();
}

TEST_F(RefreshTickerTest, GoneContextRunsNoTick) {
    int ticks = 0;
    auto owner = std::make_unique<QObject>();
    RefreshTicker ticker(owner.get(), [&] { ++ticks; });
    ticker.StartThread();
    ASSERT_TRUE(WaitPostedWithoutHandling(ticker, 1));
    owner.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks, 0);
    QElapsedTimer stop;
    stop.start();
    ticker.StopThread();
    EXPECT_LT(stop.elapsed(), 300);
}

} // namespace
} // namespace vk::test
