#include "media/win32/sound.h"

namespace lurvane::win32 {

bool Sound::Open(const std::string& file) {
    const std::optional<SoundCommand> open = OpenSoundCommand(file, device_.ShortPath(file));
    return open && device_.Send(*open) == 0;
}

bool Sound::PlayBackgroundSound(const std::string& file, bool repeat) {
    // A device left open by a failed play stays open until the next stop, as callers expect.
    if (!Open(file) || device_.Send({PlaySoundCommand(repeat), MciCall::Ansi}) != 0) return false;
    playing_ = true;
    return true;
}

void Sound::OpenBackgroundSound(const std::string& file) { Open(file); }

void Sound::StopBackgroundSound() {
    device_.Send({StopSoundCommand(), MciCall::Ansi});
    device_.Send({CloseSoundCommand(), MciCall::Ansi});
    playing_ = false;
}

int32_t Sound::GetSoundPosition() { return SoundMillisecondsFromReply(device_.Query(SoundPositionQuery())); }
int32_t Sound::GetSoundLength() { return SoundMillisecondsFromReply(device_.Query(SoundLengthQuery())); }
std::string Sound::GetSoundMode() { return SoundModeFromReply(device_.Query(SoundModeQuery())); }

}  // namespace lurvane::win32
