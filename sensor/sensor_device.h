#pragma once
// SensorDevice: every command the sensors understand, one method each. A method makes
// one exchange on the link with the sensor's address and check method, converts 16-bit
// fields between wire and machine order, keeps the reply in Replies(), and logs
// "Command <name> failed. <link error text>" (error) on failure or, while the
// log-successes switch is on, "Command <name> completed" (information) on success.
//
// Every method returns true on success. Reading commands take no arguments and fill
// their area of Replies() only on success. Setting commands succeed when their request
// went out; the acknowledgement that the CRC variant (and an upload in both variants)
// sends back is read and ignored, and it is not read after a failed send.
// Nothing retries; a silent sensor costs about 1.25 s (exchange budget plus recovery).

#include "link/dcs_link.h"
#include "link/frame.h"
#include "sensor/command_codes.h"
#include "sensor/log_sink.h"
#include "sensor/records.h"
#include "sensor/reply_store.h"
#include "sensor/sensor_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vk {

namespace sensor_detail {
// How SensorDevice sends a setting. Outside the class only because a default argument
// of type SendRules inside it needs the struct complete.
enum class Ack { None, CrcOnly, Always };
struct SendRules {
    Ack ack = Ack::CrcOnly;
    int pauseMs = 0;
    bool pauseAfterFailure = false;
};
} // namespace sensor_detail

class SensorDevice {
public:
    explicit SensorDevice(LogSink* log = nullptr) : log_(log) {}

    // --- binding --------------------------------------------------------------
    // The link is not owned. Without one every command fails with a failure line.
    void SetLink(DcsLink* link) { link_ = link; }
    DcsLink* Link() const { return link_; }
    // Where failure and success lines go; null: nowhere. A copy of a sensor object with
    // neither link nor log runs a dialog's checks without a trace on the line or the log.
    void SetLogSink(LogSink* log) { log_ = log; }
    void SetCheckMethod(CheckMethod method) { method_ = method; }
    CheckMethod Method() const { return method_; }
    void SetAddress(std::uint8_t address) { address_ = address; }
    std::uint8_t Address() const { return address_; }
    void SetLogSuccesses(bool on) { logSuccesses_ = on; }
    bool LogSuccesses() const { return logSuccesses_; }
    // How many failure lines the commands have written so far: a sequence compares it
    // before and after a command to learn whether a failure has been told already.
    std::uint32_t FailureLines() const { return failureLines_; }

    // --- timing base (set by GetVersion) --------------------------------------
    double TicksPerMs() const { return ticksPerMs_; }
    std::uint32_t ScanQuantum() const { return scanQuantum_; }
    // printf format for an averaging period in ms, or "Unknown version" before GetVersion.
    const std::string& TimingFormat() const { return timingFormat_; }

    // --- replies ----------------------------------------------------------------
    const ReplyStore& Replies() const { return replies_; }
    void ResetReplies() { replies_ = ReplyStore{}; }

    // --- reading commands (code, reply bytes) -----------------------------------
    bool GetModelName();         // 127, 16-byte text
    bool GetSerialNum();         // 128, 16-byte text
    bool GetSensorSetup();       // 19, VKT02 setup record
    bool GetVKT04Setup();        // 19, VKT04 setup record
    bool GetErrorState();        // 20
    bool GetVKT02State();        // 21
    bool GetSensorState();       // 41, 14 bytes
    bool GetBoardFlipperState(); // 41, 22 bytes; logged as "GetVKT02State"
    bool GetAnalogFactors();     // 27
    // 30; sets the timing base: revision 'C' gives 1000 ticks/ms, quantum 1500, "%2.3f",
    // any other letter 100 ticks/ms, quantum 60, "%2.2f".
    bool GetVersion();
    bool GetVKT04Version(); // 39; leaves the timing base alone
    bool GetConfigVars();   // 32
    bool ReadWaneParams();  // 47
    bool HLAScanResult();   // 10
    bool GetPeak();         // 38, one word
    bool GetBoardTimeout(); // 49, one word (ms)
    bool GetNumHoldScans(); // 68, one word; logged as "GetVKT04Version"
    bool GetLaserPower();   // 67, one byte
    bool GetMaxLP();        // 129, one byte
    bool GetMinLP();        // 130, one byte

    // Reads `count` samples from `start` into Replies().scanBuffer: one request, then one
    // reply packet per 126 samples. Refused (false, nothing sent or logged) when
    // start + count exceeds 8192. A failed request logs; a missing reply packet fails
    // without a log line. Samples always travel low byte first.
    bool GetScanBufferPortion(std::uint16_t start, std::uint16_t count);

