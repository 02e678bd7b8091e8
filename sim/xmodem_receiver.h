#pragma once
// The XModem-CRC receiver of a simulated sensor: what the sensor runs once it has taken
// an upload command and erased its flash. It prompts with "C" until the first block
// comes, checks each block's number, complement and CRC and answers ACK or NAK, takes a
// repeat of the block it has just taken for a lost ACK (ACKed again, dropped), and ends
// on EOT, on two CANs from the sender, or after too many bad blocks in a row.
//
// Between blocks the sensor's command interpreter listens too: a command frame that
// comes instead of a block ends the transfer (the line calls Abort), so a sender that
// gave up can still talk to the sensor.
//
// Plain state, copied with the sensor's state; the line feeds it bytes and the time and
// puts its answers on the wire.

#include "sim/sim_clock.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vk::sim {

enum class ReceiverFaultKind { None, Silence, NakTwice, Cancel, LateStart };

// A receiver that misbehaves at block `block`, counted from 1 through the transfer
// without wrapping; the EOT counts as the block after the last.
//   Silence:  from that block on it answers nothing and takes nothing; block 0 also
//             withholds the "C" prompts.
//   NakTwice: it NAKs that block the first two times the block comes intact.
//   Cancel:   it answers that block with CAN CAN and ends the transfer.
//   LateStart: (block unused) it hears nothing for a second after the transfer opened,
//             then starts with its first "C"; what came before is lost, commands too.
// A fault waits for the next transfer that starts, and ends with it.
struct ReceiverFault {
    ReceiverFaultKind kind = ReceiverFaultKind::None;
    int block = 1;
};

class XModemReceiver {
public:
    struct Ended {
        bool complete = false;           // EOT came and was acknowledged
        std::vector<std::uint8_t> image; // the data of every block taken, in order
        std::string how;                 // why it ended, for the simulator's report
    };

    // Begins a transfer: the first "C" is due at `now`.
    void Start(Clock::time_point now);
    bool Active() const { return phase_ != Phase::Idle; }
    // Whether `byte` is the receiver's: every byte inside a block; between blocks only
    // SOH, EOT and CAN, and only while the command interpreter is not inside a frame.
    bool Wants(std::uint8_t byte, bool frameInProgress) const;
    // Takes one byte that arrived at `at`; what the receiver answers is appended to `out`.
    void Feed(std::uint8_t byte, Clock::time_point at, std::vector<std::uint8_t>& out);
    // When OnTimer is due next (a prompt, or a block that stalled); nothing when idle.
    std::optional<Clock::time_point> NextTimer() const;
    void OnTimer(Clock::time_point now, std::vector<std::uint8_t>& out);
    // Ends the transfer in progress without an image (a command frame came instead).
    void Abort(const std::string& why);

    void SetFault(const ReceiverFault& fault) { nextFault_ = fault; }
    // Removes the fault of the transfer in progress and the one waiting.
    void ClearFaults() { fault_ = nextFault_ = {}; }
    // The transfer that ended since the last call, once.
    std::optional<Ended> TakeEnded();

    static constexpr int kPrompts = 10;      // "C"s before it gives up waiting
    static constexpr int kMaxBadBlocks = 10; // bad blocks in a row before it cancels
    static constexpr auto kPromptInterval = std::chrono::seconds(1);
    static constexpr auto kBlockGap = std::chrono::seconds(1); // a stalled block is NAKed

private:
    enum class Phase { Idle, AwaitingFirst, AwaitingBlock, InBlock };

    bool Silenced() const;
    bool NotYetListening() const;
    void BetweenBlocks(std::uint8_t byte, std::vector<std::uint8_t>& out);
    void CheckBlock(std::vector<std::uint8_t>& out);
    void BadBlock(std::vector<std::uint8_t>& out);
    void Cancel(std::vector<std::uint8_t>& out, const std::string& why);
    void End(bool complete, const std::string& why);

    Phase phase_ = Phase::Idle;
    std::vector<std::uint8_t> image_;
    std::vector<std::uint8_t> block_; // the bytes after SOH
    int blocks_ = 0;                  // blocks taken
    int badInARow_ = 0;
    int prompts_ = 0;
    int faultNaks_ = 0;
    bool canSeen_ = false;
    Clock::time_point nextPrompt_{};
    Clock::time_point lastByte_{};
    ReceiverFault fault_;     // of the transfer in progress
    ReceiverFault nextFault_; // for the next one
    std::optional<Ended> ended_;
};

} // namespace vk::sim
