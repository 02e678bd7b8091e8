#pragma once
// WorkerThread: one background thread that a subclass fills with run(). StartThread and
// StopThread are serialised by a recursive mutex and normally called from one thread.
//
// Nothing is ever killed: StopThread asks the thread to stop, waits up to 1000 ms for it
// to end, and then goes on waiting until it has ended, so that no thread outlives the
// object it runs on. A run() that must stop promptly waits with WaitForStop() or
// WaitForStopOr() instead of sleeping.
//
// A subclass must call StopThread() in its own destructor: by the time the base
// destructor runs, the subclass's run() would be running on a destroyed object.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vk {

class WorkerThread {
public:
    enum class State : int { Idle = 0, Created = 1, Running = 2, Ended = 3 };

    WorkerThread() = default;
    virtual ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts the thread unless it is running, and returns once run() has begun or
    // OnStart() has refused.
    void StartThread();
    // Asks run() to stop and waits for the thread to end; then state Ended and
    // OnStopped(). Does nothing when idle or ended.
    void StopThread();

    State GetState() const { return state_.load(); }
    // True while StartThread or StopThread holds the mutex.
    bool Busy() const { return busy_.load(); }
    // Whether run() ended within StopThread's 1000 ms; false means StopThread had to wait
    // longer for it (a run() that does not watch the stop request).
    bool LastStopWasPrompt() const { return lastStopPrompt_.load(); }

    static constexpr std::chrono::milliseconds kStopWait{1000};

protected:
    // The thread's work; no base behaviour.
    virtual void run() {}
    // Called on the new thread before run(); run() only follows when it returns true.
    virtual bool OnStart() { return true; }
    // Called by StopThread once the thread has ended, and by the base OnExit.
    virtual void OnStopped() { state_ = State::Idle; }
    // Called on the thread right after run() returns.
    virtual void OnExit() { OnStopped(); }

    // Waits up to `timeout`; true when stop was asked (at once if it already was).
    bool WaitForStop(std::chrono::milliseconds timeout);
    // Waits up to `timeout` until stop is asked or `done` holds; true when stop was
    // asked. `done` is checked under the wait's lock; whoever makes it true afterwards
    // calls Wake().
    bool WaitForStopOr(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Wakes a WaitForStopOr so it looks at its condition again. Callable from any thread.
    void Wake();

private:
    void ThreadProcedure();

    std::recursive_mutex mutex_;
    std::atomic<bool> busy_{false};
    std::atomic<State> state_{State::Idle};
    std::atomic<bool> lastStopPrompt_{true};
    std::thread thread_;
    std::atomic<std::thread::id> workerId_{};

    // Events and the thread's end, guarded by eventMutex_.
    std::mutex eventMutex_;
    std::condition_variable eventChanged_;
    bool started_ = false;
    bool stopRequested_ = false;
    bool finished_ = false;
};

} // namespace vk
