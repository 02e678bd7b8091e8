#pragma once
// The far end of a real pseudo-terminal, linked as COMn in a private port directory,
// so a test decides byte for byte what "the sensor" sends.

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vk::test {

class PtyPeer {
public:
    explicit PtyPeer(int comNumber = 1);
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    std::string ComName() const { return "COM" + std::to_string(com_); }
    std::string PortDir() const { return dir_; }
    // Puts bytes on the line towards the program.
    void Send(const std::vector<std::uint8_t>& bytes);
    // Sends `bytes` once the program's next request has begun to arrive (within 2 s),
    // from a thread of its own: the program drops what waits before a request.
    void AnswerNextRequest(std::vector<std::uint8_t> bytes);
    // Everything the program wrote, collected until nothing more came for `quietMs`.
    std::vector<std::uint8_t> Received(int quietMs = 50);
    // The device goes away: the program's end sees a hang-up.
    void Hangup();

private:
    void JoinAnswer();

    int com_;
    int master_ = -1;
    int slave_ = -1;
    std::string dir_;
    std::thread answer_;
    std::mutex mutex_;
    std::vector<std::uint8_t> taken_; // what the answering thread read of the request
};

} // namespace vk::test
