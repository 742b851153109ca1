// The command texts that play background music through the Windows multimedia command-string
// interface, and the reading of the device's replies. Everything here is text; the shell only
// sends these strings and hands the replies back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lurvane {

// Every command names the one device alias, so at most one sound is open at any moment.
inline constexpr std::string_view kSoundAlias = "LurvaneSound";

// Which entry point a command text goes through: the ANSI one, or the wide-character one for
// a text that the ANSI code page may not hold.
enum class MciCall { Ansi, Wide };

struct SoundCommand {
    std::string Text;
    MciCall Call = MciCall::Ansi;
    friend bool operator==(const SoundCommand&, const SoundCommand&) = default;
};

// The open command for `longPath`, given its short (8.3) form when the system has one. The short
// form needs no quotes, but it is not always there: a volume may keep no short names, and
// then the lookup fails or hands back the long form. A short form that is missing, holds a
// blank or a character outside ASCII is replaced by the long path in quotes, sent wide.
// An empty long path, and one holding a quote, gives no command.
std::optional<SoundCommand> OpenSoundCommand(std::string_view longPath, std::optional<std::string_view> shortPath);

// Always from the start; " repeat" loops the sound until it is stopped.
std::string PlaySoundCommand(bool repeat);
std::string StopSoundCommand();
std::string CloseSoundCommand();

// Status queries, answered in milliseconds (the device's default time format) or a mode word.
std::string SoundPositionQuery();
std::string SoundLengthQuery();
std::string SoundModeQuery();

// A position or length reply read by the numeric-value rule: no number, or one beyond 32 bits,
// gives 0. The reply buffer may hold NULs behind the text.
int32_t SoundMillisecondsFromReply(std::string_view reply);
// The mode word ("playing", "stopped"), the empty text for an empty reply.
std::string SoundModeFromReply(std::string_view reply);

}  // namespace lurvane
