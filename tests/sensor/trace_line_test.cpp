// The line trace of real exchanges with simulated sensors: one exchange in each check
// method, a reply with a bad check field, stray bytes before a reply and a reply that
// breaks off, each as the trace window and vkctl --trace show them.
#include "sensor/sensor_device.h"
#include "sensor/trace_line.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <mutex>
#include <regex>

namespace vk::test {
namespace {

using sim::test::Frame;
using sim::test::Sensor;

class RecordingTrace : public LinkObserver {
public:
    void OnLinkTraffic(const LinkTraffic& traffic) override {
        // Everything after the time stamp, which is checked once on its own.
        const std::string line = FormatTraceLine(traffic, std::chrono::system_clock::now());
        std::lock_guard<std::mutex> lock(mutex);
        stamps.push_back(line.substr(0, 13));
        lines.push_back(line.substr(13));
    }
    std::vector<std::string> Take() {
        std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(lines, {});
    }
    std::mutex mutex;
    std::vector<std::string> lines;
    std::vector<std::string> stamps;
};

std::string CheckText(const std::vector<std::uint8_t>& frame, CheckMethod method) {
    const std::size_t size = method == CheckMethod::Crc16 ? 2 : 1;
    std::string hex = HexBytes(frame.data() + frame.size() - size, size);
    hex.erase(std::remove(hex.begin(), hex.end(), ' '), hex.end());
    return hex;
}

class TraceLine : public sim::test::LineFixture {};

TEST_F(TraceLine, ExchangesFaultsAndStrayBytes) {
    StartLine({Sensor(1), Sensor(2, "VKT02", CheckMethod::Crc16, "VK000002")});
    for (std::uint8_t address : {1, 2})
        line->Modify(address, [](sim::SensorState& s) {
            s.liveFrozen = true;
            s.live.peak = 0x1234;
        });
    RecordingTrace trace;
    link.SetObserver(&trace);
    SensorDevice sensor;
    sensor.SetLink(&link);

    sensor.SetAddress(1);
    ASSERT_TRUE(sensor.GetPeak());
    const auto reply1 = Frame(CheckMethod::Checksum, 1, 38, {0x34, 0x12});
    EXPECT_EQ(trace.Take(),
              (std::vector<std::string>{"TX addr 1 ID 38 GetPeak payload - checksum D6 good",
                                        "RX addr 1 ID 38 GetPeak payload 34 12 checksum " +
                                            CheckText(reply1, CheckMethod::Checksum) + " good"}));

    sensor.SetAddress(2);
    sensor.SetCheckMethod(CheckMethod::Crc16);
    ASSERT_TRUE(sensor.GetPeak());
    const auto request2 = Frame(CheckMethod::Crc16, 2, 38);
    const auto reply2 = Frame(CheckMethod::Crc16, 2, 38, {0x12, 0x34});
    EXPECT_EQ(trace.Take(),
              (std::vector<std::string>{"TX addr 2 ID 38 GetPeak payload - CRC " +
                                            CheckText(request2, CheckMethod::Crc16) + " good",
                                        "RX addr 2 ID 38 GetPeak payload 12 34 CRC " +
                                            CheckText(reply2, CheckMethod::Crc16) + " good"}));

    // Codes two commands share show both names.
    ASSERT_TRUE(sensor.GetLaserPower());
    EXPECT_NE(trace.Take().at(0).find("ID 67 GetLaserPower/SetNumHoldScans payload"),
              std::string::npos);

    line->InjectFault(2, {sim::FaultKind::BadCheck});
    EXPECT_FALSE(sensor.GetPeak());
    auto lines = trace.Take();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].substr(0, 39), "RX addr 2 ID 38 GetPeak payload 12 34 C");
    EXPECT_EQ(lines[1].substr(lines[1].size() - 4), " bad");

    line->InjectFault(2, {sim::FaultKind::StrayBytes});
    ASSERT_TRUE(sensor.GetPeak());
    lines = trace.Take();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "RX stray 3 bytes: 55 AA 00");
    EXPECT_EQ(lines[2].substr(0, 15), "RX addr 2 ID 38");

    sim::Fault cut{sim::FaultKind::ShortReply};
    cut.cutAfter = 5;
    line->InjectFault(2, cut);
    EXPECT_FALSE(sensor.GetPeak());
    lines = trace.Take();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "RX partial 5 bytes: " + HexBytes(reply2.data(), 5));

    link.SetObserver(nullptr);
    ASSERT_TRUE(sensor.GetPeak());
    EXPECT_TRUE(trace.Take().empty());
    for (const std::string& stamp : trace.stamps)
        EXPECT_TRUE(std::regex_match(stamp, std::regex(R"(\d\d:\d\d:\d\d\.\d\d\d )"))) << stamp;
}

} // namespace
} // namespace vk::test
