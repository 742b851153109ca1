#include "startup/trace.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace lurvane {
namespace {

TraceTime At(double secondsSinceMidnight) {
    TraceTime time{2026, 12, 8, 4, 5, 6, secondsSinceMidnight};
    return time;
}

TEST(TraceLine, HundredthsDropTheLeadingZeroAndVanishAtWholeSeconds) {
    EXPECT_EQ(FormatTraceLine(At(14706.37), "x"), "2026-12-08 04:05:06.37: x");
    EXPECT_EQ(FormatTraceLine(At(14706.5), "x"), "2026-12-08 04:05:06.5: x");
    EXPECT_EQ(FormatTraceLine(At(14706.004), "x"), "2026-12-08 04:05:06: x");
    EXPECT_EQ(FormatTraceLine(At(14706.996), "x"), "2026-12-08 04:05:06: x");
    EXPECT_EQ(FormatTraceLine(At(14706.05), "x"), "2026-12-08 04:05:06.05: x");
    EXPECT_EQ(FormatTraceLine(At(14706.0), "frm.Name: "), "2026-12-08 04:05:06: frm.Name: ");
}

class TraceFile : public ::testing::Test {
protected:
    void SetUp() override {
        // ctest runs the cases of this fixture side by side, so each needs a file of its own.
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = ::testing::TempDir() + "lurvane_trace_" + test->name() + "_" +
                std::to_string(getpid()) + ".log";
        std::remove(path_.c_str());
    }
    void TearDown() override {
        unsetenv("LURVANE_TRACE");
        std::remove(path_.c_str());
    }
    std::string Contents() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream buffer;
        buffer << in.rdbuf();
        return buffer.str();
    }
    std::string path_;
};

TEST_F(TraceFile, WritesNothingWhenTheVariableIsUnsetOrEmpty) {
    unsetenv("LURVANE_TRACE");
    WriteTrace("nothing");
    setenv("LURVANE_TRACE", "", 1);
    WriteTrace("nothing");
    std::ifstream in(path_);
    EXPECT_FALSE(in.good());
}

TEST_F(TraceFile, AppendsOneLinePerCallWithCarriageReturnLineFeed) {
    setenv("LURVANE_TRACE", path_.c_str(), 1);
    WriteTrace("coordinates set");
    WriteTrace("Form_Unload");
    const std::string text = Contents();
    const size_t first = text.find("coordinates set\r\n");
    const size_t second = text.find("Form_Unload\r\n");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST_F(TraceFile, AnUnwritableFileReachesTheCaller) {
    setenv("LURVANE_TRACE", "/nonexistent-folder/trace.log", 1);
    EXPECT_THROW(WriteTrace("x"), std::runtime_error);
}

}  // namespace
}  // namespace lurvane