    // --- setting commands (code) --------------------------------------------------
    bool SetLaserOn();                            // 1
    bool SetLaserOff();                           // 2
    bool StartScan();                             // 3
    bool StopScan();                              // 4
    bool SetScanInterval(std::uint16_t interval); // 5
    bool ResetSensor();                           // 6; waits 1000 ms after a good send
    // 8; the first three in the order of the VKT02 setup record, then the settings
    // dialog's fourth word.
    bool SetOffset(std::uint16_t rangeOffset, std::uint16_t cosine, std::uint16_t multiplier,
                   std::uint16_t fourth);
    bool SetMode(std::uint16_t mode); // 9
    bool SetFilterFactors(std::uint16_t dropout, std::uint16_t smooth,
                          std::uint16_t order); // 14
    bool ApplyScanFilter();                     // 15
    // 18; sent to `packetAddress` (0 reaches every sensor): the sensor whose serial
    // number equals the first 8 characters of `serial` (zero-padded) takes `newAddress`.
    bool SetSensorAddress(std::uint8_t packetAddress, std::string_view serial,
                          std::uint8_t newAddress);
    bool SetAnalogOuputFactors(const AnalogOutputRecord& record); // 26
    bool SetConfigVars(const ConfigRecord& record);               // 33
    bool SetVKT04Mode(std::uint8_t mode);                         // 36
    bool SetOutOfRangeMode(bool holdLastValid);                   // 40; sends 1 or 0
    bool WriteWaneParams(const WaneRecord& record);               // 46
    bool SetBoardTimeout(std::uint16_t timeoutMs);                // 48
    bool SetDefaults();                                           // 66
    bool SetNumHoldScans(std::uint16_t scans);                    // 67
    // 77; goes out in the method still in force and waits 300 ms after a good send. The
    // caller switches SetCheckMethod afterwards.
    bool SetSensorCheckMode(CheckMethod method);
    bool WriteFlashProtect1(std::uint8_t value);      // 78; waits 50 ms after the send
    bool WriteFlashProtect2(std::uint8_t value);      // 79; waits 50 ms after the send
    bool SetModelName(const SensorText& name);        // 80
    bool SetSerialNum(const SensorText& serial);      // 81
    bool SetThreshold(std::uint8_t threshold);        // 82
    bool SetMaxLP(std::uint8_t power);                // 83
    bool SetMinLP(std::uint8_t power);                // 84
    bool UploadCode();                                // 86; acknowledged in both variants
    bool UploadFPGA();                                // 87; acknowledged in both variants
    bool UploadCalibration();                         // 88; acknowledged in both variants
    bool SetAnalogMinVolts(std::uint16_t millivolts); // 90
    bool SetAnalogMaxVolts(std::uint16_t millivolts); // 91
    // 92; 9600, 19200, 38400 or 57600, else false with nothing sent or logged. Waits
    // 300 ms after a good send. The caller changes the port's speed afterwards.
    bool SetBaudRate(std::int32_t baudRate);
    bool SetAnalogMinRange(std::uint16_t range);        // 93
    bool SetAnalogMaxRange(std::uint16_t range);        // 94
    bool SetAnalogOutOfRange(std::uint16_t millivolts); // 146

    // The code a baud rate travels as, or -1 for a rate the sensors do not know.
    static int BaudRateCode(std::int32_t baudRate);

private:
    using Ack = sensor_detail::Ack;
    using SendRules = sensor_detail::SendRules;

    // One request without payload and a reply of exactly `length` bytes into `wire`.
    bool Exchange(SensorCommand command, std::uint8_t* wire, std::size_t length);
    template <typename Record> bool ReadRecord(SensorCommand command, Record& dest);
    bool ReadWord(SensorCommand command, std::uint16_t& dest);
    bool ReadByte(SensorCommand command, std::uint8_t& dest);
    bool ReadText(SensorCommand command, SensorText& dest);

    // To the sensor's address; by default acknowledged in the CRC variant, no pause.
    bool Send(SensorCommand command, const std::uint8_t* payload, std::size_t length,
              SendRules rules = {});
    bool SendTo(std::uint8_t address, SensorCommand command, const std::uint8_t* payload,
                std::size_t length, SendRules rules);
    bool SendWord(SensorCommand command, std::uint16_t value);
    bool SendByte(SensorCommand command, std::uint8_t value);
    void ReadAcknowledgement(std::uint8_t code);

    bool Succeeded(const char* name);
    bool Failed(const char* name);

    LogSink* log_ = nullptr;
    DcsLink* link_ = nullptr;
    CheckMethod method_ = CheckMethod::Checksum;
    std::uint8_t address_ = 1;
    bool logSuccesses_ = false;
    std::uint32_t failureLines_ = 0;
    std::uint32_t scanQuantum_ = 1;
    double ticksPerMs_ = 1.0;
    std::string timingFormat_ = "Unknown version";
    ReplyStore replies_;
    std::array<char, 512> line_{};
    std::array<std::uint8_t, kMaxPayload> scratch_{};
};

} // namespace vk
