#include "media/sound_commands.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lurvane {
namespace {

using namespace std::string_literals;

TEST(SoundCommands, TextsAreExactlyTheDevicesCommands) {
    EXPECT_EQ(OpenSoundCommand("C:\\Program Files\\Music\\Summer Song.mp3", "C:\\PROGRA~1\\Music\\SUMMER~1.MP3"),
              (SoundCommand{"open C:\\PROGRA~1\\Music\\SUMMER~1.MP3 type MPEGVideo alias LurvaneSound", MciCall::Ansi}));
    EXPECT_EQ(PlaySoundCommand(false), "play LurvaneSound from 0");
    EXPECT_EQ(PlaySoundCommand(true), "play LurvaneSound from 0 repeat");
    EXPECT_EQ(StopSoundCommand(), "stop LurvaneSound");
    EXPECT_EQ(CloseSoundCommand(), "close LurvaneSound");
    EXPECT_EQ(SoundPositionQuery(), "status LurvaneSound position");
    EXPECT_EQ(SoundLengthQuery(), "status LurvaneSound length");
    EXPECT_EQ(SoundModeQuery(), "status LurvaneSound mode");
}

TEST(SoundCommands, TheLongPathGoesQuotedAndWideWhenTheShortFormCannotServe) {
    const std::string tail = " type MPEGVideo alias LurvaneSound";
    const struct {
        const char* LongPath;
        std::optional<std::string_view> ShortPath;
        const char* Why;
    } cases[] = {
        {"D:\\Musik\\Lied.mp3", std::nullopt, "no short form"},
        {"D:\\Musik\\Lied.mp3", "", "an empty short form"},
        {"D:\\Meine Musik\\Lied.mp3", "D:\\Meine Musik\\Lied.mp3", "no short names on the volume"},
        {"D:\\Musik\\Grüße.mp3", "D:\\Musik\\Grüße.mp3", "a character outside ASCII"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpenSoundCommand(c.LongPath, c.ShortPath), (SoundCommand{"open \""s + c.LongPath + "\"" + tail, MciCall::Wide}))
            << c.Why;
    EXPECT_EQ(OpenSoundCommand("", std::nullopt), std::nullopt);
    EXPECT_EQ(OpenSoundCommand("", "X.MP3"), std::nullopt);
}

TEST(SoundCommands, APathHoldingAQuoteGivesNoCommand) {
    // Its quote would end the quoted name and let the rest of it add words to the open.
    const std::string_view hostile = "D:\\Musik\\x.mp3\" wait alias Fremd \"";
    EXPECT_EQ(OpenSoundCommand(hostile, std::nullopt), std::nullopt);
    EXPECT_EQ(OpenSoundCommand(hostile, "D:\\X.MP3"), std::nullopt);
}

TEST(SoundCommands, RepliesAreReadByTheNumericRuleAndNeverFail) {
    EXPECT_EQ(SoundMillisecondsFromReply("215040\0\0\0\0"s), 215040);
    EXPECT_EQ(SoundMillisecondsFromReply(" 1 500"), 1500);
    EXPECT_EQ(SoundMillisecondsFromReply("12.5"), 12);  // halves go to the even neighbour
    EXPECT_EQ(SoundMillisecondsFromReply("13.5"), 14);
    EXPECT_EQ(SoundMillisecondsFromReply(""), 0);  // a device that is not open leaves the buffer empty
    EXPECT_EQ(SoundMillisecondsFromReply("stopped"), 0);
    EXPECT_EQ(SoundMillisecondsFromReply("99999999999"), 0);
    EXPECT_EQ(SoundMillisecondsFromReply("\0" "42"s), 0);
    EXPECT_EQ(SoundModeFromReply("playing\0\0\0"s), "playing");
    EXPECT_EQ(SoundModeFromReply(std::string(255, '\0')), "");
}

}  // namespace
}  // namespace lurvane
