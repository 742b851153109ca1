// What a saver run asks of the background music, over a player that only records.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "saver/win32/saver_run.h"
#include "settings/memory_settings_store.h"
#include "util/memory_file_system.h"
#include "util/win32/system_clock.h"

namespace lurvane::win32 {
namespace {

class RecordingMusic final : public BackgroundMusic {
public:
    std::vector<std::string> Calls;
    bool Playing = false;

    void PlayBackgroundSound(const std::string& file, bool repeat) override {
        Calls.push_back("play " + file + (repeat ? " repeat" : ""));
        Playing = true;
    }
    void StopBackgroundSound() override {
        Calls.push_back("stop");
        Playing = false;
    }
    void MeasureSoundLength(const std::string& file, std::function<void(int32_t)>) override {
        Calls.push_back("measure " + file);
    }
    bool IsBackgroundSoundPlaying() const override { return Playing; }
    int32_t GetSoundPosition() override { return 0; }
    int32_t GetSoundLength() override { return 0; }
    std::optional<std::string> GetSoundMode() override { return Playing ? "playing" : ""; }
};

constexpr DWORD kNoKey = 0xFFFFFFFF;

// A full-screen run over the desktop, closed after `closeAfter` milliseconds if it is still
// there. A key is pressed `keyAt` milliseconds into it (0: while the run is prepared).
void RunSaver(SettingsStore& settings, BackgroundMusic& music, bool startedManually, DWORD keyAt, DWORD closeAfter) {
    MemoryFileSystem files;
    Language texts;
    SystemClock clock;
    GdiPlus pictures;
    SaverRun run(ProgramContext{settings, files, texts, Trace(), clock, pictures}, music);
    MainForm& form = run.Form();
    ASSERT_TRUE(form.Load());
    form.ShowFullScreen();
    HWND window = form.Window();
    if (keyAt == 0) PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
    std::atomic<bool> finished{false};
    std::thread events([&] {
        for (DWORD waited = 0; waited < closeAfter && !finished; waited += 50) {
            Sleep(50);
            if (waited + 50 == keyAt) PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
        }
        if (!finished) PostMessageW(window, WM_CLOSE, 0, 0);
    });
    run.StartScreenSaver(false, startedManually);
    run.Run();
    finished = true;
    events.join();
}

TEST(SaverRunMusic, AFullScreenRunPlaysTheStoredMusicWhenItStartsAndItsEndStopsIt) {
    MemorySettingsStore settings;
    settings.Write("BackgroundSound", "D:\\Meine Musik\\Lied.mp3");
    settings.Write("LoopSound", "0");
    settings.Write("RestartSec", "0");
    RecordingMusic music;
    RunSaver(settings, music, false, kNoKey, 1000);
    EXPECT_EQ(music.Calls, (std::vector<std::string>{"play D:\\Meine Musik\\Lied.mp3", "stop"}));

    // A run that a key ends before its first frame, and music that still plays (a restart's,
    // or music that ended by itself): nothing is started.
    settings.Write("LoopSound", "1");
    RecordingMusic keyed;
    RunSaver(settings, keyed, false, 0, 4000);
    EXPECT_EQ(std::count(keyed.Calls.begin(), keyed.Calls.end(), "play D:\\Meine Musik\\Lied.mp3 repeat"), 0);
    EXPECT_EQ(keyed.Calls.back(), "stop");
    RecordingMusic playing;
    playing.Playing = true;
    RunSaver(settings, playing, false, kNoKey, 1000);
    EXPECT_EQ(playing.Calls, std::vector<std::string>{"stop"});
}

TEST(SaverRunMusic, InputDuringAManualStartsNoticeLeavesTheMusicPlaying) {
    MemorySettingsStore settings;
    settings.Write("BackgroundSound", "D:\\Musik\\Lied.mp3");
    settings.Write("RestartSec", "0");
    RecordingMusic music;
    RunSaver(settings, music, true, 500, 1500);
    EXPECT_EQ(music.Calls, (std::vector<std::string>{"play D:\\Musik\\Lied.mp3 repeat", "stop"}))
        << "the key in the notice period kept the run going, so the music must go on until its end";
}

}  // namespace
}  // namespace lurvane::win32
