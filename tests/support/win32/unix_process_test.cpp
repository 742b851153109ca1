// The Linux-side process times that the dialog's CPU bench reads under Wine.
#include "support/win32/unix_process.h"

#include <gtest/gtest.h>

#include "util/win32/handles.h"

namespace support {
namespace {

TEST(UnixProcess, StatFieldsCountFromOnePastANameWithBlanksAndParentheses) {
    const std::string stat = "4242 (my (odd) name) S 1 2 3 4 5 6 7 8 9 10 120 30 0 0 20 0 1 0 98765 1000\n";
    EXPECT_EQ(StatField(stat, 3), "S");
    EXPECT_EQ(StatField(stat, 14), "120");
    EXPECT_EQ(StatField(stat, 15), "30");
    EXPECT_EQ(StatField(stat, 22), "98765");
    EXPECT_EQ(StatField(stat, 24), "");
    EXPECT_EQ(StatField("no name here", 3), "");
}

double WindowsCpuSeconds() {
    FILETIME created{}, ended{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto seconds = [](FILETIME time) {
        return static_cast<double>(static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

TEST(UnixProcess, ThisProcesssCpuTimeFromProcAgreesWithGetProcessTimes) {
    if (!UnderWine()) GTEST_SKIP() << "only Wine shows /proc on Z:";
    const std::optional<double> unixBefore = UnixCpuSeconds(L"Z:\\proc\\self");
    const double windowsBefore = WindowsCpuSeconds();
    volatile unsigned spin = 0;
    while (WindowsCpuSeconds() - windowsBefore < 0.4) spin = spin + 1;
    const std::optional<double> unixAfter = UnixCpuSeconds(L"Z:\\proc\\self");
    ASSERT_TRUE(unixBefore && unixAfter);
    EXPECT_NEAR(*unixAfter - *unixBefore, WindowsCpuSeconds() - windowsBefore, 0.05);
}

// A program started here is found in this prefix while it runs, and no longer once it ended.
TEST(UnixProcess, FindsTheProcessOfAProgramStartedInThisPrefixUntilItEnds) {
    if (!UnderWine()) GTEST_SKIP() << "only Wine shows /proc on Z:";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    wchar_t commandLine[] = L"notepad.exe";
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started));
    const lurvane::win32::KernelHandle process(started.hProcess), thread(started.hThread);
    const auto findWithin = [](bool wanted) {
        for (ULONGLONG end = GetTickCount64() + 5000; GetTickCount64() < end; Sleep(50))
            if (FindUnixProcess("notepad.exe").has_value() == wanted) return true;
        return false;
    };
    EXPECT_TRUE(findWithin(true));
    const std::optional<std::wstring> folder = FindUnixProcess("notepad.exe");
    EXPECT_TRUE(folder && UnixCpuSeconds(*folder).has_value());
    TerminateProcess(process.get(), 0);
    WaitForSingleObject(process.get(), 5000);
    EXPECT_TRUE(findWithin(false));
}

}  // namespace
}  // namespace support
