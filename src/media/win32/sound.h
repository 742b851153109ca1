// Plays one piece of background music at a time under the alias "LurvaneSound" and answers
// questions about it, waiting for the device each time: only the player's own thread uses it.
// Nothing here raises or shows a message: a file that cannot be opened or played shows only as
// a false result, and the queries then give 0 or the empty text.
#pragma once

#include <cstdint>
#include <string>

#include "media/win32/sound_device.h"

namespace lurvane::win32 {

class Sound final {
public:
    explicit Sound(SoundDevice& device) : device_(device) {}

    bool PlayBackgroundSound(const std::string& file, bool repeat);
    void OpenBackgroundSound(const std::string& file);
    void StopBackgroundSound();
    bool IsBackgroundSoundPlaying() const { return playing_; }

    int32_t GetSoundPosition();
    int32_t GetSoundLength();
    std::string GetSoundMode();

private:
    bool Open(const std::string& file);

    SoundDevice& device_;
    bool playing_ = false;
};

}  // namespace lurvane::win32
