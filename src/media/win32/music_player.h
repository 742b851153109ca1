// The program's one background music player. A thread of its own owns the multimedia device,
// because a decoder can keep the device busy for minutes inside an open or a play, and no
// window may wait for a file. The windows' requests go into a queue in order: play, measure and
// stop return at once, a status query waits a short while for its answer and otherwise gets none.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "program/win32/background_music.h"
#include "media/win32/sound_device.h"
#include "util/win32/handles.h"

namespace lurvane::win32 {

class MusicPlayer final : public BackgroundMusic {
public:
    // How long a status query waits for the device.
    static constexpr DWORD kQueryWait = 100;

    explicit MusicPlayer(std::shared_ptr<SoundDevice> device);
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;
    ~MusicPlayer() override;

    void PlayBackgroundSound(const std::string& file, bool repeat) override;
    void StopBackgroundSound() override;
    void MeasureSoundLength(const std::string& file, std::function<void(int32_t)> done) override;
    bool IsBackgroundSoundPlaying() const override;

    int32_t GetSoundPosition() override;
    int32_t GetSoundLength() override;
    std::optional<std::string> GetSoundMode() override;

    // Ends the thread once it has done what was asked before, dropping plays and
    // measurements that have not begun. False when the thread has not ended within `bound` milliseconds: it is
    // stuck inside the device, keeps only what it shares with nobody, and the caller should
    // end the process rather than wait for it.
    bool Finish(DWORD bound);

private:
    struct Shared;
    static DWORD WINAPI Work(void* shared);
    std::optional<std::string> Ask(const std::string& query);

    std::shared_ptr<Shared> shared_;
    KernelHandle thread_;
};

}  // namespace lurvane::win32
