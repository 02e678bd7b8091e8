// The link's packet reader on a line that sends whatever the fuzzer makes up.
//
// Input: a control byte (bit 0: CRC variant; bits 1-2: which exchange; bits 4-7: bytes
// per read call, 0 for all), the reply length a dcs_Transact expects, then the line's
// records (see fake_line.h).
#include "fuzz/fake_line.h"
#include "fuzz/require.h"
#include "link/dcs_link.h"

#include <cstring>
#include <vector>

namespace {

using vk::fuzz::Require;

using namespace vk;

void RequireSaneError(const DcsLink& link) {
    Require(std::memchr(link.ErrorText(), '\0', kCommErrorTextSize) != nullptr);
}

void Transacts(DcsLink& link, CheckMethod method, std::size_t replyLength) {
    // Exactly as long as asked for, so a byte written beyond it is caught.
    std::vector<std::uint8_t> reply(replyLength ? replyLength : 1, 0xA5);
    for (int i = 0; i < 8; ++i) {
        std::vector<std::uint8_t> before = reply;
        bool ok = link.dcs_Transact(1, method, 38, nullptr, 0, reply.data(), replyLength);
        if (!ok)
            Require(reply == before); // untouched on failure
        RequireSaneError(link);
    }
}

void ReceiveSeries(DcsLink& link, CheckMethod method) {
    const std::uint8_t request[4] = {0, 0, 0xFC, 0x03};
    if (!link.dcs_Send(1, method, 11, request, sizeof request))
        return;
    std::vector<std::uint8_t> payload(kMaxPayload);
    for (int i = 0; i < 66; ++i) {
        std::size_t length = kMaxPayload + 1;
        if (!link.dcs_ReceiveReply(method, 11, payload.data(), &length))
            break;
        Require(length <= MaxPayload(method));
        fuzz::ArriveNext();
    }
    RequireSaneError(link);
}

void RawPackets(DcsLink& link, CheckMethod method, bool verify) {
    // A packet nobody asked for, which also sets the link's method for the rest.
    fuzz::ArriveNext();
    std::vector<std::uint8_t> payload(kMaxPayload);
    std::size_t length = 0;
    link.dcs_ReceiveReply(method, 38, payload.data(), &length);
    for (int i = 0; i < 8; ++i) {
        fuzz::ArriveNext();
        FrameBuffer frame{};
        link.dcs_ReadPacket(&frame, 500, verify);
        RequireSaneError(link);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::uint8_t control = data[0];
    const CheckMethod method = control & 1 ? CheckMethod::Crc16 : CheckMethod::Checksum;
    fuzz::ResetLine(data + 2, size - 2, control >> 4);
    DcsLink link;
    if (!link.OpenPortName("/dev/ttyFUZZ", 57600, 0, 0, 8, 100, 100))
        return 0;
    switch ((control >> 1) & 3) {
    case 0:
        Transacts(link, method, data[1]);
        break;
    case 1:
        ReceiveSeries(link, method);
        break;
    case 2:
        RawPackets(link, method, data[1] & 1);
        break;
    default:
        link.DrainInput();
        Transacts(link, method, data[1] % (MaxPayload(method) + 1));
        break;
    }
    return 0;
}
