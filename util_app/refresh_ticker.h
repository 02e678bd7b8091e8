#pragma once
// RefreshTicker: the thread that makes the model panels poll their sensor. Every
// interval it hands one tick to the user-interface thread (a queued call on `context`)
// and waits until that tick has been handled or it is asked to stop, so ticks never
// pile up and a tick never runs alongside another command. StopThread returns as soon
// as the thread has seen the request, even while a tick is still queued: that tick is
// then dropped instead of run.

#include "sensor/worker_thread.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace vk {

class RefreshTicker : public WorkerThread {
public:
    static constexpr std::chrono::milliseconds kInterval{250};

    // `onTick` runs on `context`'s thread for each tick; an exception it throws is
    // swallowed and the ticking goes on. `context` may go away first: its ticks are then
    // never run.
    RefreshTicker(QObject* context, std::function<void()> onTick,
                  std::chrono::milliseconds interval = kInterval);
    ~RefreshTicker() override;

    // Ticks handed to the user-interface thread, and ticks whose handler ran, since
    // construction.
    std::uint64_t TicksPosted() const { return posted_.load(); }
    std::uint64_t TicksHandled() const { return handled_.load(); }

protected:
    void run() override;
    bool OnStart() override { return true; }
    // The ticker owns nothing that the base's bookkeeping would release.
    void OnStopped() override {}
    void OnExit() override {}

private:
    // Runs on the context's thread.
    void Deliver();

    // Read on the context's thread only: a QPointer is not safe to read from another
    // thread while its object is being destroyed.
    QPointer<QObject> context_;
    // Lives on the context's thread as long as the ticker; the ticks are queued to it, so
    // the ticker thread never touches the context itself.
    std::unique_ptr<QObject> receiver_;
    std::function<void()> onTick_;
    std::chrono::milliseconds interval_;
    std::atomic<std::uint64_t> posted_{0};
    std::atomic<std::uint64_t> handled_{0};
};

} // namespace vk
