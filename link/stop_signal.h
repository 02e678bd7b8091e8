#pragma once
// Waiting for the request to stop a long-running program (SIGINT, SIGTERM).

namespace vk {

// Holds the stop signals back from every thread started afterwards, so that they can
// be waited for. Call before starting threads.
void BlockStopSignals();
// Waits until a stop signal comes or `timeoutMs` passed; returns the signal's number, or 0
// on time-out.
int WaitForStopSignal(int timeoutMs);
// Lets the stop signals through to the calling thread again; one that came while they
// were held back and was not waited for is delivered then.
void UnblockStopSignals();

} // namespace vk
