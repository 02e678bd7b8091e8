#include "cli/stop_request.h"

#include "link/stop_signal.h"

namespace vk::cli {

StopRequest::StopRequest() {
    BlockStopSignals();
}

StopRequest::~StopRequest() {
    UnblockStopSignals();
}

bool StopRequest::WaitMs(int ms) {
    if (!requested_)
        requested_ = WaitForStopSignal(ms) != 0;
    return requested_;
}

} // namespace vk::cli
