#pragma once
// Ctrl+C (SIGINT) and SIGTERM as a request, not a kill: while a StopRequest lives they
// are held back from the calling thread, so a poll or an upload in progress ends
// normally (a file flushed, the flash locked again) and the command then looks for the
// request. vkctl is single-threaded, so holding them back on its thread suffices.

namespace vk::cli {

class StopRequest {
public:
    StopRequest();
    // Lets the signals through again; one that came and was not waited for ends the
    // program then, as it would have at once.
    ~StopRequest();
    StopRequest(const StopRequest&) = delete;
    StopRequest& operator=(const StopRequest&) = delete;

    // Waits until a stop is asked or `ms` milliseconds passed (0: only looks). True once
    // a stop has been asked, and from then on.
    bool WaitMs(int ms);

private:
    bool requested_ = false;
};

} // namespace vk::cli
