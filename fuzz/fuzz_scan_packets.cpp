// The answer to "Read Scan Buffer" as whatever packets the fuzzer makes up, and the block
// of the scan-buffer file written from what was kept.
//
// Input: the target's address, then records of one length byte and that many bytes, each
// the payload of one packet.
#include "fuzz/require.h"
#include "legacy_tool/scan_data_file.h"
#include "legacy_tool/scan_packets.h"

#include <algorithm>

namespace {

using vk::fuzz::Require;

using namespace vk::legacy;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The target's address, the first byte; packets come from address 1.
    ScanPacketReader reader(size > 0 ? data[0] : 0);
    std::size_t at = size > 0 ? 1 : 0;
    ScanPacketReader::Step step = ScanPacketReader::Step::More;
    while (at < size && step == ScanPacketReader::Step::More) {
        std::size_t length = data[at++];
        length = std::min(length, size - at);
        Bytes reply = {0x02, 0x01, static_cast<std::uint8_t>(length + 1), 11};
        reply.insert(reply.end(), data + at, data + at + length);
        at += length;
        step = reader.Take(reply);
        Require(reader.Values().size() <= kMaxScanValues);
    }
    std::string block = ScanDataBlock({1, 2}, {3}, {reader.Values()});
    Require(block.size() < 200 + 18 * (reader.Values().size() + 1));
    return 0;
}
