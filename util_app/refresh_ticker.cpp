#include "util_app/refresh_ticker.h"

#include <memory>

namespace vk {

namespace {
// What one run() shares with the ticks it queued; outlives both.
struct TickRound {
    std::atomic<bool> live{true};     // false once run() has returned
    std::atomic<bool> handled{false}; // the current tick has been handled
};
} // namespace

RefreshTicker::RefreshTicker(QObject* context, std::function<void()> onTick,
                             std::chrono::milliseconds interval)
    : context_(context), receiver_(std::make_unique<QObject>()), onTick_(std::move(onTick)),
      interval_(interval) {
    if (context)
        receiver_->moveToThread(context->thread());
}

RefreshTicker::~RefreshTicker() {
    StopThread();
}

void RefreshTicker::Deliver() {
    if (!context_)
        return; // the panels' owner is gone: nothing to refresh
    try {
        if (onTick_)
            onTick_();
    } catch (...) {
        // One failed update must not end the refreshing; the next tick tries again.
    }
    ++handled_;
}

void RefreshTicker::run() {
    auto round = std::make_shared<TickRound>();
    for (;;) {
        round->handled = false;
        ++posted_;
        // The tick runs on the user-interface thread. It only touches the ticker while
        // this run() is alive: StopThread, on that same thread, waits for run() to end,
        // so a tick still queued then finds `live` false.
        QMetaObject::invokeMethod(
            receiver_.get(),
            [this, round] {
                if (!round->live)
                    return;
                Deliver();
                round->handled = true;
                Wake();
            },
            Qt::QueuedConnection);
        bool stop = false;
        while (!stop && !round->handled)
            stop = WaitForStopOr([&] { return round->handled.load(); }, std::chrono::seconds(1));
        if (stop || WaitForStop(interval_))
            break;
    }
    round->live = false;
}

} // namespace vk
