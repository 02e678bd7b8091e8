// An upload file the user picked that is a named pipe: reading it would block for ever.
#include "sensor/upload_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vk {
namespace {

TEST(UploadFile, RefusesAPipeThatWouldBlock) {
    namespace fs = std::filesystem;
    const fs::path fifo =
        fs::temp_directory_path() / ("vk-upload-pipe-" + std::to_string(getpid()));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::vector<std::uint8_t> contents{1};
    std::string reason;
    EXPECT_FALSE(ReadUploadFile(fifo.string(), &contents, &reason));
    EXPECT_TRUE(contents.empty());
    EXPECT_EQ(reason, "not a regular file");
    fs::remove(fifo);
}

} // namespace
} // namespace vk
