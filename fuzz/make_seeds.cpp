// Writes the seed corpus of each fuzz target into <folder>/<target>/: the replies of
// real exchanges in both check methods, the broken replies a line produces, and the
// settings file as the setup tool writes it.
#include "legacy_tool/host_settings.h"
#include "legacy_tool/korvel_codec.h"
#include "link/frame.h"
#include "link/rfc2217_client.h"
#include "link/telnet.h"
#include "panels/sensor_profile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace vk;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

Bytes Frame(CheckMethod m, std::uint8_t id, const Bytes& payload, std::uint8_t address = 1) {
    FrameBuffer buffer{};
    std::size_t size = BuildFrame(buffer, m, address, id, payload.data(), payload.size());
    return Bytes(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size));
}

Bytes Text(const std::string& s, std::size_t width) {
    Bytes b(s.begin(), s.end());
    b.resize(width, 0);
    return b;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// One arrival record per request (see fake_line.h): long ones go as 255-byte pieces.
Bytes Record(const Bytes& bytes) {
    Bytes r;
    std::size_t at = 0;
    while (bytes.size() - at >= 255) {
        r.push_back(255);
        r.insert(r.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                 bytes.begin() + static_cast<std::ptrdiff_t>(at + 255));
        at += 255;
    }
    r.push_back(static_cast<std::uint8_t>(bytes.size() - at));
    r.insert(r.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
    return r;
}

class SeedWriter {
public:
    SeedWriter(const fs::path& folder, const std::string& target) : dir_(folder / target) {
        fs::create_directories(dir_);
    }
    void Write(const std::string& name, const Bytes& bytes) {
        std::ofstream(dir_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

private:
    fs::path dir_;
};

void LinkSeeds(const fs::path& folder) {
    SeedWriter w(folder, "fuzz_dcs_reader");
    for (CheckMethod m : {CheckMethod::Checksum, CheckMethod::Crc16}) {
        const std::uint8_t crc = m == CheckMethod::Crc16 ? 1 : 0;
        const std::string tag = crc ? "crc" : "checksum";
        const Bytes peak = Frame(m, 38, {0x01, 0x02});
        const Bytes model = Frame(m, 127, Text("0 VKT-02", 16));
        const Bytes state = Frame(m, 21, Bytes(14, 0x11));
        Bytes cut = peak;
        cut.resize(5);
        Bytes bad = peak;
        bad.back() ^= 0xFF;
        w.Write(tag + "-peak", Cat({{crc, 2}, Record(peak), Record(Cat({{0x55, 0xAA}, peak}))}));
        w.Write(tag + "-model", Cat({{crc, 16}, Record(model), Record(model)}));
        w.Write(tag + "-state", Cat({{static_cast<std::uint8_t>(crc | 0x30), 14}, Record(state)}));
        w.Write(tag + "-broken", Cat({{crc, 2},
                                      Record(cut),
                                      Record(bad),
                                      Record(Frame(m, 39, {1, 2})),
                                      Record(Cat({Frame(m, 20, {9}), peak})),
                                      Record(peak),
                                      {0}}));
        // A scan-buffer read: the request, then packets of 126 samples each.
        Bytes series = {static_cast<std::uint8_t>(crc | 2), 0};
        for (int i = 0; i < 3; ++i) {
            Bytes portion(253, static_cast<std::uint8_t>(i));
            series = Cat({series, Record(Frame(m, 11, portion))});
        }
        w.Write(tag + "-scan", series);
        w.Write(tag + "-raw", Cat({{static_cast<std::uint8_t>(crc | 4), 1},
                                   Record(peak),
                                   Record(Frame(m, 80, {})),
                                   Record(Frame(m, 11, Bytes(255, 7)))}));
        w.Write(tag + "-drain",
                Cat({{static_cast<std::uint8_t>(crc | 6), 16}, Record(model), Record(model)}));
    }
}

void LegacySeeds(const fs::path& folder) {
    SeedWriter w(folder, "fuzz_legacy_reply");
    using legacy::BuildRequest;
    for (bool crc : {false, true}) {
        const CheckMethod m = crc ? CheckMethod::Crc16 : CheckMethod::Checksum;
        const std::string tag = crc ? "crc" : "checksum";
        const std::uint16_t requestCrc = BuildRequest(130, 1, {}, crc).crc;
        const Bytes head = {static_cast<std::uint8_t>(crc),
                            static_cast<std::uint8_t>(requestCrc >> 8),
                            static_cast<std::uint8_t>(requestCrc)};
        Bytes setup(31, 0);
        setup[8] = 1;
        setup[12] = 40;
        w.Write(tag + "-minlp", Cat({head, Frame(m, 130, {0x40})}));
        w.Write(tag + "-version", Cat({head, Frame(m, 39, {0x7B, 0x00, 0, 0, 'C', 25})}));
        w.Write(tag + "-setup", Cat({head, Frame(m, 19, setup)}));
        w.Write(tag + "-analog", Cat({head, Frame(m, 27, Bytes(22, 0x10))}));
        w.Write(tag + "-config", Cat({head, Frame(m, 32, Bytes(10, 0x22))}));
        w.Write(tag + "-model", Cat({head, Frame(m, 127, Text("0 VKT-02", 16))}));
        w.Write(tag + "-stray", Cat({head, {0x55, 0xAA}, Frame(m, 130, {0x40})}));
    }
    // The seeded second check of the CRC variant: the reply's CRC continues from the
    // request's (02 01 01 82 40 DA 23 after a request whose CRC was 0x76C1).
    w.Write("crc-seeded", {1, 0x76, 0xC1, 0x02, 0x01, 0x01, 0x82, 0x40, 0xDA, 0x23});
}

void ScanBufferSeeds(const fs::path& folder) {
    SeedWriter w(folder, "fuzz_scan_buffer");
    // 8192 samples: 65 whole packets and a last one of 2 samples.
    Bytes whole = {205};
    for (std::uint8_t slot = 0; slot < 66; ++slot) {
        Bytes payload(slot < 65 ? 253 : 5, slot);
        whole = Cat({whole, {slot, static_cast<std::uint8_t>(payload.size())}, payload});
    }
    w.Write("whole", whole);
    w.Write("short-second", Cat({{7}, {0, 253}, Bytes(253, 1), {1, 9}, Bytes(9, 2)}));
}

void ScanBufferFileSeeds(const fs::path& folder) {
    SeedWriter w(folder, "fuzz_scan_buffer_file");
    const std::string typed = "300\n0\nVK000001\n12.345 inch\nOut of Range\n0.005 inch";
    w.Write("typed", Cat({{12}, Bytes(typed.begin(), typed.end())}));
    const std::string refused = " 99999999999\n-1\n\n";
    w.Write("refused", Cat({{205}, Bytes(refused.begin(), refused.end())}));
}

void LineSearchSeeds(const fs::path& folder) {
    SeedWriter w(folder, "fuzz_line_search");
    for (CheckMethod m : {CheckMethod::Checksum, CheckMethod::Crc16}) {
        const std::uint8_t crc = m == CheckMethod::Crc16 ? 1 : 0;
        const std::string tag = crc ? "crc" : "checksum";
        const Bytes model = Frame(m, 127, Text("0 VKT-02", 16), 2);
        // Address 1 only noise; address 2 answers its probe and the whole read-out.
        w.Write(tag + "-found", Cat({{crc},
                                     Record({0x55}),
                                     Record(model),
                                     Record(model),
                                     Record(Frame(m, 30, {0x7B, 0x00, 0, 0, 'B', 25}, 2)),
                                     Record(Frame(m, 128, Text("VK000002", 16), 2))}));
        // The global address: one whole answer, then two overlaid ones.
        Bytes overlaid = model;
        overlaid[8] &= 0x41;
        w.Write(tag + "-global", Cat({{static_cast<std::uint8_t>(crc | 2)}, Record(model)}));
        w.Write(tag + "-collided",
                Cat({{static_cast<std::uint8_t>(crc | 2)}, Record(Cat({model, model}))}));
        w.Write(tag + "-overlaid", Cat({{static_cast<std::uint8_t>(crc | 2)}, Record(overlaid)}));
    }
}

void UploadSeeds(const fs::path& folder) {
    SeedWriter w(folder, "fuzz_upload");
    // A 200-byte calibration table: two protect words, the upload command answered and
    // the receiver's "C", two blocks and the EOT acknowledged, the two protect words.
    const Bytes file(200, 0x5A);
    const Bytes head = Cat({{2, static_cast<std::uint8_t>(file.size()), 0}, file});
    for (CheckMethod m : {CheckMethod::Checksum, CheckMethod::Crc16}) {
        const Bytes ack = {0x06};
        Bytes line = Cat({Record(ack), Record(ack), Record(Cat({Frame(m, 88, {}), {0x43}}))});
        for (int i = 0; i < 5; ++i)
            line = Cat({line, Record(ack)});
        w.Write(m == CheckMethod::Crc16 ? "crc-whole" : "checksum-whole", Cat({head, line}));
    }
    // A NAK, a lone CAN, a refused command (packet ID 0), then a sensor that goes away.
    w.Write("faults", Cat({head,
                           Record({0x06}),
                           Record({0x06}),
                           Record(Cat({Frame(CheckMethod::Checksum, 0, {}), {0x15}})),
                           Record({0x15}),
                           Record({0x18, 0x00}),
                           Record({0x18, 0x18}),
                           {0}}));
}

void SettingsSeeds(const fs::path& folder) {
    SeedWriter w(folder, "fuzz_settings_file");
    std::string lines;
    for (const std::string& l : legacy::DefaultSettingsLines())
        lines += l + "\r\n";
    w.Write("default", Bytes(lines.begin(), lines.end()));
    const std::string other = "; ours\n[commport]\nport = 3\n[BaudRate]\nBaud=115200\n[x]\ny=z\n";
    w.Write("other", Bytes(other.begin(), other.end()));
}

void DiagnosticsSeeds(const fs::path& folder) {
    SeedWriter lists(folder, "fuzz_address_list");
    const std::string list = "1\r\n2 second sensor\n\n255\n";
    lists.Write("list", Bytes(list.begin(), list.end()));
    std::string long_list;
    for (int i = 1; i <= 40; ++i)
        long_list += std::to_string(i) + "\n";
    lists.Write("long", Bytes(long_list.begin(), long_list.end()));

    // For target 1: two packets counting down 2, 1; one whose countdown skips. For target
    // 2: packets from another sensor.
    SeedWriter packets(folder, "fuzz_scan_packets");
    packets.Write("two", Cat({{1}, {5, 2, 0x10, 0x27, 0x11, 0x27}, {3, 1, 0x12, 0x27}}));
    packets.Write("skip", Cat({{1}, {3, 3, 1, 0}, {3, 1, 2, 0}}));
    packets.Write("foreign", Cat({{2}, {3, 1, 1, 0}}));

    SeedWriter uploads(folder, "fuzz_upload_image");
    Bytes file(129);
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<std::uint8_t>(i);
    uploads.Write("acked", Cat({{1 | 4 << 1}, Frame(CheckMethod::Checksum, 86, {}), file}));
    uploads.Write("ack-byte", Cat({{2}, {0x06}, file}));
}

// A Telnet server's side of a session: its agreement, its answers to two line settings
// and a reply whose 0xFF bytes are doubled, with a notification in the middle of it.
void TelnetSeeds(const fs::path& folder) {
    using namespace telnet;
    using namespace rfc2217;
    constexpr std::uint8_t kCom = kOptionComPort;
    auto answer = [&](std::uint8_t command, const Bytes& value) {
        return Cat({{kIac, kSb, kCom, static_cast<std::uint8_t>(command + kServerAnswer)},
                    value,
                    {kIac, kSe}});
    };
    auto settings = [&](std::uint32_t baud) {
        return Cat({answer(kSetBaudRate,
                           {0, static_cast<std::uint8_t>(baud >> 16),
                            static_cast<std::uint8_t>(baud >> 8), static_cast<std::uint8_t>(baud)}),
                    answer(kSetDataSize, {8}), answer(kSetParity, {1}), answer(kSetStopSize, {1}),
                    answer(kSetControl, {kOutboundNone})});
    };
    auto piece = [](const Bytes& b) { return Cat({{static_cast<std::uint8_t>(b.size())}, b}); };
    Bytes greeting = {kIac, kDo,   kCom,
                      kIac, kWill, kOptionBinary,
                      kIac, kDo,   kOptionBinary,
                      kIac, kWill, kOptionSuppressGoAhead,
                      kIac, kDo,   kOptionSuppressGoAhead};
    Bytes reply = Frame(CheckMethod::Checksum, 0x7F, Bytes(16, 0xFF));
    Bytes doubled;
    for (std::uint8_t b : reply) {
        doubled.push_back(b);
        if (b == kIac)
            doubled.push_back(kIac);
    }
    Bytes notified =
        Cat({Bytes(doubled.begin(), doubled.begin() + 9), answer(kNotifyModemState, {0x30}),
             Bytes(doubled.begin() + 9, doubled.end())});
    SeedWriter w(folder, "fuzz_telnet_reader");
    w.Write("session", Cat({{7},
                            piece(greeting),
                            piece(settings(57600)),
                            piece(settings(19200)),
                            piece(notified)}));
    w.Write("refused", Cat({{1}, piece({kIac, kDont, kCom})}));
}

void ProfileSeeds(const fs::path& folder) {
    SeedWriter w(folder, "fuzz_profile");
    SensorProfile p;
    p.saved = "2024-05-31T12:03:07Z";
    p.program = "vkctl 1.0.1";
    p.identity = {"0 VKT-02", ModelType::VKT02,      "VKT02", "VK000001", "1.23B", "B",
                  "2.5",      CheckMethod::Checksum, 1,       57600};
    p.settings = {{"mode", "Mode", "2:  From 0000.0 to 3200.0mm", "2", ""},
                  {"range-offset", "Range Offset", "-12.500", "-12.500", "mm"},
                  {"laser", "Laser", "On", "on", ""},
                  {"averaging-period", "Averaging Period(ms)", "15.00", "15.00", "ms"}};
    p.records = {{"GetSensorSetup", "564b3030303030310102"}, {"GetMinLP", "14"}};
    const std::string text = ProfileJson(p);
    w.Write("vkt02", Bytes(text.begin(), text.end()));
    const std::string escapes = "{\"format\": \"korvel-sensor-profile\", \"version\": 1, "
                                "\"x\": [\"\\u00e9\\ud83d\\ude00\", 1e3, true, null, {}]}";
    w.Write("escapes", Bytes(escapes.begin(), escapes.end()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    LinkSeeds(argv[1]);
    ScanBufferSeeds(argv[1]);
    ScanBufferFileSeeds(argv[1]);
    UploadSeeds(argv[1]);
    LineSearchSeeds(argv[1]);
    LegacySeeds(argv[1]);
    SettingsSeeds(argv[1]);
    DiagnosticsSeeds(argv[1]);
    TelnetSeeds(argv[1]);
    ProfileSeeds(argv[1]);
    return 0;
}
