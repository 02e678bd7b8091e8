// The upload kinds' usual file sizes, and reading the file the user picked.
#include "sensor/upload_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace vk {
namespace {

namespace fs = std::filesystem;

TEST(UploadFile, UsualSizesOfEachKind) {
    EXPECT_FALSE(UploadSizeUsual(UploadKind::Fpga, 19999));
    EXPECT_TRUE(UploadSizeUsual(UploadKind::Fpga, 20000));
    EXPECT_TRUE(UploadSizeUsual(UploadKind::Fpga, 28000));
    EXPECT_FALSE(UploadSizeUsual(UploadKind::Fpga, 28001));
    EXPECT_FALSE(UploadSizeUsual(UploadKind::Dsp, 63999));
    EXPECT_TRUE(UploadSizeUsual(UploadKind::Dsp, 64000));
    EXPECT_TRUE(UploadSizeUsual(UploadKind::Dsp, 66000));
    EXPECT_FALSE(UploadSizeUsual(UploadKind::Dsp, 66001));
    EXPECT_TRUE(UploadSizeUsual(UploadKind::Calibration, 1));
    EXPECT_TRUE(UploadSizeUsual(UploadKind::Calibration, 1000000));
    EXPECT_EQ(FindUploadKind(-1), nullptr);
    EXPECT_EQ(FindUploadKind(3), nullptr);
    EXPECT_STREQ(FindUploadKind(2)->fileFilter, "Single point binary calibration file(*.cal)");
}

TEST(UploadFile, ReadsARegularFileWholeAndRefusesTheRest) {
    const fs::path dir =
        fs::temp_directory_path() / ("vk-upload-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    std::vector<std::uint8_t> contents{1, 2, 3};
    auto write = [&](const char* name, std::size_t size) {
        std::ofstream out(dir / name, std::ios::binary);
        for (std::size_t i = 0; i < size; ++i)
            out.put(static_cast<char>(i % 251));
        return (dir / name).string();
    };

    const std::string file = write("image.bin", 70000);
    ASSERT_TRUE(ReadUploadFile(file, &contents));
    ASSERT_EQ(contents.size(), 70000u);
    EXPECT_EQ(contents[69999], 69999 % 251);

    // Nothing to read, each with its reason: no path, no file, an empty file, a folder, a
    // file too large to be an upload (a pipe that would block is refused where the system
    // has them).
    const std::string large = write("large.bin", 0);
    fs::resize_file(large, kMaxUploadFileBytes + 1);
    const std::pair<std::string, std::string> refused[] = {
        {"", "no file chosen"},
        {(dir / "none.bin").string(), "No such file or directory"},
        {write("empty.bin", 0), "empty"},
        {dir.string(), "a folder"},
        {large, "larger than 16 MiB (16777217 bytes)"}};
    for (const auto& [path, why] : refused) {
        contents = {1};
        std::string reason;
        EXPECT_FALSE(ReadUploadFile(path, &contents, &reason)) << path;
        EXPECT_TRUE(contents.empty()) << path;
        EXPECT_EQ(reason, why) << path;
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace vk
