#pragma once
// Simulated sensors on a real pseudo-terminal, linked as COM1 in a private port folder,
// for tests where the code under test opens the port itself.

#include "sensor_test_support.h"
#include "sim/sim_line.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

namespace vk::test {

using sim::test::Frame;
using sim::test::Sensor;

class LineTest : public ::testing::Test {
protected:
    // Starts the line with these sensors on COM1.
    void StartLine(const std::vector<sim::SensorConfig>& sensors);

    sim::test::ScopedPortDir dir;
    std::unique_ptr<sim::SimLine> line;
};

template <typename F> double ElapsedMs(F&& f) {
    auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace vk::test
