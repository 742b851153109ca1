// The background music as its users see it: the saver run plays it for a full-screen run, the
// settings dialog previews a file and asks for its length, position and mode. Those users and
// the media module that plays the music sit on one level and may not include one another, so
// the interface lives one level below them, beside the program's context; Main hands the one
// player to whoever needs it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace lurvane::win32 {

class BackgroundMusic {
public:
    virtual ~BackgroundMusic() = default;

    // None of these waits for the device beyond a short bound: the device may be busy with a
    // file for minutes, and the callers own windows.

    // Asks for `file` to be played from the start; `repeat` loops it until stopped. Returns at
    // once: a file the device refuses shows later, as a mode other than "playing".
    virtual void PlayBackgroundSound(const std::string& file, bool repeat) = 0;
    // Stops and closes the device; harmless when nothing is open.
    virtual void StopBackgroundSound() = 0;
    // Opens `file`, reads its length in milliseconds (0 when it cannot be opened), stops and
    // closes it, and hands the length to `done` on the player's own thread, however long the
    // device takes. A stop asked for before the open began drops the measurement.
    virtual void MeasureSoundLength(const std::string& file, std::function<void(int32_t)> done) = 0;
    // True from a play until a stop, or until the device refused that play: music that ended
    // by itself still counts.
    virtual bool IsBackgroundSoundPlaying() const = 0;

    // Milliseconds; 0 when nothing is open, the device gives no number or does not answer in time.
    virtual int32_t GetSoundPosition() = 0;
    virtual int32_t GetSoundLength() = 0;
    // The device's mode word ("playing", "stopped"); empty when nothing is open, none when the
    // device did not answer in time.
    virtual std::optional<std::string> GetSoundMode() = 0;

protected:
    BackgroundMusic() = default;
    BackgroundMusic(const BackgroundMusic&) = default;
    BackgroundMusic& operator=(const BackgroundMusic&) = default;
};

}  // namespace lurvane::win32
