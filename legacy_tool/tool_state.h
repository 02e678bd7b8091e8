#pragma once
// What the setup tool knows while it runs, shared by the main form, its pages and the
// link. Nothing here survives the program.

#include "legacy_tool/address_list.h"
#include "legacy_tool/firmware_variant.h"
#include "link/frame.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vk::legacy {

struct ToolState {
    std::uint8_t currentAddress = 1; // every request goes here; 0 reaches every sensor
    CheckMethod method = CheckMethod::Checksum;
    bool connected = false;
    bool busy = false; // a command sequence is running
    // The window is closing: no request goes out any more and every wait ends at once.
    bool closing = false;
    int portNumber = 1;
    int hostBaud = 57600;
    int lastError = 0; // of the last reply read, see LastError

    bool stop = false; // ends the live view
    // The multi-sensor scan: the address list (loaded when not empty) and the scan count
    // each list position reported at the last "Stop Scan".
    std::vector<std::uint8_t> addressList;
    std::array<std::uint16_t, kMaxAddresses> scanCounts{};

    int sensorMode = 0;     // last read from the sensor
    bool revisionC = false; // the firmware variant
    // Changed only by a version reply that came, so it may lag behind `revisionC` when
    // the version could not be read.
    AveragingScale averaging;
    std::uint16_t configWord = 0; // from the last averaging read-out, sent back unchanged

    bool serviceMode = false;
    bool resetMode = false;
};

} // namespace vk::legacy
