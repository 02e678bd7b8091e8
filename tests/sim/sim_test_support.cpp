#include "sim_test_support.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace vk::sim::test {

ScopedPortDir::ScopedPortDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vksim-test-XXXXXX").string();
    if (mkdtemp(pattern.data()))
        path_ = pattern;
    setenv("KORVEL_PORT_DIR", path_.c_str(), 1);
}

ScopedPortDir::~ScopedPortDir() {
    unsetenv("KORVEL_PORT_DIR");
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

SensorConfig Sensor(std::uint8_t address, const std::string& model, CheckMethod method,
                    const std::string& serial) {
    SensorConfig config = ConfigForModel(model);
    config.address = address;
    config.method = method;
    config.serialNumber = serial;
    return config;
}

void SimLineFixture::StartLine(const std::vector<SensorConfig>& sensors, bool pace) {
    LineOptions options;
    options.pace = pace;
    line = std::make_unique<SimLine>(options);
    for (const SensorConfig& s : sensors)
        line->AddSensor(s);
    std::string error;
    ASSERT_TRUE(line->Start(&error)) << error;
}

void LineFixture::StartLine(const std::vector<SensorConfig>& sensors, bool pace,
                            std::int32_t linkBaud) {
    SimLineFixture::StartLine(sensors, pace);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(link.OpenPortName("COM1", linkBaud, kParityNone, kStopOne, 8, 100, 100))
        << link.ErrorText();
}

std::optional<std::vector<std::uint8_t>>
LineFixture::Transact(std::uint8_t address, CheckMethod method, std::uint8_t id,
                      const std::vector<std::uint8_t>& request, std::size_t replyLength) {
    std::vector<std::uint8_t> reply(replyLength);
    if (!link.dcs_Transact(address, method, id, request.data(), request.size(), reply.data(),
                           replyLength))
        return std::nullopt;
    return reply;
}

bool LineFixture::Send(std::uint8_t address, CheckMethod method, std::uint8_t id,
                       const std::vector<std::uint8_t>& request) {
    return link.dcs_Send(address, method, id, request.data(), request.size());
}

void LineFixture::SendHandled(std::uint8_t address, CheckMethod method, std::uint8_t id,
                              const std::vector<std::uint8_t>& request) {
    line->TakeReceived();
    ASSERT_TRUE(Send(address, method, id, request)) << link.ErrorText();
    ASSERT_TRUE(line->WaitReceived(Frame(method, address, id, request).size(), 1000));
}

std::optional<std::vector<std::uint8_t>> LineFixture::Receive(CheckMethod method, std::uint8_t id) {
    std::vector<std::uint8_t> payload(kMaxPayload);
    std::size_t length = 0;
    if (!link.dcs_ReceiveReply(method, id, payload.data(), &length))
        return std::nullopt;
    payload.resize(length);
    return payload;
}

std::vector<std::uint8_t> LineFixture::ReadRaw(int quietMs) {
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[512];
    for (;;) {
        std::size_t count = 0;
        link.ReadRaw(chunk, sizeof chunk, &count, static_cast<std::uint32_t>(quietMs));
        if (count == 0)
            return bytes;
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
}

void LineFixture::WriteRaw(const std::vector<std::uint8_t>& bytes) {
    std::size_t count = 0;
    ASSERT_TRUE(link.WriteRaw(bytes.data(), bytes.size(), &count, 100));
    ASSERT_EQ(count, bytes.size());
}

void LineFixture::SetAndAck(std::uint8_t address, CheckMethod method, std::uint8_t id,
                            const std::vector<std::uint8_t>& request) {
    SendHandled(address, method, id, request);
    if (method == CheckMethod::Crc16) {
        auto ack = Receive(method, id);
        ASSERT_TRUE(ack) << link.ErrorText();
        EXPECT_TRUE(ack->empty());
    }
}

std::string MethodName(const ::testing::TestParamInfo<CheckMethod>& info) {
    return info.param == CheckMethod::Crc16 ? "Crc" : "Checksum";
}

std::vector<std::uint8_t> Frame(CheckMethod method, std::uint8_t address, std::uint8_t id,
                                const std::vector<std::uint8_t>& payload) {
    FrameBuffer buffer;
    std::size_t size = BuildFrame(buffer, method, address, id, payload.data(), payload.size());
    return {buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size)};
}

std::vector<std::uint8_t> Word(std::uint16_t value, CheckMethod method) {
    std::vector<std::uint8_t> two(2);
    PutWord(two.data(), value, method);
    return two;
}

std::uint16_t WordAt(const std::vector<std::uint8_t>& payload, std::size_t offset,
                     CheckMethod method) {
    return GetWord(payload.data() + offset, method);
}

} // namespace vk::sim::test
