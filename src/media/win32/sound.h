// Plays one piece of background music at a time under the alias "LurvaneSound" and answers
// questions about it. Nothing here raises or shows a message: a file that cannot be opened or
// played shows only as a false result, and the queries then give 0 or the empty text.
#pragma once

#include <cstdint>
#include <string>

#include "program/win32/background_music.h"
#include "media/win32/sound_device.h"

namespace lurvane::win32 {

class Sound final : public BackgroundMusic {
public:
    explicit Sound(SoundDevice& device) : device_(device) {}

    bool PlayBackgroundSound(const std::string& file, bool repeat) override;
    void OpenBackgroundSound(const std::string& file) override;
    void StopBackgroundSound() override;
    bool IsBackgroundSoundPlaying() const override { return playing_; }

    int32_t GetSoundPosition() override;
    int32_t GetSoundLength() override;
    std::string GetSoundMode() override;

private:
    bool Open(const std::string& file);

    SoundDevice& device_;
    bool playing_ = false;
};

}  // namespace lurvane::win32
