// The network port's reader of a Telnet (RFC 2217) server that sends whatever the fuzzer
// makes up: negotiation, answers and notifications between the line's data, cut anywhere.
//
// Input: a byte that says where the reader alone is cut in two, then the server's pieces
// (see fake_socket.h).
#include "fuzz/fake_socket.h"
#include "fuzz/require.h"
#include "link/dcs_link.h"
#include "link/telnet.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using namespace vk;
using vk::fuzz::Require;

// The reader gives the same data and events however the bytes are cut.
void ReaderIsCutProof(const std::uint8_t* bytes, std::size_t size, std::size_t cut) {
    std::vector<std::uint8_t> whole, split;
    std::vector<telnet::Event> wholeEvents, splitEvents;
    telnet::Reader a, b;
    a.Feed(bytes, size, whole, wholeEvents);
    cut = size ? cut % (size + 1) : 0;
    b.Feed(bytes, cut, split, splitEvents);
    b.Feed(bytes + cut, size - cut, split, splitEvents);
    Require(whole == split);
    Require(wholeEvents.size() == splitEvents.size());
    for (std::size_t i = 0; i < wholeEvents.size(); ++i) {
        Require(wholeEvents[i].kind == splitEvents[i].kind);
        Require(wholeEvents[i].body == splitEvents[i].body);
        Require(wholeEvents[i].body.size() <= telnet::kMaxSubnegotiation);
    }
    Require(whole.size() <= size);
}

// The line's bytes as the link wrote them.
struct Written : LinkObserver {
    void OnLinkTraffic(const LinkTraffic& t) override {
        if (t.direction == TraceDirection::Sent)
            bytes.insert(bytes.end(), t.bytes, t.bytes + t.length);
    }
    std::vector<std::uint8_t> bytes;
};

// What reached the server, undoubled, is what the link wrote, or the start of it where the
// connection ended: a doubled 0xFF cut in two never turns data into a command.
void ServerGotWhatWasWritten(const std::vector<std::uint8_t>& written) {
    std::vector<std::uint8_t> data;
    std::vector<telnet::Event> events;
    telnet::Reader reader;
    const std::vector<std::uint8_t>& taken = fuzz::TakenFromClient();
    reader.Feed(taken.data(), taken.size(), data, events);
    Require(data.size() <= written.size());
    Require(std::equal(data.begin(), data.end(), written.begin()));
}

void RequireSaneError(const DcsLink& link) {
    Require(std::memchr(link.ErrorText(), '\0', kCommErrorTextSize) != nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    ReaderIsCutProof(data + 1, size - 1, data[0]);

    fuzz::ResetServer(data + 1, size - 1);
    DcsLink link;
    Written written;
    link.SetObserver(&written);
    if (!link.OpenPortName("rfc2217://server:4001", 57600, 0, 0, 8, 100, 100)) {
        RequireSaneError(link);
        return 0;
    }
    link.SetPortBaudRate(19200);
    link.DrainInput();
    const std::uint8_t laserOn[] = {0xFF, 0xFF};
    std::uint8_t reply[16] = {};
    for (int i = 0; i < 4; ++i) {
        link.dcs_Transact(1, i % 2 ? CheckMethod::Crc16 : CheckMethod::Checksum, 0x7F, laserOn,
                          sizeof laserOn, reply, sizeof reply);
        RequireSaneError(link);
    }
    std::uint8_t raw[300];
    std::size_t count = 0;
    link.ReadRaw(raw, sizeof raw, &count, 50);
    Require(count <= sizeof raw);
    std::uint32_t flags = 0, queued = 0;
    link.GetCommErrors(&flags, &queued);
    link.ClosePort();
    ServerGotWhatWasWritten(written.bytes);
    return 0;
}
