#include "util/trace.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "support/trace_capture.h"

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

TEST(TraceFile, TheEnvironmentVariableNamesTheFileAndWritesNothingWhenUnsetOrEmpty) {
    TraceCapture trace;
    unsetenv("LURVANE_TRACE");
    EXPECT_FALSE(Trace::FromEnvironment().Enabled());
    Trace::FromEnvironment().WriteTrace("nothing");
    setenv("LURVANE_TRACE", "", 1);
    EXPECT_FALSE(Trace::FromEnvironment().Enabled());
    Trace::FromEnvironment().WriteTrace("nothing");
    std::ifstream in(trace.Path());
    EXPECT_FALSE(in.good());

    setenv("LURVANE_TRACE", trace.Path().c_str(), 1);
    Trace::FromEnvironment().WriteTrace("named");
    unsetenv("LURVANE_TRACE");
    EXPECT_EQ(trace.Messages(), std::vector<std::string>{"named"});
}

TEST(TraceFile, AppendsOneLinePerCallWithCarriageReturnLineFeed) {
    TraceCapture trace;
    trace.Sink().WriteTrace("coordinates set");
    trace.Sink().WriteTrace("Form_Unload");
    const std::string text = trace.Contents();
    const size_t first = text.find("coordinates set\r\n");
    const size_t second = text.find("Form_Unload\r\n");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(TraceFile, AnUnwritableFileReachesTheCaller) {
    EXPECT_THROW(Trace("/nonexistent-folder/trace.log").WriteTrace("x"), std::runtime_error);
    EXPECT_NO_THROW(Trace("/nonexistent-folder/trace.log").TraceQuietly("x"));
}

}  // namespace
}  // namespace lurvane
