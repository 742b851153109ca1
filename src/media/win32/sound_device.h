// What the background music needs of the platform: the short form of a file name, and the
// multimedia command strings. Tests put a recording fake in its place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "media/sound_commands.h"

namespace lurvane::win32 {

class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    // The short (8.3) form of `longPath`; none when the lookup fails or the form does not fit
    // its buffer.
    virtual std::optional<std::string> ShortPath(const std::string& longPath) = 0;
    // Sends a command that needs no reply; the device's return code, 0 for success.
    virtual uint32_t Send(const SoundCommand& command) = 0;
    // Sends a status query; the whole reply buffer, NUL-padded behind the reply text.
    virtual std::string Query(const std::string& command) = 0;

protected:
    SoundDevice() = default;
    SoundDevice(const SoundDevice&) = default;
    SoundDevice& operator=(const SoundDevice&) = default;
};

// The real one: GetShortPathNameW and the MCI string calls of winmm.
class MciSoundDevice final : public SoundDevice {
public:
    std::optional<std::string> ShortPath(const std::string& longPath) override;
    uint32_t Send(const SoundCommand& command) override;
    std::string Query(const std::string& command) override;
};

}  // namespace lurvane::win32
