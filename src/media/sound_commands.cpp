#include "media/sound_commands.h"

#include <algorithm>

#include "util/text_rules.h"

namespace lurvane {
namespace {

std::string Command(std::string_view verb, std::string_view tail = {}) {
    std::string text(verb);
    text += ' ';
    text += kSoundAlias;
    text += tail;
    return text;
}

bool NeedsNoQuotes(std::string_view path) {
    return !path.empty() &&
           std::none_of(path.begin(), path.end(), [](char c) { return c == ' ' || static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

std::optional<SoundCommand> OpenSoundCommand(std::string_view longPath, std::optional<std::string_view> shortPath) {
    // A quote in the name would end the quoted path early and let the rest of the name add
    // options to the command: no such file can be played.
    if (longPath.empty() || longPath.find('"') != std::string_view::npos) return std::nullopt;
    const std::string tail = " type MPEGVideo alias " + std::string(kSoundAlias);
    if (shortPath && NeedsNoQuotes(*shortPath)) return SoundCommand{"open " + std::string(*shortPath) + tail, MciCall::Ansi};
    return SoundCommand{"open \"" + std::string(longPath) + "\"" + tail, MciCall::Wide};
}

std::string PlaySoundCommand(bool repeat) { return Command("play", repeat ? " from 0 repeat" : " from 0"); }
std::string StopSoundCommand() { return Command("stop"); }
std::string CloseSoundCommand() { return Command("close"); }

std::string SoundPositionQuery() { return Command("status", " position"); }
std::string SoundLengthQuery() { return Command("status", " length"); }
std::string SoundModeQuery() { return Command("status", " mode"); }

int32_t SoundMillisecondsFromReply(std::string_view reply) { return Int32ValueOrZero(StripAfterNul(reply)); }
std::string SoundModeFromReply(std::string_view reply) { return std::string(StripAfterNul(reply)); }

}  // namespace lurvane
