#include "cli/vkctl_options.h"

#include "cli/vkctl_commands.h"
#include "sensor/sensor_device.h"

#include <algorithm>
#include <cstdlib>

namespace vk::cli {

std::optional<long> ParseNumber(const std::string& text, long low, long high) {
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

bool ParseVkctlArguments(const std::vector<std::string>& args, VkctlOptions* options,
                         std::string* error) {
    std::size_t i = 0;
    auto value = [&](const std::string& flag, std::string* out) {
        if (i + 1 >= args.size()) {
            *error = flag + " needs a value";
            return false;
        }
        *out = args[++i];
        return true;
    };
    for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
        const std::string& flag = args[i];
        std::string text;
        if (flag == "--port") {
            if (!value(flag, &options->port))
                return false;
            if (options->port.empty()) {
                *error = "--port needs a name";
                return false;
            }
        } else if (flag == "--baud") {
            if (!value(flag, &text))
                return false;
            auto baud = ParseNumber(text, 0, 1000000);
            if (!baud || SensorDevice::BaudRateCode(static_cast<std::int32_t>(*baud)) < 0) {
                *error = "--baud takes 9600, 19200, 38400 or 57600";
                return false;
            }
            options->baudRate = static_cast<std::int32_t>(*baud);
        } else if (flag == "--address") {
            if (!value(flag, &text))
                return false;
            auto address = ParseNumber(text, 0, 255);
            if (!address) {
                *error = "--address takes 0 to 255";
                return false;
            }
            options->address = static_cast<std::uint8_t>(*address);
        } else if (flag == "--checksum" || flag == "--crc") {
            CheckMethod method = flag == "--crc" ? CheckMethod::Crc16 : CheckMethod::Checksum;
            if (options->method && *options->method != method) {
                *error = "--checksum and --crc exclude each other";
                return false;
            }
            options->method = method;
        } else if (flag == "--verbose") {
            options->verbose = true;
        } else if (flag == "--trace") {
            options->trace = true;
        } else if (flag == "--json") {
            options->json = true;
        } else if (flag == "--quiet") {
            options->quiet = true;
        } else {
            *error = "unknown option " + flag;
            return false;
        }
    }
    if (i >= args.size()) {
        *error = "no command given";
        return false;
    }
    options->command = args[i++];
    for (; i < args.size(); ++i) {
        if (args[i] == "--json")
            options->json = true;
        else
            options->arguments.push_back(args[i]);
    }
    const VkctlCommand* command = FindCommand(options->command);
    if (!command) {
        *error = "unknown command " + options->command;
        return false;
    }
    const std::size_t most = std::max(command->argumentCount, command->maxArguments);
    if (options->arguments.size() < command->argumentCount || options->arguments.size() > most) {
        *error = options->command + " takes " + std::to_string(command->argumentCount) +
                 (most > command->argumentCount ? " to " + std::to_string(most) : "") +
                 " argument(s)";
        return false;
    }
    return true;
}

std::string VkctlUsage() {
    std::string usage =
        "usage: vkctl [--port NAME] [--baud 9600|19200|38400|57600] [--address N]\n"
        "             [--checksum|--crc] [--json] [--verbose] [--trace] [--quiet]\n"
        "             COMMAND [ARGUMENTS]\n"
        "       vkctl --help | --version\n"
        "  NAME: COMn, a device path starting with /, or a serial device server's port\n"
        "  tcp://HOST:PORT or rfc2217://HOST:PORT; defaults COM1, 57600, address 1,\n"
        "  check method found as the utility finds it (checksum first, then CRC)\n"
        "  --json: one JSON object (an array for tables) on standard output\n"
        "  a run that succeeds prints nothing on standard error; --verbose prints every\n"
        "  log line of the connection there, the failed checksum try included;\n"
        "  --trace prints every frame and stray byte on the line to standard error;\n"
        "  commands that take seconds (scan-line, upload) show their progress in one line\n"
        "  on standard error when it is a terminal, --quiet leaves it out\n"
        "commands:\n";
    for (const VkctlCommand& c : Commands())
        usage += "  " + std::string(c.name) + (*c.synopsis ? " " : "") + c.synopsis + "\n" +
                 "      " + c.summary + "\n";
    return usage;
}

} // namespace vk::cli
