// The line search against simulated sensors at different speeds, check methods and
// addresses: the order of the search, what a found sensor's row holds, stopping, a
// pulled adapter, and what the global address tells.
#include "sensor/line_search.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace vk::test {
namespace {

constexpr auto kSum = CheckMethod::Checksum;
constexpr auto kCrc = CheckMethod::Crc16;

sim::SensorConfig At(const std::string& model, std::int32_t speed, CheckMethod method,
                     std::uint8_t address, const std::string& serial) {
    sim::SensorConfig config = sim::ConfigForModel(model);
    config.baudRate = speed;
    config.method = method;
    config.address = address;
    config.serialNumber = serial;
    return config;
}

class Recorder : public LineSearchObserver {
public:
    void Probing(const LineSearchProgress& p) override {
        probes.push_back(p);
        if (onProbe)
            onProbe(p);
    }
    void Found(const FoundSensor& s) override { found.push_back(s); }
    bool StopRequested() override { return stop; }

    std::vector<LineSearchProgress> probes;
    std::vector<FoundSensor> found;
    std::function<void(const LineSearchProgress&)> onProbe;
    bool stop = false;
};

class LineSearchLine : public sim::test::SimLineFixture {
protected:
    LineSearchPlan Plan(std::uint8_t first, std::uint8_t last) {
        LineSearchPlan plan;
        plan.port = "COM1";
        plan.firstAddress = first;
        plan.lastAddress = last;
        return plan;
    }
    // Requests on the line since the last call, all of them without payload in `method`.
    std::size_t Requests(CheckMethod method) {
        EXPECT_TRUE(line->WaitIdle(2000));
        return line->TakeReceived().size() / FrameSize(method, LengthByte(method, 0));
    }
};

TEST_F(LineSearchLine, FindsEachSensorInSearchOrderAndStopsAtTheFirstWhenAsked) {
    StartLine({At("VKT02", 57600, kSum, 3, "VK000003"), At("RMXL", 19200, kCrc, 5, "VK000005"),
               At("VKT04", 9600, kSum, 6, "VK000006")});
    LineSearchPlan plan = Plan(1, 7);
    // Where the sensor was last time comes first; a place outside the plan is dropped.
    plan.tryFirst = {{9600, kSum, 6}, {38400, kSum, 200}, {9600, kSum, 6}};
    const std::vector<LinePlace> order = SearchOrder(plan);
    // Each speed and method begins with the global address.
    ASSERT_EQ(order.size(), 4u * 2u * 8u);
    EXPECT_EQ(order[0], (LinePlace{9600, kSum, 6}));
    EXPECT_EQ(order[1], (LinePlace{57600, kSum, 0}));
    EXPECT_EQ(order[2], (LinePlace{57600, kSum, 1}));
    EXPECT_EQ(order[9], (LinePlace{57600, kCrc, 0}));
    EXPECT_EQ(order.back(), (LinePlace{9600, kCrc, 7}));

    Recorder seen;
    const LineSearchResult all = SearchLine(plan, seen);
    EXPECT_FALSE(all.lineFailed) << all.lineError;
    ASSERT_EQ(all.sensors.size(), 3u);
    const FoundSensor& first = all.sensors[0];
    EXPECT_EQ(first.place, (LinePlace{9600, kSum, 6}));
    EXPECT_EQ(first.model, "VKT04");
    EXPECT_EQ(first.modelString, "0 K4-D-4");
    EXPECT_EQ(first.serial, "VK000006");
    EXPECT_EQ(first.firmware, "1.23B");
    EXPECT_EQ(first.fpga, " 2.5");
    EXPECT_EQ(first.failure, "");
    EXPECT_EQ(all.sensors[1].place, (LinePlace{57600, kSum, 3}));
    EXPECT_EQ(all.sensors[1].model, "VKT02");
    EXPECT_EQ(all.sensors[2].place, (LinePlace{19200, kCrc, 5}));
    EXPECT_EQ(all.sensors[2].model, "Rmx Long");
    EXPECT_EQ(seen.found.size(), 3u);
    // The sensor that answered the global address is asked next; the addresses of a speed
    // and method where nothing answered it come after all the others.
    ASSERT_EQ(seen.probes.size(), order.size());
    EXPECT_EQ(ProgressText(seen.probes[1]), "57600 baud, checksum: global address, 1 found");
    EXPECT_EQ(ProgressText(seen.probes[2]), "57600 baud, checksum: address 3 of 7, 1 found");
    EXPECT_EQ(ProgressText(seen.probes[9]), "57600 baud, CRC: global address, 2 found");
    EXPECT_EQ(ProgressText(seen.probes[10]), "38400 baud, checksum: global address, 2 found");
    EXPECT_EQ(seen.probes.back().place, (LinePlace{9600, kCrc, 7}));
    EXPECT_EQ(seen.probes.back().found, 3u);
    // Left out instead, they cost nothing at all.
    Recorder skipping;
    plan.skipSilent = true;
    ASSERT_EQ(SearchLine(plan, skipping).sensors.size(), 3u);
    EXPECT_EQ(skipping.probes.size(), 1u + 8 + 1 + 1 + 1 + 1 + 8 + 7 + 1);
    plan.skipSilent = false;

    Recorder one;
    plan.stopAtFirst = true;
    plan.tryFirst = {{19200, kCrc, 5}};
    Requests(kSum);
    const LineSearchResult first_only = SearchLine(plan, one);
    ASSERT_EQ(first_only.sensors.size(), 1u);
    EXPECT_EQ(first_only.sensors[0].serial, "VK000005");
    EXPECT_FALSE(first_only.stopped);
    EXPECT_EQ(one.probes.size(), 1u);
    // The probe, then the read-out: model name, version, serial number.
    EXPECT_EQ(Requests(kCrc), 4u);
}

TEST_F(LineSearchLine, StopsWithinOneProbeAndEndsWhenTheAdapterIsPulled) {
    StartLine({At("VKT02", 9600, kSum, 9, "VK000009")});
    Recorder stopping;
    stopping.onProbe = [&](const LineSearchProgress&) {
        stopping.stop = stopping.probes.size() == 5;
    };
    // All in the checksum variant, so each probe is one request.
    LineSearchPlan plan = Plan(1, 255);
    plan.methods = {kSum};
    const LineSearchResult stopped = SearchLine(plan, stopping);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopping.probes.size(), 5u);
    EXPECT_EQ(Requests(kSum), 5u);

