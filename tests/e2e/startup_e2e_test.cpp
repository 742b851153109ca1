// End-to-end: the saver's start-up, its single instance, its window and its exit on input.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "saver_driver.h"

namespace e2e {
namespace {

constexpr DWORD kStartTimeout = 10000;

// "date time[.h or .hh]: message" with the date and time in digits.
bool IsTraceLine(const std::string& line) {
    const std::string shape = "dddd-dd-dd dd:dd:dd";
    if (line.size() < shape.size() + 2) return false;
    for (size_t i = 0; i < shape.size(); ++i)
        if (shape[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(line[i])) : line[i] != shape[i]) return false;
    size_t at = shape.size();
    if (line[at] == '.') {
        size_t digits = 0;
        while (at + 1 + digits < line.size() && std::isdigit(static_cast<unsigned char>(line[at + 1 + digits]))) ++digits;
        if (digits < 1 || digits > 2 || line[at + digits] == '0') return false;  // no trailing zero
        at += 1 + digits;
    }
    return line.compare(at, 2, ": ") == 0;
}

class FullScreenStart : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(FullScreenStart, ShowsOneTopmostWindowCoveringTheScreenAndEndsOnAKey) {
    SaverProcess saver(GetParam());
    ASSERT_TRUE(saver.Started());
    HWND window = WaitForSaverReady(saver.Id(), kStartTimeout);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(VisibleSaverWindows().size(), 1u);
    ExpectCoversTheScreenOnTop(window);
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);

    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(1000));
}

INSTANTIATE_TEST_SUITE_P(Switches, FullScreenStart, ::testing::Values(L"/s", L"/S", L"/s:123"));

class IgnoredSwitch : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(IgnoredSwitch, EndsAtOnceWithoutAWindow) {
    SaverProcess saver(GetParam());
    ASSERT_TRUE(saver.Started());
    EXPECT_TRUE(saver.WaitForExit(5000));
    EXPECT_TRUE(VisibleSaverWindows().empty());
}

INSTANTIATE_TEST_SUITE_P(Switches, IgnoredSwitch, ::testing::Values(L" /s", L"-s", L"/x", L"/m", L"/m manu"));

TEST(SaverExit, AMouseClickEndsTheRun) {
    SaverProcess saver(L"/s");
    ASSERT_NE(WaitForSaverReady(saver.Id(), kStartTimeout), nullptr);
    ClickMouse();
    EXPECT_TRUE(saver.WaitForExit(1000));
}

TEST(SaverExit, AMoveOfFivePixelsKeepsItRunningAndSixEndIt) {
    MoveMouseTo(300, 300);
    ASSERT_FALSE(WaitForPointerHidden(0));
    SaverProcess saver(L"/s");
    ASSERT_NE(WaitForSaverReady(saver.Id(), kStartTimeout), nullptr);
    // Moves count only once the pointer is hidden; the first one seen then only records where
    // the pointer is: (301, 300), or (300, 300) should the system report where it rests. Every
    // move below keeps within five pixels of both. Moves that queue up merge into one, so each
    // gets time to arrive.
    ASSERT_TRUE(WaitForPointerHidden(kStartTimeout));
    MoveMouseTo(301, 300);
    Sleep(300);
    for (const POINT within : {POINT{305, 300}, POINT{296, 300}, POINT{301, 305}, POINT{301, 295}}) {
        MoveMouseTo(within.x, within.y);
        Sleep(200);
        EXPECT_TRUE(saver.Running()) << within.x << "," << within.y;
    }
    MoveMouseTo(301, 306);
    EXPECT_TRUE(saver.WaitForExit(1000));
}

TEST(SingleInstance, ASecondStartEndsAtOnceAndOneWindowRemains) {
    SaverProcess first(L"/s");
    ASSERT_NE(WaitForSaverReady(first.Id(), kStartTimeout), nullptr);
    SaverProcess second(L"/s");
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.WaitForExit(5000));
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(VisibleSaverWindows().size(), 1u);
    PressKey(VK_RETURN);
    EXPECT_TRUE(first.WaitForExit(1000));
}

TEST(Trace, ARunWritesTheStartAndUnloadLinesWhenTheVariableNamesAFile) {
    const std::wstring path = TempFilePath(L"lurvane-e2e-trace.log");
    DeleteFileW(path.c_str());
    SetInheritedVariable(L"LURVANE_TRACE", path.c_str());
    {
        SaverProcess saver(L"/s");
        ASSERT_NE(WaitForSaverReady(saver.Id(), kStartTimeout), nullptr);
            PressKey(VK_ESCAPE);
        EXPECT_TRUE(saver.WaitForExit(1000));
    }
    SetInheritedVariable(L"LURVANE_TRACE", nullptr);
    const std::string trace = ReadFileBytes(path);
    for (const char* line : {": LurvaneScreenSaver not found\r\n", ": StartScreenSaver, Preview: False\r\n",
                             ": coordinates set\r\n", ": Screen captured\r\n", ": Saver visible\r\n",
                             ": Form_Unload\r\n"})
        EXPECT_NE(trace.find(line), std::string::npos) << line;
    EXPECT_LT(trace.find("coordinates set"), trace.find("Form_Unload"));
    size_t lines = 0;
    for (size_t start = 0, end; (end = trace.find("\r\n", start)) != std::string::npos; start = end + 2, ++lines)
        EXPECT_TRUE(IsTraceLine(trace.substr(start, end - start))) << trace.substr(start, end - start);
    EXPECT_GE(lines, 6u);
    EXPECT_EQ(trace.substr(trace.size() - 2), "\r\n");
    DeleteFileW(path.c_str());
}

}  // namespace
}  // namespace e2e
