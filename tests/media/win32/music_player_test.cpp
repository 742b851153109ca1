// The player's thread between the windows and a device that may hang inside a command: what a
// window asks never waits longer than a query's bound, and the device still gets every command
// in order once it answers again.
#include "media/win32/music_player.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace lurvane::win32 {
namespace {

// Every command is recorded on its way in and then waits at a gate until the test opens it (at
// most 10 s, so that a caller that waits for the device fails the test instead of hanging it).
class GatedDevice final : public SoundDevice {
public:
    KernelHandle Gate{CreateEventW(nullptr, TRUE, FALSE, nullptr)};

    // What has reached the device once `last` has, or after `milliseconds`.
    std::vector<std::string> SentUpTo(const std::string& last, DWORD milliseconds) const {
        for (const ULONGLONG end = GetTickCount64() + milliseconds;; Sleep(5)) {
            const std::lock_guard lock(lock_);
            if (std::find(sent_.begin(), sent_.end(), last) != sent_.end() || GetTickCount64() > end) return sent_;
        }
    }
    std::optional<std::string> ShortPath(const std::string& longPath) override {
        return longPath.substr(longPath.rfind('\\') + 1);
    }
    uint32_t Send(const SoundCommand& command) override {
        Pass(command.Text);
        return 0;
    }
    std::string Query(const std::string& command) override {
        Pass(command);
        return std::string(255, '\0');
    }

private:
    void Pass(const std::string& text) {
        {
            const std::lock_guard lock(lock_);
            sent_.push_back(text);
        }
        WaitForSingleObject(Gate.get(), 10000);
    }

    mutable std::mutex lock_;
    std::vector<std::string> sent_;
};

ULONGLONG MillisecondsSince(ULONGLONG start) { return GetTickCount64() - start; }

TEST(MusicPlayer, NothingAWindowAsksWaitsForAHangingDevice) {
    auto device = std::make_shared<GatedDevice>();
    MusicPlayer player(device);
    const std::string open = "open Lied.mp3 type MPEGVideo alias LurvaneSound";

    ULONGLONG start = GetTickCount64();
    player.PlayBackgroundSound("C:\\Musik\\Lied.mp3", true);
    EXPECT_TRUE(player.IsBackgroundSoundPlaying()) << "a play on its way counts as playing";
    ASSERT_EQ(device->SentUpTo(open, 2000), std::vector{open}) << "the thread never began the play";
    EXPECT_EQ(player.GetSoundLength(), 0);
    EXPECT_LT(MillisecondsSince(start), 1000u) << "the play or the first query waited for the device";

    // The device is known to be busy now: further questions get no answer at once.
    start = GetTickCount64();
    EXPECT_EQ(player.GetSoundMode(), std::nullopt);
    EXPECT_EQ(player.GetSoundPosition(), 0);
    player.PlayBackgroundSound("C:\\Musik\\Anderes.mp3", false);
    player.MeasureSoundLength("C:\\Musik\\Drittes.mp3", [](int32_t) {});
    player.StopBackgroundSound();
    player.StopBackgroundSound();
    EXPECT_LT(MillisecondsSince(start), MusicPlayer::kQueryWait) << "a question waited again on a device known busy";
    EXPECT_FALSE(player.IsBackgroundSoundPlaying());

    start = GetTickCount64();
    EXPECT_FALSE(player.Finish(200)) << "the thread cannot have ended inside the device";
    EXPECT_LT(MillisecondsSince(start), 1000u);

    // Once the device answers, the thread finishes what was asked in order: the play that had
    // begun, one stop; what a stop overtook and the questions nobody waited for never go out.
    SetEvent(device->Gate.get());
    EXPECT_EQ(device->SentUpTo("close LurvaneSound", 2000),
              (std::vector<std::string>{open, "play LurvaneSound from 0 repeat", "stop LurvaneSound", "close LurvaneSound"}));
}

}  // namespace
}  // namespace lurvane::win32
