// End-to-end: the music a full-screen run plays comes out of the sound device while the run
// lasts and stops with it; a preview stays silent, and music that cannot be played leaves the
// run going without it. ctest gives these tests a HOME whose sound device writes every sample
// played to a file (tests/support/make-sound-home), with a one-second tone to play. The settings
// dialog opens as promptly for a song with a huge title as without music.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

#include "dialog_driver.h"
#include "preview_host.h"
#include "resource.h"
#include "saver_driver.h"

namespace e2e {
namespace {

using namespace std::string_literals;

std::wstring WindowsPathOfLinux(const std::wstring& path) {
    std::wstring converted = L"Z:" + path;
    std::replace(converted.begin(), converted.end(), L'/', L'\\');
    return converted;
}

// Silence is zero bytes in every sample format the device may choose.
bool Audible(const std::string& samples, size_t from) {
    return from < samples.size() && std::any_of(samples.begin() + static_cast<std::ptrdiff_t>(from), samples.end(),
                                                 [](char byte) { return byte != 0; });
}

class BackgroundMusic : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t home[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(L"LURVANE_SOUND_HOME", home, MAX_PATH);
        ASSERT_TRUE(length > 0 && length < MAX_PATH) << "run through ctest, which makes the sound HOME";
        const std::wstring folder = WindowsPathOfLinux(home);
        sink_ = folder + L"\\sink.raw";
        tone_ = folder + L"\\tone.mp3";
        ASSERT_NE(GetFileAttributesW(tone_.c_str()), INVALID_FILE_ATTRIBUTES) << "no test music";
        DeleteFileW(sink_.c_str());
        ClearStoredSettings();
        StoreSetting(L"RestartSec", L"0");
    }
    void TearDown() override {
        ClearStoredSettings();
        DeleteFileW(sink_.c_str());
    }

    std::string Sink() const { return ReadFileBytes(sink_); }
    size_t SinkSize() const {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        return GetFileAttributesExW(sink_.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
    }
    // Waits until the device has played something that is not silence; false after the timeout.
    bool WaitForSound(DWORD milliseconds) const {
        const ULONGLONG end = GetTickCount64() + milliseconds;
        do {
            if (Audible(Sink(), 0)) return true;
            Sleep(50);
        } while (GetTickCount64() < end);
        return false;
    }

    std::wstring sink_, tone_;
};

class BackgroundMusicRun : public BackgroundMusic, public ::testing::WithParamInterface<bool> {};

TEST_P(BackgroundMusicRun, PlaysWhileAFullScreenRunLastsAndStopsWithIt) {
    const bool loop = GetParam();
    // A folder and a name that the plain command line could not carry without help.
    const std::wstring folder = TempFilePath(L"Lurvane Musik \u00c4");
    const std::wstring music = folder + L"\\Gr\u00fc\u00dfe 1.mp3";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(tone_.c_str(), music.c_str(), FALSE));
    StoreSetting(L"BackgroundSound", music);
    StoreSetting(L"LoopSound", loop ? L"1" : L"0");

    SaverProcess saver(L"/s");
    ASSERT_NE(WaitForSaverReady(saver.Id(), 10000), nullptr);
    ASSERT_TRUE(WaitForSound(5000)) << "no sound came out during the run";
    const ULONGLONG heard = GetTickCount64();

    // The tone lasts a second: two seconds after it began only a repeat still sounds.
    Sleep(2000);
    const size_t before = SinkSize();
    Sleep(600);
    const std::string late = Sink();
    EXPECT_GT(late.size(), before) << "the device stopped playing during the run";
    EXPECT_EQ(Audible(late, before), loop) << (loop ? "the music did not repeat" : "the music played more than once");
    EXPECT_LT(GetTickCount64() - heard, 2900u) << "the driver was too slow to tell a repeat from the first play";

    PressKey(VK_SPACE);
    ASSERT_TRUE(saver.WaitForExit(3000));
    EXPECT_LT(saver.ExitCode(), 0xC0000000u);
    const size_t atExit = SinkSize();
    Sleep(500);
    EXPECT_EQ(SinkSize(), atExit) << "sound went on after the run ended";

    DeleteFileW(music.c_str());
    RemoveDirectoryW(folder.c_str());
}

INSTANTIATE_TEST_SUITE_P(Repeat, BackgroundMusicRun, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) { return param.param ? "Looped" : "Once"; });

TEST_F(BackgroundMusic, APreviewNeverPlays) {
    StoreSetting(L"BackgroundSound", tone_);
    PreviewHost host;
    SaverProcess saver(L"/p " + host.Handle());
    ASSERT_NE(host.WaitForChild(10000), nullptr);
    PreviewHost::Pump(1500);
    EXPECT_TRUE(saver.Running());
    EXPECT_FALSE(Audible(Sink(), 0));
    host.Destroy();
    EXPECT_TRUE(WaitPumping(saver, 2000));
}

