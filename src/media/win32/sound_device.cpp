#include "media/win32/sound_device.h"

#include <windows.h>
#include <mmsystem.h>

#include <iterator>

#include "util/win32/text_convert.h"

namespace lurvane::win32 {

std::optional<std::string> MciSoundDevice::ShortPath(const std::string& longPath) {
    wchar_t buffer[255] = {};
    const DWORD length = GetShortPathNameW(Widen(longPath).c_str(), buffer, static_cast<DWORD>(std::size(buffer)));
    // A form that does not fit comes back as the size it needs, with nothing copied.
    if (length == 0 || length >= std::size(buffer)) return std::nullopt;
    return Narrow(std::wstring_view(buffer, length));
}

uint32_t MciSoundDevice::Send(const SoundCommand& command) {
    // The ANSI call gets only ASCII texts: the open command's short form is checked for that,
    // and the others are fixed words around the alias.
    if (command.Call == MciCall::Wide) return mciSendStringW(Widen(command.Text).c_str(), nullptr, 0, nullptr);
    return mciSendStringA(command.Text.c_str(), nullptr, 0, nullptr);
}

std::string MciSoundDevice::Query(const std::string& command) {
    char reply[255] = {};
    mciSendStringA(command.c_str(), reply, static_cast<UINT>(std::size(reply)), nullptr);
    return std::string(reply, std::size(reply));
}

}  // namespace lurvane::win32
