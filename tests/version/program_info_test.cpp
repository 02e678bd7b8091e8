// --help and --version of the graphical tools, told apart from what starts the window.
#include "version/program_info.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace vk;

TEST(ProgramInfo, HelpAndVersionAnsweredAndEverythingElseLeftToTheProgram) {
    using Args = std::vector<std::string>;
    // The factory's switch and the toolkit's options still start the window.
    EXPECT_EQ(FindProgramInfoRequest({}), ProgramInfoRequest::None);
    EXPECT_EQ(FindProgramInfoRequest(Args{"-QXV"}), ProgramInfoRequest::None);
    EXPECT_EQ(FindProgramInfoRequest(Args{"-platform", "offscreen", "-reverse"}),
              ProgramInfoRequest::None);
    EXPECT_EQ(FindProgramInfoRequest(Args{"--helpme", "-version"}), ProgramInfoRequest::None);
    EXPECT_EQ(FindProgramInfoRequest(Args{"-platform", "xcb", "--version"}),
              ProgramInfoRequest::Version);
    EXPECT_EQ(FindProgramInfoRequest(Args{"-h"}), ProgramInfoRequest::Help);
    EXPECT_EQ(FindProgramInfoRequest(Args{"-QXV", "--help", "--version"}),
              ProgramInfoRequest::Help);

    // One version, CMake's, in the "name (package) version" form of every program.
    EXPECT_STREQ(ProjectVersion(), CMAKE_PROJECT_VERSION);
    EXPECT_EQ(VersionText("VkUtil"),
              std::string("VkUtil (Korvel sensor tools) ") + CMAKE_PROJECT_VERSION + "\n");

    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    EXPECT_FALSE(AnswerProgramInfoRequest("VkUtil", "usage\n", Args{"-QXV"}, out));
    EXPECT_EQ(AnswerProgramInfoRequest("VkUtil", "usage\n", Args{"--help"}, out), 0);
    EXPECT_EQ(AnswerProgramInfoRequest("VkUtil", "usage\n", Args{"--version"}, out), 0);
    std::rewind(out);
    char text[128] = {};
    const std::size_t n = std::fread(text, 1, sizeof text - 1, out);
    std::fclose(out);
    EXPECT_EQ(std::string(text, n), "usage\n" + VersionText("VkUtil"));
}
