#include "line_fixture.h"

namespace vk::test {

void LineTest::StartLine(const std::vector<sim::SensorConfig>& sensors) {
    line = std::make_unique<sim::SimLine>();
    for (const auto& sensor : sensors)
        line->AddSensor(sensor);
    std::string error;
    ASSERT_TRUE(line->Start(&error)) << error;
}

} // namespace vk::test
