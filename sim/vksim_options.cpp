#include "sim/vksim_options.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace vk::sim {

namespace {

bool ParseNumber(const std::string& text, long low, long high, long* value) {
    long v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < low || v > high)
        return false;
    *value = v;
    return true;
}

bool SetAddress(const std::string& text, SensorConfig* config, std::string* error) {
    long v;
    if (!ParseNumber(text, 1, 255, &v)) {
        *error = "address must be 1 to 255: " + text;
        return false;
    }
    config->address = static_cast<std::uint8_t>(v);
    return true;
}

bool SetBaud(const std::string& text, SensorConfig* config, std::string* error) {
    long v;
    if (!ParseNumber(text, 1, 1000000, &v) || BaudCode(static_cast<std::int32_t>(v)) < 0) {
        *error = "baud rate must be 9600, 19200, 38400 or 57600: " + text;
        return false;
    }
    config->baudRate = static_cast<std::int32_t>(v);
    return true;
}

bool SetSerial(const std::string& text, SensorConfig* config, std::string* error) {
    if (text.empty() || text.size() > 16) {
        *error = "serial number must be 1 to 16 characters: " + text;
        return false;
    }
    config->serialNumber = text;
    return true;
}

// The firmware revision letter: "C" selects the finer timing base and its own commands.
bool SetRevision(const std::string& text, SensorConfig* config, std::string* error) {
    if (text.size() != 1 || text[0] < 'A' || text[0] > 'Z') {
        *error = "revision must be one letter A to Z: " + text;
        return false;
    }
    config->revision = text[0];
    return true;
}

// The word GetErrorState reports as the calibration marker: 0x5555 (21845) for a
// calibrated sensor, anything else for one without a calibration.
bool SetCalibration(const std::string& text, SensorConfig* config, std::string* error) {
    long v;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), v, hex ? 16 : 10);
    if (ec != std::errc() || end != digits.data() + digits.size() || v < 0 || v > 0xFFFF) {
        *error = "calibration marker must be 0 to 65535 (0x5555: calibrated): " + text;
        return false;
    }
    config->calibrationMarker = static_cast<std::uint16_t>(v);
    return true;
}

bool SetModel(const std::string& text, SensorConfig* config, std::string* error) {
    if (text.empty() || text.size() > 16) {
        *error = "model must be a short name or a model string of up to 16 characters: " + text;
        return false;
    }
    SensorConfig model = ConfigForModel(text);
    config->modelString = model.modelString;
    return true;
}

// One --sensor description: model=...,address=...,serial=...,baud=...,revision=...,
// calibration=...,crc|checksum.
bool ParseSensor(const std::string& description, SensorConfig* config, std::string* error) {
    bool addressGiven = false;
    std::size_t pos = 0;
    while (pos <= description.size()) {
        std::size_t comma = description.find(',', pos);
        std::string item =
            description.substr(pos, comma == std::string::npos ? comma : comma - pos);
        pos = comma == std::string::npos ? description.size() + 1 : comma + 1;
        std::size_t eq = item.find('=');
        std::string key = item.substr(0, eq);
        std::string value = eq == std::string::npos ? std::string() : item.substr(eq + 1);
        bool ok = true;
        if (key == "crc" && eq == std::string::npos)
            config->method = CheckMethod::Crc16;
        else if (key == "checksum" && eq == std::string::npos)
            config->method = CheckMethod::Checksum;
        else if (key == "model" && eq != std::string::npos)
            ok = SetModel(value, config, error);
        else if (key == "address" && eq != std::string::npos)
            ok = addressGiven = SetAddress(value, config, error);
        else if (key == "baud" && eq != std::string::npos)
            ok = SetBaud(value, config, error);
        else if (key == "serial" && eq != std::string::npos)
            ok = SetSerial(value, config, error);
        else if (key == "revision" && eq != std::string::npos)
            ok = SetRevision(value, config, error);
        else if (key == "calibration" && eq != std::string::npos)
            ok = SetCalibration(value, config, error);
        else {
            *error = "unknown item in --sensor: " + item;
            return false;
        }
        if (!ok)
            return false;
    }
    // The address is what tells sensors on one line apart: it is never left to a default.
    if (!addressGiven) {
        *error = "--sensor needs address=A: " + description;
        return false;
    }
    return true;
}

} // namespace