    Recorder pulled;
    pulled.onProbe = [&](const LineSearchProgress&) {
        if (pulled.probes.size() == 3)
            line->Unplug();
    };
    const LineSearchResult lost = SearchLine(plan, pulled);
    EXPECT_TRUE(lost.lineFailed);
    EXPECT_FALSE(lost.lineError.empty());
    EXPECT_EQ(pulled.probes.size(), 3u);

    LineSearchPlan nowhere = Plan(1, 2);
    nowhere.port = dir.Path() + "/gone";
    const LineSearchResult absent = SearchLine(nowhere, pulled);
    EXPECT_TRUE(absent.lineFailed);
    EXPECT_EQ(absent.lineError.rfind("sc_Open: could not open " + nowhere.port, 0), 0u)
        << absent.lineError;
}

TEST_F(LineSearchLine, GlobalAddressTellsCollidingAnswersAndAnswersWithoutAnAddress) {
    line = std::make_unique<sim::SimLine>(sim::LineOptions{1, "", false, true});
    line->AddSensor(At("VKT02", 57600, kSum, 2, "VK000002"));
    line->AddSensor(At("RMXS", 57600, kSum, 9, "VK000009"));
    line->AddSensor(At("VKT04", 38400, kCrc, 4, "VK000004"));
    // Something that answers in the name of every sensor.
    line->AddSensor(At("BF", 19200, kSum, 0, "VK000000"));
    std::string error;
    ASSERT_TRUE(line->Start(&error)) << error;

    Recorder seen;
    const LineSearchResult quick = SearchLine(Plan(0, 0), seen);
    EXPECT_EQ(quick.collisions, (std::vector<LinePlace>{{57600, kSum, 0}}));
    EXPECT_EQ(quick.withoutAddress, (std::vector<LinePlace>{{19200, kSum, 0}}));
    ASSERT_EQ(quick.sensors.size(), 1u);
    EXPECT_EQ(quick.sensors[0].place, (LinePlace{38400, kCrc, 4}));
    EXPECT_EQ(quick.sensors[0].serial, "VK000004");
    EXPECT_EQ(ProgressText(seen.probes[0]), "57600 baud, checksum: global address, 0 found");

    // The whole search asks each address where the global address heard anything.
    const LineSearchResult full = SearchLine(Plan(1, 10), seen);
    ASSERT_EQ(full.sensors.size(), 3u);
    EXPECT_EQ(full.sensors[0].place, (LinePlace{57600, kSum, 2}));
    EXPECT_EQ(full.sensors[1].place, (LinePlace{57600, kSum, 9}));
    EXPECT_EQ(full.sensors[2].place, (LinePlace{38400, kCrc, 4}));
    EXPECT_TRUE(full.collisions.empty());
}

} // namespace
} // namespace vk::test
