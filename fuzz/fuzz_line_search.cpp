// The line search on a line that answers its probes and read-outs with whatever the
// fuzzer makes up.
//
// Input: a control byte (bit 0: CRC variant; bit 1: the global address only, else
// addresses 1 to 4; bits 4-7: bytes per read call, 0 for all), then the line's records
// (see fake_line.h), one for each request the search writes.
#include "fuzz/fake_line.h"
#include "fuzz/require.h"
#include "sensor/line_search.h"

namespace {

using namespace vk;
using vk::fuzz::Require;

class Counter : public LineSearchObserver {
public:
    void Probing(const LineSearchProgress&) override { ++probes; }
    std::size_t probes = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t control = data[0];
    fuzz::ResetLine(data + 1, size - 1, control >> 4);
    const bool global = control & 2;
    LineSearchPlan plan;
    plan.port = "/dev/ttyFUZZ";
    plan.speeds = {57600};
    plan.methods = {control & 1 ? CheckMethod::Crc16 : CheckMethod::Checksum};
    plan.firstAddress = global ? 0 : 1;
    plan.lastAddress = global ? 0 : 4;
    Counter counter;
    const LineSearchResult result = SearchLine(plan, counter);
    Require(result.sensors.size() + result.collisions.size() + result.withoutAddress.size() <=
            counter.probes);
    for (const FoundSensor& s : result.sensors) {
        // No sensor has address 0; a search of addresses 1 to 4 finds nothing elsewhere.
        Require(s.place.address != 0);
        Require(global || s.place.address <= 4);
        Require(s.modelString.size() <= 16 && s.serial.size() <= 8);
    }
    return 0;
}
