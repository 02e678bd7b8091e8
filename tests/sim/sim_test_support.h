#pragma once
// What the tests against simulated sensors share: a private port directory, a line with
// sensors on it, and a DcsLink opened on that line the way the tools open a port.

#include "link/dcs_link.h"
#include "sim/sim_line.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vk::sim::test {

// A temporary folder that KORVEL_PORT_DIR points at while it lives.
class ScopedPortDir {
public:
    ScopedPortDir();
    ~ScopedPortDir();
    ScopedPortDir(const ScopedPortDir&) = delete;
    ScopedPortDir& operator=(const ScopedPortDir&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// `config` with another address, model, method or serial number.
SensorConfig Sensor(std::uint8_t address, const std::string& model = "VKT02",
                    CheckMethod method = CheckMethod::Checksum,
                    const std::string& serial = "VK000001");

// A line started on COM1 of a private port directory, for tests where the code under
// test opens the port itself.
class SimLineFixture : public ::testing::Test {
protected:
    // Starts the line with these sensors; with `pace` each byte takes its wire time.
    void StartLine(const std::vector<SensorConfig>& sensors, bool pace = false);

    ScopedPortDir dir;
    std::unique_ptr<SimLine> line;
};

// The same line and a link open on it.
class LineFixture : public SimLineFixture {
protected:
    // Starts the line, then opens the link on COM1 at `linkBaud`.
    void StartLine(const std::vector<SensorConfig>& sensors, bool pace = false,
                   std::int32_t linkBaud = 57600);

    // One request and its reply payload of `replyLength` bytes; nothing on failure.
    std::optional<std::vector<std::uint8_t>> Transact(std::uint8_t address, CheckMethod method,
                                                      std::uint8_t id,
                                                      const std::vector<std::uint8_t>& request,
                                                      std::size_t replyLength);
    // A request with no reply read.
    bool Send(std::uint8_t address, CheckMethod method, std::uint8_t id,
              const std::vector<std::uint8_t>& request = {});
    // A request with no reply read, returning once the sensors have taken it in.
    void SendHandled(std::uint8_t address, CheckMethod method, std::uint8_t id,
                     const std::vector<std::uint8_t>& request = {});
    // One packet already on its way; its payload, or nothing on failure.
    std::optional<std::vector<std::uint8_t>> Receive(CheckMethod method, std::uint8_t id);
    // Raw bytes as they arrive, until nothing more comes for `quietMs`.
    std::vector<std::uint8_t> ReadRaw(int quietMs = 100);
    void WriteRaw(const std::vector<std::uint8_t>& bytes);
    // A setting request, then its acknowledgement in the CRC variant, as the tools do.
    void SetAndAck(std::uint8_t address, CheckMethod method, std::uint8_t id,
                   const std::vector<std::uint8_t>& request);

    DcsLink link;
};

// Names the cases of a test run once per check method: "Checksum", "Crc".
std::string MethodName(const ::testing::TestParamInfo<CheckMethod>& info);
#define VK_SIM_BOTH_METHODS(suite)                                                                 \
    INSTANTIATE_TEST_SUITE_P(BothMethods, suite,                                                   \
                             ::testing::Values(CheckMethod::Checksum, CheckMethod::Crc16),         \
                             ::vk::sim::test::MethodName)

// A whole frame as the tools build it.
std::vector<std::uint8_t> Frame(CheckMethod method, std::uint8_t address, std::uint8_t id,
                                const std::vector<std::uint8_t>& payload = {});
// Two bytes of a 16-bit value in the method's order.
std::vector<std::uint8_t> Word(std::uint16_t value, CheckMethod method);
std::uint16_t WordAt(const std::vector<std::uint8_t>& payload, std::size_t offset,
                     CheckMethod method);

} // namespace vk::sim::test
