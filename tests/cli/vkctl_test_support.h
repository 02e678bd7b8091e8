#pragma once
// What the vkctl tests share: running a command line in this process as main does.

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

// The number of line ends in `text`.
std::size_t Lines(const std::string& text);

} // namespace vk::cli::test