// A tag of 16 MiB of 0xFF bytes, its size field among them, before the tone: the decoder
// searches it for minutes inside the open. The run still ends at a key as it does without
// music, and the process does not wait for the decoder either.
TEST_F(BackgroundMusic, MusicThatKeepsTheDecoderBusyHoldsNeitherTheRunNorTheProcess) {
    std::string bytes("ID3\x03\0\0", 6);
    bytes.append(16u << 20, '\xFF');
    bytes += ReadFileBytes(tone_);
    const std::wstring music = TempFilePath(L"lurvane-e2e-busy-decoder.mp3");
    ASSERT_TRUE(WriteBytes(music, bytes));
    StoreSetting(L"BackgroundSound", music);

    {
        SaverProcess saver(L"/s");
        ASSERT_NE(WaitForSaverReady(saver.Id(), 10000), nullptr);
        Sleep(1000);  // the device is deep inside the file by now
        PressKey(VK_SPACE);
        const ULONGLONG pressed = GetTickCount64();
        while (WaitForSaverWindow(saver.Id(), 0) != nullptr && GetTickCount64() - pressed < 5000) Sleep(10);
        const ULONGLONG ended = GetTickCount64() - pressed;
        EXPECT_LT(ended, 1000u) << "the saver window stayed after the key";
        EXPECT_TRUE(saver.WaitForExit(static_cast<DWORD>(2000 - std::min<ULONGLONG>(ended, 2000))))
            << "the process was still there 2 s after the key";
        EXPECT_LT(saver.ExitCode(), 0xC0000000u);
    }  // a saver still running is ended here, so that its file can go
    DeleteFileW(music.c_str());
}

struct BadMusic {
    const char* Name;
    std::string Bytes;  // what the music file holds; none: there is no file
    bool Exists = true;
};

void PrintTo(const BadMusic& music, std::ostream* out) { *out << music.Name; }

class BackgroundMusicBadFile : public BackgroundMusic, public ::testing::WithParamInterface<BadMusic> {};

TEST_P(BackgroundMusicBadFile, TheRunGoesOnSilently) {
    const std::wstring music = TempFilePath(L"lurvane-e2e-bad-music.mp3");
    DeleteFileW(music.c_str());
    if (GetParam().Exists) {
        ASSERT_TRUE(WriteBytes(music, GetParam().Bytes));
    }
    StoreSetting(L"BackgroundSound", music);

    SaverProcess saver(L"/s");
    ASSERT_NE(WaitForSaverReady(saver.Id(), 10000), nullptr) << "no message box, no crash at the start";
    Sleep(1000);
    EXPECT_TRUE(saver.Running());
    EXPECT_FALSE(Audible(Sink(), 0));
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(3000));
    EXPECT_LT(saver.ExitCode(), 0xC0000000u);
    DeleteFileW(music.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BackgroundMusicBadFile,
    ::testing::Values(BadMusic{"Missing", {}, false}, BadMusic{"Empty", {}},
                      BadMusic{"NotMusic", std::string(4096, '\x5A') + "ID3 \xFF\xFB no frames here"}),
    [](const ::testing::TestParamInfo<BadMusic>& param) { return std::string(param.param.Name); });

TEST_F(BackgroundMusic, TheDialogOpensAtOnceForASongWithAHugeTitleAndShowsItCut) {
    std::string title;
    while (title.size() < (1u << 20)) title += "Wellen " + std::to_string(title.size()) + " ";
    title.resize(1u << 20);
    // A 2.3 tag of 1 MiB + 11 bytes (sync-safe) holding one title frame of 1 MiB + 1 bytes.
    const std::string tag = "ID3\x03"s + std::string{0, 0, 0, 0x40, 0, 0x0B} + "TIT2" + std::string{0, 0x10, 0, 1} +
                            std::string(3, '\0') + title;
    const std::wstring music = TempFilePath(L"lurvane-e2e-long-title.mp3");
    ASSERT_TRUE(WriteBytes(music, tag + ReadFileBytes(tone_)));
    StoreSetting(L"Language", L"2");
    StoreSetting(L"BackgroundSound", music);

    const ULONGLONG start = GetTickCount64();
    SaverProcess saver(L"/c");
    HWND dialog = WaitForDialog(saver.Id(), L"Lurvane - settings");
    ASSERT_NE(dialog, nullptr) << "no dialog within " << kStartTimeout << " ms";
    std::printf("the dialog showed %lu ms after the start\n", static_cast<unsigned long>(GetTickCount64() - start));
    const std::wstring shown = std::wstring(title.begin(), title.begin() + 255) + L"\u2026";
    const std::wstring info = WholeTextOf(ControlOf(dialog, IDC_LABELMP3, true));
    EXPECT_NE(info.find(L" " + shown + L"\r\n"), std::wstring::npos) << "the title line is the cut title:\n"
                                                                     << info.substr(0, 400);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(saver.WaitForExit(5000));
    DeleteFileW(music.c_str());
}

}  // namespace
}  // namespace e2e
