// WorkerThread start and stop, with a run() that watches the stop request, one that does
// not, one refused at start, and the refresh ticker's hand-over of ticks.
#include "sensor/worker_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace vk {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class LoopingThread : public WorkerThread {
public:
    ~LoopingThread() override { StopThread(); }
    std::atomic<int> loops{0};
    std::atomic<bool> onStartCalled{false};

protected:
    bool OnStart() override {
        onStartCalled = true;
        return true;
    }
    void run() override {
        while (!WaitForStop(20ms))
            ++loops;
    }
    void OnStopped() override {} // stays Ended, as the ticker does
    void OnExit() override {}
};

TEST(SensorWorkerThread, StartsRunsAndStopsPromptly) {
    LoopingThread thread;
    EXPECT_EQ(thread.GetState(), WorkerThread::State::Idle);
    thread.StartThread();
    EXPECT_TRUE(thread.onStartCalled); // StartThread returns once the start was agreed
    EXPECT_EQ(thread.GetState(), WorkerThread::State::Running);
    thread.StartThread(); // already running: nothing happens
    while (thread.loops < 2)
        std::this_thread::yield();

    auto start = Clock::now();
    thread.StopThread();
    EXPECT_LT(MsSince(start), 200.0);
    EXPECT_TRUE(thread.LastStopWasPrompt());
    EXPECT_EQ(thread.GetState(), WorkerThread::State::Ended);
    EXPECT_FALSE(thread.Busy());

    // Ended threads start again.
    thread.loops = 0;
    thread.StartThread();
    EXPECT_EQ(thread.GetState(), WorkerThread::State::Running);
    thread.StopThread();
}

class DeafThread : public WorkerThread {
public:
    ~DeafThread() override { StopThread(); }
    std::atomic<bool> finished{false};

protected:
    void run() override {
        std::this_thread::sleep_for(1300ms);
        finished = true;
    }
};

TEST(SensorWorkerThread, StopWaitsForARunThatIgnoresTheRequest) {
    DeafThread thread;
    thread.StartThread();
    auto start = Clock::now();
    thread.StopThread();
    double took = MsSince(start);
    EXPECT_GE(took, 1000.0);
    EXPECT_FALSE(thread.LastStopWasPrompt());
    // Nothing was killed: run() got to its end before StopThread returned.
    EXPECT_TRUE(thread.finished);
    EXPECT_EQ(thread.GetState(), WorkerThread::State::Idle); // base OnStopped
}

class RefusingThread : public WorkerThread {
public:
    ~RefusingThread() override { StopThread(); }
    std::atomic<bool> ran{false};

protected:
    bool OnStart() override { return false; }
    void run() override { ran = true; }
};

TEST(SensorWorkerThread, RefusedStartDoesNotWaitForever) {
    RefusingThread refused;
    refused.StartThread();
    EXPECT_EQ(refused.GetState(), WorkerThread::State::Ended);
    EXPECT_FALSE(refused.ran);
}

// The refresh ticker's pattern: hand a tick to the user-interface thread, wait until it
// was handled or stop was asked.
class TickHandOff : public WorkerThread {
public:
    ~TickHandOff() override { StopThread(); }

    // The user-interface side.
    bool TakeTick(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return posted_.wait_for(lock, timeout, [this] { return pending_; });
    }
    void TickHandled() {
        {
            std::lock_guard lock(mutex_);
            pending_ = false;
        }
        handled_ = true;
        Wake();
    }

protected:
    void run() override {
        for (;;) {
            handled_ = false;
            {
                std::lock_guard lock(mutex_);
                pending_ = true;
            }
            posted_.notify_all();
            if (WaitForStopOr([this] { return handled_.load(); }, 10s))
                return;
            if (WaitForStop(250ms))
                return;
        }
    }
    void OnStopped() override {}
    void OnExit() override {}

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    bool pending_ = false;
    std::atomic<bool> handled_{false};
};

TEST(SensorWorkerThread, TickerStopsPromptlyWithATickPending) {
    TickHandOff ticker;
    ticker.StartThread();
    auto first = Clock::now();
    ASSERT_TRUE(ticker.TakeTick(1s));
    ticker.TickHandled();
    ASSERT_TRUE(ticker.TakeTick(1s));
    EXPECT_GE(MsSince(first), 240.0); // the second tick came a period later
    // The second tick is never handled: stopping must not wait for it.
    auto start = Clock::now();
    ticker.StopThread();
    EXPECT_LT(MsSince(start), 200.0);
    EXPECT_TRUE(ticker.LastStopWasPrompt());
}

} // namespace
} // namespace vk
