#include "sensor/worker_thread.h"

namespace vk {

WorkerThread::~WorkerThread() {
    StopThread();
    // A thread that ended on its own, or whose OnStart refused, is still to be joined.
    if (thread_.joinable()) {
        if (workerId_.load() != std::this_thread::get_id())
            thread_.join();
        else
            thread_.detach(); // destroyed from its own run(): nothing left to wait for
    }
}

void WorkerThread::StartThread() {
    if (state_ == State::Running)
        return;
    std::lock_guard lock(mutex_);
    busy_ = true;
    if (state_ == State::Idle || state_ == State::Ended) {
        if (thread_.joinable())
            thread_.join();
        workerId_ = std::thread::id{};
        {
            std::lock_guard events(eventMutex_);
            started_ = false;
            finished_ = false;
            stopRequested_ = false;
        }
        state_ = State::Created;
        thread_ = std::thread(&WorkerThread::ThreadProcedure, this);
    }
    // A refusing OnStart ends the thread without ever signalling the start, so the end
    // counts as an answer too; otherwise this would wait forever.
    {
        std::unique_lock events(eventMutex_);
        eventChanged_.wait(events, [this] { return started_ || finished_; });
    }
    busy_ = false;
}

void WorkerThread::ThreadProcedure() {
    workerId_ = std::this_thread::get_id();
    state_ = State::Running;
    if (OnStart()) {
        {
            std::lock_guard events(eventMutex_);
            started_ = true;
        }
        eventChanged_.notify_all();
        run();
        OnExit();
        std::lock_guard events(eventMutex_);
        started_ = false;
    } else {
        state_ = State::Ended;
    }
    {
        std::lock_guard events(eventMutex_);
        finished_ = true;
    }
    eventChanged_.notify_all();
}

void WorkerThread::StopThread() {
    if (state_ == State::Ended || state_ == State::Idle)
        return;
    if (workerId_.load() == std::this_thread::get_id()) {
        // run() cannot wait for its own end: it only learns that it should stop.
        std::lock_guard events(eventMutex_);
        stopRequested_ = true;
        return;
    }
    std::lock_guard lock(mutex_);
    busy_ = true;
    {
        std::lock_guard events(eventMutex_);
        started_ = false;
        stopRequested_ = true;
    }
    eventChanged_.notify_all();
    {
        std::unique_lock events(eventMutex_);
        lastStopPrompt_ = eventChanged_.wait_for(events, kStopWait, [this] { return finished_; });
    }
    // A thread cannot be killed safely: one that ignores the request is waited for, so
    // it never runs on after its object is gone.
    if (thread_.joinable())
        thread_.join();
    workerId_ = std::thread::id{};
    {
        std::lock_guard events(eventMutex_);
        stopRequested_ = false;
    }
    state_ = State::Ended;
    OnStopped();
    busy_ = false;
}

bool WorkerThread::WaitForStop(std::chrono::milliseconds timeout) {
    std::unique_lock events(eventMutex_);
    return eventChanged_.wait_for(events, timeout, [this] { return stopRequested_; });
}

bool WorkerThread::WaitForStopOr(const std::function<bool()>& done,
                                 std::chrono::milliseconds timeout) {
    std::unique_lock events(eventMutex_);
    eventChanged_.wait_for(events, timeout, [&] { return stopRequested_ || done(); });
    return stopRequested_;
}

void WorkerThread::Wake() {
    { std::lock_guard events(eventMutex_); }
    eventChanged_.notify_all();
}

} // namespace vk
