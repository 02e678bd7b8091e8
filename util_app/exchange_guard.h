#pragma once
// ExchangeGuard: keeps the refresh ticks off the line while a command sequence talks to
// the sensor. A tick that finds the guard held is skipped, so its polls never fall
// between two requests of a sequence, not even when the sequence lets the event loop
// run between them. A modal dialog or message box that merely waits for the user lets
// the ticks in again, so the live values keep moving while the user types.
//
// Everything here runs on the user-interface thread.

#include <utility>

namespace vk {

class ExchangeGuard {
public:
    // Whether a sequence holds the guard now; a refresh tick must then stay silent.
    bool Held() const { return depth_ > 0; }

    // Holds the guard for as long as it lives. Holds nest: a menu command that asks a
    // settings dialog to reload holds it twice.
    class Hold {
    public:
        explicit Hold(ExchangeGuard& guard) : guard_(guard) { ++guard_.depth_; }
        ~Hold() { --guard_.depth_; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        ExchangeGuard& guard_;
    };

    // Lets the ticks in for as long as it lives, whoever holds the guard: wrap a wait for
    // the user in it. The holds taken inside (a button of the dialog) count again.
    class Release {
    public:
        explicit Release(ExchangeGuard& guard)
            : guard_(guard), saved_(std::exchange(guard.depth_, 0)) {}
        ~Release() { guard_.depth_ = saved_; }
        Release(const Release&) = delete;
        Release& operator=(const Release&) = delete;

    private:
        ExchangeGuard& guard_;
        int saved_;
    };

private:
    int depth_ = 0;
};

} // namespace vk
