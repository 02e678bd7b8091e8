#include "link/stop_signal.h"
#include <cerrno>
#include <ctime>

#include <csignal>
#include <pthread.h>

namespace vk {

namespace {

sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

} // namespace

void BlockStopSignals() {
    sigset_t set = StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void UnblockStopSignals() {
    sigset_t set = StopSignals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

int WaitForStopSignal(int timeoutMs) {
    sigset_t set = StopSignals();
    timespec wait{timeoutMs / 1000, (timeoutMs % 1000) * 1000000L};
    for (;;) {
        int signal = sigtimedwait(&set, nullptr, &wait);
        if (signal > 0)
            return signal;
        if (errno != EINTR)
            return 0;
    }
}

} // namespace vk
