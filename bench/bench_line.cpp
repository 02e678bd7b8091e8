#include "bench/bench_line.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace vk::bench {

BenchLine::BenchLine(bool pace) : pace_(pace) {}

BenchLine::~BenchLine() {
    link_.ClosePort();
    if (line_)
        line_->Stop();
    if (!dir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
}

bool BenchLine::Start() {
    char dirTemplate[] = "/tmp/vk-bench-XXXXXX";
    if (!mkdtemp(dirTemplate)) {
        std::perror("bench: mkdtemp");
        return false;
    }
    dir_ = dirTemplate;
    setenv("KORVEL_PORT_DIR", dirTemplate, 1);
    line_ = std::make_unique<sim::SimLine>(sim::LineOptions{1, dir_, pace_});
    line_->AddSensor(sim::ConfigForModel("VKT02"));
    std::string error;
    if (!line_->Start(&error)) {
        std::fprintf(stderr, "bench: %s\n", error.c_str());
        return false;
    }
    return OpenLink();
}

bool BenchLine::OpenLink() {
    if (link_.OpenPortName("COM1", kBenchBaud, 0, 0, 8, 100, 100))
        return true;
    std::fprintf(stderr, "bench: %s\n", link_.ErrorText());
    return false;
}

} // namespace vk::bench