bool ParseVksimArguments(const std::vector<std::string>& args, VksimOptions* out, bool* wantsHelp,
                         std::string* error) {
    *wantsHelp = false;
    VksimOptions options;
    SensorConfig single;
    bool singleGiven = false; // an option of the single sensor
    std::vector<std::string> described;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            *wantsHelp = true;
            return true;
        }
        if (arg == "--crc") {
            single.method = CheckMethod::Crc16;
            singleGiven = true;
            continue;
        }
        if (arg == "--pace") {
            options.line.pace = true;
            continue;
        }
        if (arg == "--collide") {
            options.line.collide = true;
            continue;
        }
        if (arg == "--background") {
            options.background = true;
            continue;
        }
        if (arg == "--stop") {
            options.stop = true;
            continue;
        }
        static const std::set<std::string> withValue = {
            "--com",      "--port-dir", "--model",       "--address", "--baud",   "--serial",
            "--revision", "--sensor",   "--calibration", "--tcp",     "--rfc2217"};
        if (!withValue.count(arg)) {
            *error = "unknown argument: " + arg;
            return false;
        }
        if (i + 1 >= args.size()) {
            *error = arg + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        bool ok = true;
        if (arg == "--com") {
            long n;
            ok = ParseNumber(value, 1, 255, &n);
            if (ok)
                options.line.comNumber = static_cast<int>(n);
            else
                *error = "COM number must be 1 to 255: " + value;
        } else if (arg == "--port-dir") {
            options.line.portDir = value;
        } else if (arg == "--sensor") {
            described.push_back(value);
        } else if (arg == "--tcp" || arg == "--rfc2217") {
            std::string problem;
            options.listen = ParseListenAddress(
                arg == "--tcp" ? NetProtocol::RawTcp : NetProtocol::Rfc2217, value, &problem);
            ok = options.listen.has_value();
            if (!ok)
                *error = arg + " needs HOST:PORT (" + problem + "): " + value;
        } else {
            singleGiven = true;
            if (arg == "--model")
                ok = SetModel(value, &single, error);
            else if (arg == "--address")
                ok = SetAddress(value, &single, error);
            else if (arg == "--baud")
                ok = SetBaud(value, &single, error);
            else if (arg == "--serial")
                ok = SetSerial(value, &single, error);
            else if (arg == "--revision")
                ok = SetRevision(value, &single, error);
            else
                ok = SetCalibration(value, &single, error);
        }
        if (!ok)
            return false;
    }
    if (options.stop && (singleGiven || !described.empty() || options.background ||
                         options.line.pace || options.listen || options.line.collide)) {
        *error = "--stop takes only --com and --port-dir";
        return false;
    }
    if (singleGiven && !described.empty()) {
        *error = "with --sensor, give every sensor's model, address, check method, baud rate, "
                 "serial number and revision in its own --sensor";
        return false;
    }
    if (described.empty())
        options.sensors.push_back(single);
    std::set<int> addresses;
    for (std::size_t k = 0; k < described.size(); ++k) {
        SensorConfig config;
        // Distinct serial numbers, so that re-addressing by serial number picks one.
        std::string number = std::to_string(k + 1);
        config.serialNumber =
            "VK" + std::string(6 - std::min<std::size_t>(number.size(), 6), '0') + number;
        if (!ParseSensor(described[k], &config, error))
            return false;
        if (!addresses.insert(config.address).second) {
            *error = "two sensors with address " + std::to_string(config.address);
            return false;
        }
        options.sensors.push_back(config);
    }
    *out = options;
    return true;
}

int VksimUsageError(std::FILE* err, const std::string& problem) {
    std::fprintf(err, "vksim: %s; see vksim --help\n", problem.c_str());
    return 2;
}

std::string VksimUsage() {
    return "usage: vksim [--com N] [--port-dir DIR] [--background] [--pace] [--collide]\n"
           "             [NETWORK] [--model M] [--address A] [--crc] [--baud B] [--serial S]\n"
           "             [--revision L] [--calibration W]\n"
           "       vksim [--com N] [--port-dir DIR] [--background] [--pace] [--collide]\n"
           "             [NETWORK]\n"
           "             --sensor address=A[,model=M][,crc][,baud=B][,serial=S][,revision=L]\n"
           "                      [,calibration=W]...\n"
           "       vksim --stop [--com N] [--port-dir DIR]\n"
           "       vksim --help | --version\n"
           "Simulated Korvel sensors on a pseudo-terminal, linked as COMn in the port folder.\n"
           "Prints \"COMn <device>\" once the port exists, then serves until SIGINT or SIGTERM.\n"
           "  --com N         COM number, 1 to 255 (default 1)\n"
           "  --port-dir DIR  port folder (default $KORVEL_PORT_DIR, else\n"
           "                  ${XDG_CONFIG_HOME:-~/.config}/Korvel/ports)\n"
           "  --background    print, then serve on in the background and return: the process\n"
           "                  id goes to DIR/COMn.pid, later messages to DIR/COMn.log\n"
           "  --stop          end the background vksim of COMn and wait until it is gone\n"
           "  --pace          spend every byte's wire time at the line's speed\n"
           "  --collide       sensors that answer one request (the global address) answer\n"
           "                  together and their replies overlay on the line, as on a real\n"
           "                  bus; without it one sensor answers for all\n"
           "NETWORK, the line served as a serial device server serves one (one client at a\n"
           "time; the URL to connect to is printed on a second line):\n"
           "  --tcp HOST:PORT      a raw TCP stream at the first sensor's speed\n"
           "  --rfc2217 HOST:PORT  Telnet with RFC 2217 COM port control: the client sets\n"
           "                       the line's speed and format as on a COM port\n"
           "                       (HOST defaults to 127.0.0.1; PORT 0 takes a free port)\n"
           "one sensor (the default: a VKT02 at address 1):\n"
           "  --model M       VKT02, VKT04, RMXS, RMXL, BF or a model string of up to 16\n"
           "                  characters such as \"0 VKT-02\" (default VKT02)\n"
           "  --address A     1 to 255 (default 1)\n"
           "  --crc           CRC-16 check fields instead of the checksum\n"
           "  --baud B        9600, 19200, 38400 or 57600 (default 57600)\n"
           "  --serial S      serial number, 1 to 16 characters (default VK000001)\n"
           "  --revision L    firmware revision letter A to Z (default B); C counts time in\n"
           "                  1000 ticks per ms instead of 100 and takes SetupVk2's\n"
           "                  scan-interval and averaging commands of that revision\n"
           "  --calibration W calibration marker, decimal or 0x hex (default 0x5555, a\n"
           "                  calibrated sensor; any other word is one without a calibration)\n"
           "several sensors on one line: one --sensor each, the line holds exactly those;\n"
           "  items as above, address= required; serial numbers default to VK000001,\n"
           "  VK000002, ... in the order given\n";
}

} // namespace vk::sim
