// End-to-end: broken pictures and hand-edited settings give a running saver, never a crash.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "saver_driver.h"

namespace e2e {
namespace {

using Settings = std::vector<std::pair<const wchar_t*, std::wstring>>;

struct BadInput {
    const char* Name;
    Settings Stored;
};

void PrintTo(const BadInput& input, std::ostream* out) { *out << input.Name; }

class BadInputRun : public ::testing::TestWithParam<BadInput> {
protected:
    void SetUp() override {
        ClearStoredSettings();
        corrupt_ = TempFilePath(L"lurvane-e2e-corrupt.jpg");
        ASSERT_TRUE(WriteBytes(corrupt_, std::string("\xFF\xD8\xFF\xE0 this is no picture", 24)));
    }
    void TearDown() override {
        ClearStoredSettings();
        DeleteFileW(corrupt_.c_str());
    }
    std::wstring corrupt_;
};

TEST_P(BadInputRun, TheSaverRunsAndEndsOnAKey) {
    for (const auto& [name, text] : GetParam().Stored)
        StoreSetting(name, text == L"<corrupt>" ? corrupt_ : text);
    SaverProcess saver(L"/s");
    ASSERT_NE(WaitForSaverReady(saver.Id(), 10000), nullptr) << "no message box, no crash at the start";
    Sleep(800);
    EXPECT_TRUE(saver.Running());
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(2000));
    EXPECT_LT(saver.ExitCode(), 0xC0000000u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInputRun,
    ::testing::Values(
        BadInput{"CorruptPicture", {{L"BackgroundImage", L"<corrupt>"}, {L"PathPoints", L"0,0;4800,0;2400,3500"}}},
        BadInput{"MissingPicture",
                 {{L"BackgroundImage", L"Z:\\nowhere\\B\u00e4der\\x.jpg"}, {L"MaximizeBackground", L"0"}}},
        BadInput{"HandEditedValues",
                 {{L"PathPoints", L"99999,-99999;abc;;1,2,3;,;4800,3500;0,3500"},
                  {L"WaveAsc", L"0"},
                  {L"Framerate", L"1000"},
                  {L"WaveAmp", L"-5"},
                  {L"WaveFreq", L"&HFFFFFFFF"},
                  {L"ColorBackground", L"12345678901234567890"},
                  {L"SizeBackground", L"-50"},
                  {L"RestartSec", L"1e9"},
                  {L"Language", L"\u00e4\u00f6\u00fc"}}},
        BadInput{"OnePointPath", {{L"PathPoints", L"2000,2000"}}},
        BadInput{"PathFarBeyondTheScreen",
                 {{L"PathPoints", L"-30000,-30000;30000,-30000;30000,30000;-30000,30000"}}}),
    [](const ::testing::TestParamInfo<BadInput>& param) { return std::string(param.param.Name); });

}  // namespace
}  // namespace e2e
