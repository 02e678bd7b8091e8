#pragma once
// SimLine: simulated Korvel sensors on a pseudo-terminal. The slave side is linked as
// <port dir>/COMn, so every program opens it as it would open a real port; one thread
// serves the master side, parses what the program writes with each sensor's check
// method and answers like the sensors would. Tests inject faults and look at the bytes
// and the sensors' state; every public function is thread safe.

#include "sim/fault.h"
#include "sim/sensor_config.h"
#include "sim/sensor_state.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vk::sim {

struct LineOptions {
    int comNumber = 1;
    std::string portDir; // empty: vk::PortDirectory()
    bool pace = false;   // spend each byte's wire time at the line's speed
    // When a request reaches several sensors (the global address), all of them answer at
    // once and the line carries their replies overlaid, as a real bus would; off, only one
    // of them answers (see Dispatch).
    bool collide = false;
};

class SimLine {
public:
    explicit SimLine(LineOptions options = {});
    ~SimLine(); // Stop()
    SimLine(const SimLine&) = delete;
    SimLine& operator=(const SimLine&) = delete;

    // `report` is told, on the serving thread, whenever a sensor's upload transfer ends:
    // one line saying what was received (kind, length, CRC-16) or why nothing was kept.
    void SetUploadReport(std::function<void(const std::string&)> report);

    // Adds a sensor in its factory state; allowed before or after Start.
    void AddSensor(const SensorConfig& config);

    // Opens the pseudo-terminal, links it as COMn (making the folder, replacing an
    // existing link) and starts serving. False with a reason in `error` (may be null)
    // when the terminal or the link cannot be made or the line is already running.
    bool Start(std::string* error);
    // Stops serving, closes the terminal and removes the link if it is still ours.
    // Waits for the serving thread; does nothing when not running.
    void Stop();
    bool Running() const;
    // False once serving has ended, by Stop or because the terminal failed.
    bool Serving() const;

    std::string ComName() const;    // "COM1"
    std::string LinkPath() const;   // <port dir>/COM1
    std::string DevicePath() const; // the pty slave, e.g. /dev/pts/3; empty before Start

    // Fault injection. A Garbage fault goes on the line at once; the others wait for the
    // next replies of the sensor with that address (see Fault). Unknown address: ignored.
    void InjectFault(std::uint8_t address, const Fault& fault);
    // A fault of the sensor's XModem receiver for the next transfer that starts.
    void InjectReceiverFault(std::uint8_t address, const ReceiverFault& fault);
    // Removes every fault, the receivers' too.
    void ClearFaults();

    // Every byte the program wrote since the last call, in order.
    std::vector<std::uint8_t> TakeReceived();
    // Waits until at least `count` bytes are waiting for TakeReceived and every byte read
    // so far has reached the sensors (after a request without a reply, its effect is
    // then in the sensors' state). False on time-out.
    bool WaitReceived(std::size_t count, int timeoutMs);

    // A copy of the state of the sensor that has `address` now (scan brought up to date).
    // No such sensor: a factory state whose config.address is 0.
    SensorState Snapshot(std::uint8_t address) const;
    bool HasSensor(std::uint8_t address) const;
    // Runs `change` on the sensor's state under the line's lock; false without such sensor.
    bool Modify(std::uint8_t address, const std::function<void(SensorState&)>& change);
    // Waits until `condition` holds for the sensor's state (checked after every frame the
    // line handles); false on time-out or when there is no such sensor.
    bool WaitForState(std::uint8_t address,
                      const std::function<bool(const SensorState&)>& condition, int timeoutMs);
    // Waits until no byte has come for kFrameGap (20 ms) and every byte has reached the
    // sensors: a request written before the call has then been handled. False on time-out.
    bool WaitIdle(int timeoutMs);

    // The device vanishes: the master side closes (the program sees end-of-file, EIO or a
    // hang-up), serving ends and the link is removed.
    void Unplug();
    // The device comes back after Unplug: a new terminal linked as COMn again, its
    // sensors as they were. A program must open the port anew, as after any replugging.
    // False with a reason, as Start.
    bool Replug(std::string* error);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace vk::sim
