#include "vkctl_test_support.h"

#include "cli/vkctl_commands.h"
#include "cli/vkctl_options.h"
#include "link/frame.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace vk::cli::test {

namespace {

std::string ReadAll(std::FILE* f) {
    std::string text;
    std::rewind(f);
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, f))
        text.append(buffer, n);
    std::fclose(f);
    return text;
}

} // namespace

Outcome RunVkctl(const std::vector<std::string>& args) {
    VkctlOptions options;
    std::string error;
    if (!ParseVkctlArguments(args, &options, &error))
        return {kUsageError, "", error};
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    int status = FindCommand(options.command)->run(options, out, err);
    return {status, ReadAll(out), ReadAll(err)};
}

std::string TemporaryFile(const std::string& text) {
    char path[] = "/tmp/vkctl_test_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0)
        return {};
    const bool whole = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    return whole ? path : "";
}

std::string JsonQuery(const std::string& json, const std::string& expression) {
    const std::string document = TemporaryFile(json);
    const std::string query = TemporaryFile(expression);
    const std::string command = "python3 -c 'import json,sys\ntry: d=json.load(open(sys.argv[1]))\n"
                                "except Exception: print(\"PARSE ERROR\"); sys.exit()\n"
                                "print(repr(eval(open(sys.argv[2]).read())))' " +
                                document + " " + query;
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string text;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        text.append(buffer, n);
    pclose(pipe);
    std::remove(document.c_str());
    std::remove(query.c_str());
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

std::vector<int> PacketIds(const std::vector<std::uint8_t>& bytes, CheckMethod method) {
    std::vector<int> ids;
    for (std::size_t at = 0; at + kHeaderSize <= bytes.size();) {
        if (bytes[at] != kStx) {
            ++at;
            continue;
        }
        ids.push_back(bytes[at + 3]);
        at += FrameSize(method, bytes[at + 2]);
    }
    return ids;
}

bool Contains(const std::vector<int>& ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace vk::cli::test
