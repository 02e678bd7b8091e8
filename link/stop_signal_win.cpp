#include "link/stop_signal.h"

#include <atomic>
#include <windows.h>

namespace vk {

namespace {

// Ctrl+C arrives on a thread of its own; it leaves its signal here to be waited for.
std::atomic<int> pendingStop{0};
std::atomic<bool> holding{false};

BOOL WINAPI OnConsoleControl(DWORD type) {
    if (!holding || (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT))
        return FALSE;
    pendingStop = 2; // SIGINT's number
    return TRUE;
}

} // namespace

void BlockStopSignals() {
    if (!holding.exchange(true))
        SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void UnblockStopSignals() {
    if (holding.exchange(false))
        SetConsoleCtrlHandler(OnConsoleControl, FALSE);
}

int WaitForStopSignal(int timeoutMs) {
    for (int left = timeoutMs;; left -= 20) {
        if (const int signal = pendingStop.exchange(0))
            return signal;
        if (left <= 0)
            return 0;
        Sleep(static_cast<DWORD>(left < 20 ? left : 20));
    }
}

} // namespace vk
