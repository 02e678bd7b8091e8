// The scan buffer reader's field checks and the block it appends, without a window.
#include "util_app/scan_buffer_fields.h"
#include "util_app/scan_buffer_file.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

TEST(ScanBufferFields, BoundsAndMessagesOfTheFramework) {
    ReadFields f = CheckReadFields(" 300 ", "0", 300);
    EXPECT_EQ(f.bad, ReadFields::Bad::None);
    EXPECT_EQ(f.rangesToRead, 300);
    EXPECT_TRUE(ReadFits(f, 300));

    // One range too many passes the check and then reads nothing.
    f = CheckReadFields("301", "0", 300);
    EXPECT_EQ(f.bad, ReadFields::Bad::None);
    EXPECT_FALSE(ReadFits(f, 300));

    f = CheckReadFields("302", "0", 300);
    EXPECT_EQ(f.bad, ReadFields::Bad::RangesToRead);
    EXPECT_EQ(f.refusal, "Please enter an integer between 0 and 301.");
    for (const char* text : {"", "abc", "12a", "99999999999"}) {
        f = CheckReadFields(text, "0", 300);
        EXPECT_EQ(f.refusal, "Please enter an integer.") << text;
    }
    f = CheckReadFields("200", "102", 300);
    EXPECT_EQ(f.bad, ReadFields::Bad::StartIndex);
    EXPECT_EQ(f.refusal, "Please enter an integer between 0 and 101.");
}

TEST(ScanBufferFile, BlockCutsTheSerialAndLongTexts) {
    EXPECT_EQ(ScanBufferBlock(std::string("AB\0CDEFGH", 9), 7, {}),
              "\nSensor: AB \t Address: 7\n\nScan buffer: Size: 0\n");
    EXPECT_EQ(ScanBufferBlock("123456789", 255, {std::string(70, 'x')}),
              "\nSensor: 12345678 \t Address: 255\n\nScan buffer: Size: 1\n#0:\t\t" +
                  std::string(63, 'x') + "\n");
}

} // namespace
} // namespace vk
