#pragma once
// What the vkctl tests share: running a command line in this process as main does.

#include "link/frame.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vk::cli::test {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Runs a vkctl command line (without the program name) in this process, as main does;
// a usage error found by the parser comes back as status 2 with its reason in `err`.
Outcome RunVkctl(const std::vector<std::string>& args);

// A temporary file holding `text`; its path, empty when it could not be written.
std::string TemporaryFile(const std::string& text);

// Parses `json` with Python's json module and gives repr() of `expression` of the
// document `d`; "PARSE ERROR" when it is not JSON.
std::string JsonQuery(const std::string& json, const std::string& expression);

// The packet IDs of the requests in `bytes`, all of them in `method`.
std::vector<int> PacketIds(const std::vector<std::uint8_t>& bytes, CheckMethod method);
bool Contains(const std::vector<int>& ids, int id);

// The number of line ends in `text`.
std::size_t Lines(const std::string& text);

} // namespace vk::cli::test
