// The background music as its users see it: the saver run plays it for a full-screen run, the
// settings dialog previews a file and asks for its length, position and mode. Those users and
// the media module that plays the music sit on one level and may not include one another, so
// the interface lives one level below them, beside the program's context; Main hands the one
// player to whoever needs it.
#pragma once

#include <cstdint>
#include <string>

namespace lurvane::win32 {

class BackgroundMusic {
public:
    virtual ~BackgroundMusic() = default;

    // True when the device accepted the play command. `repeat` loops the music until stopped.
    virtual bool PlayBackgroundSound(const std::string& file, bool repeat) = 0;
    // Opens the file without playing it, for the status queries.
    virtual void OpenBackgroundSound(const std::string& file) = 0;
    // Stops and closes the device; harmless when nothing is open.
    virtual void StopBackgroundSound() = 0;
    // Set by a successful play, cleared only by a stop: music that ended by itself still counts.
    virtual bool IsBackgroundSoundPlaying() const = 0;

    // Milliseconds; 0 when nothing is open or the device gives no number.
    virtual int32_t GetSoundPosition() = 0;
    virtual int32_t GetSoundLength() = 0;
    // The device's mode word ("playing", "stopped"); empty when nothing is open.
    virtual std::string GetSoundMode() = 0;

protected:
    BackgroundMusic() = default;
    BackgroundMusic(const BackgroundMusic&) = default;
    BackgroundMusic& operator=(const BackgroundMusic&) = default;
};

}  // namespace lurvane::win32
