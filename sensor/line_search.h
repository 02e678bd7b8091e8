#pragma once
// Finding the sensors on a line whose speed, check method and address nobody wrote down.
// Each place (speed, check method, address) gets one model-name request and a short wait,
// so a silent address costs a few tens of milliseconds instead of a failed exchange
// (exchange budget and recovery pause, about 1.25 s). A sensor that answers is then read
// out as a connect reads it: model, versions, serial number. vkctl scan-line and
// VkUtil's Find Sensors run this same search.
//
// The search opens the port itself and holds it until it returns, on the calling
// thread; nothing else may use the port meanwhile.

#include "link/dcs_link.h"
#include "link/frame.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vk {

// The speeds a sensor takes, fastest first.
inline constexpr std::int32_t kLineSpeeds[] = {57600, 38400, 19200, 9600};

// How long a probe waits for the first byte of an answer after its request has left the
// port; the rest of the answer then gets its wire time on top.
inline constexpr std::uint32_t kDefaultAnswerWaitMs = 25;

// Where a sensor may sit on a line.
struct LinePlace {
    std::int32_t speed = 57600;
    CheckMethod method = CheckMethod::Checksum;
    std::uint8_t address = 1;
    friend bool operator==(const LinePlace&, const LinePlace&) = default;
};

// --- one probe ---------------------------------------------------------------------

enum class ProbeOutcome {
    Nothing,      // silence; at any address but 0 also noise or a broken reply
    Sensor,       // a whole, valid model-name reply from the address asked
    LineFailed,   // the port refused a read or a write (the link's error says why)
    Collided,     // global address: bytes that make no single whole reply
    NoOwnAddress, // global address: a valid reply that names address 0, which no sensor has
};

struct Probe {
    ProbeOutcome outcome = ProbeOutcome::Nothing;
    std::uint8_t address = 0; // of the sensor, with ProbeOutcome::Sensor
};

// Sends a model-name request to `address` in `method` on the open `link` (at its speed)
// and waits `answerWaitMs` for the answer to start. With `address` 0 every sensor is
// asked, and the wait goes on a while after a whole reply so that a second answer is
// seen. Raw bytes only: no failure line, no recovery pause.
Probe ProbeAddress(DcsLink& link, CheckMethod method, std::uint8_t address,
                   std::uint32_t answerWaitMs);

// --- the search --------------------------------------------------------------------

struct LineSearchPlan {
    std::string port; // "COMn" or a device path
    std::vector<std::int32_t> speeds{std::begin(kLineSpeeds), std::end(kLineSpeeds)};
    std::vector<CheckMethod> methods{CheckMethod::Checksum, CheckMethod::Crc16};
    // The addresses asked at each speed and method; both 0: the global address alone
    // (quick, for a line with one sensor).
    std::uint8_t firstAddress = 1;
    std::uint8_t lastAddress = 255;
    // Asked before all others, in this order: where the sensor was last time. Places
    // outside the speeds, methods and addresses above are left out.
    std::vector<LinePlace> tryFirst;
    bool stopAtFirst = false; // end once one sensor has been found and read out
    // Every sensor answers the global address, so each speed and method begins with it: a
    // sensor that names itself there is asked before the other addresses, and the speeds
    // and methods where nothing at all answers are searched last, for a sensor that would
    // not answer it. skipSilent leaves those out (a line in seconds instead of a minute).
    bool skipSilent = false;
    std::uint32_t answerWaitMs = kDefaultAnswerWaitMs;
};

// Every place the plan may ask, in the order planned: the places to try first, then each
// speed in turn with each method in turn, the global address and each address, skipping
// places asked already. The search moves (or with skipSilent drops) the addresses of a
// speed and method whose global address stays silent behind all the others.
std::vector<LinePlace> SearchOrder(const LineSearchPlan& plan);

struct FoundSensor {
    LinePlace place;         // its own address, also when it was found on the global one
    std::string model;       // display name ("Rmx Long"), or the model string of a model
                             // no tool knows
    std::string modelString; // as the sensor sent it
    std::string serial;      // first 8 characters of the serial-number reply
    std::string firmware;    // "1.23B"; empty when it could not be read
    std::string fpga;        // " 2.5"; empty when it could not be read
    // Empty when the whole read-out answered, else the first failure line.
    std::string failure;
};

struct LineSearchProgress {
    LinePlace place;          // asked now
    std::uint8_t lastAddress; // of the plan
    std::size_t probe;        // 1-based position of this place in SearchOrder (places
                              // skipped count as passed)
    std::size_t probes;       // places in SearchOrder
    std::size_t found;        // sensors found so far
};

// "57600 baud, checksum: address 37 of 255, 1 found" ("global address" on address 0).
std::string ProgressText(const LineSearchProgress& progress);

// What the search tells while it runs. Calls come on the searching thread.
class LineSearchObserver {
public:
    virtual ~LineSearchObserver() = default;
    // Before each probe.
    virtual void Probing(const LineSearchProgress& progress) { (void)progress; }
    // A sensor answered and has been read out.
    virtual void Found(const FoundSensor& sensor) { (void)sensor; }
    // Asked before every probe and every request of a read-out: true ends the search
    // there, so it stops within one probe or one request.
    virtual bool StopRequested() { return false; }
};

struct LineSearchResult {
    std::vector<FoundSensor> sensors; // in the order found
    // Global-address probes whose answers collided: more than one sensor is there.
    std::vector<LinePlace> collisions;
    // Global-address probes answered from address 0: a sensor that does not say its own.
    std::vector<LinePlace> withoutAddress;
    bool stopped = false;    // by StopRequested (not by stopAtFirst)
    bool lineFailed = false; // the port did not open or failed; `lineError` says why
    std::string lineError;
};

// Searches the plan's port. The port opens at the first speed with 8 data bits, no
// parity, one stop bit and the answer wait as its read time-out; it is closed again
// before the call returns. A port that fails ends the search with what was found.
LineSearchResult SearchLine(const LineSearchPlan& plan, LineSearchObserver& observer);

} // namespace vk
