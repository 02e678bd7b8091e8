// COM names on Windows: the system's own devices, whatever a port folder holds.
#include "link/port_names.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace vk;

TEST(PortNames, ComNamesAreTheSystemsOwnDevices) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "vk-port-names-win";
    fs::create_directories(dir);
    std::ofstream(dir / "COM3") << "not a port\n";
    _putenv_s("KORVEL_PORT_DIR", dir.string().c_str());

    EXPECT_EQ(ResolvePortName("COM1"), "\\\\.\\COM1");
    EXPECT_EQ(ResolvePortName("COM3"), "\\\\.\\COM3");
    EXPECT_EQ(ResolvePortName("COM255"), "\\\\.\\COM255");
    EXPECT_EQ(PortDeviceName("COM3"), "\\\\.\\COM3");
    EXPECT_EQ(NoComDeviceText(), "the system knows no COM device");
    for (const ComDevice& d : ListComDevices())
        EXPECT_EQ(d.device, "\\\\.\\COM" + std::to_string(d.number));

    _putenv_s("KORVEL_PORT_DIR", "");
    fs::remove_all(dir);
}
