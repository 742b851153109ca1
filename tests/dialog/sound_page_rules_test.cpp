#include "dialog/sound_page_rules.h"

#include <gtest/gtest.h>

namespace lurvane {
namespace {

TEST(SoundPageRules, DurationsRoundToTenthsHalvesToEvenInTheLocalesForm) {
    EXPECT_EQ(SecondsText(215250, ".", true), "215.2");
    EXPECT_EQ(SecondsText(215350, ".", true), "215.4");
    EXPECT_EQ(SecondsText(215251, ",", true), "215,3");
    EXPECT_EQ(SecondsText(1000, ".", true), "1") << "a whole number shows without decimals";
    EXPECT_EQ(SecondsText(1000, ".", false), "1.0") << "the progress label always keeps one";
    EXPECT_EQ(SecondsText(12449, ",", false), "12,4");
    EXPECT_EQ(SecondsText(0, ".", true), "0");
    EXPECT_EQ(SecondsText(-1500, ".", true), "-1.5");
}

TEST(SoundPageRules, TheInformationBoxNamesTheTagOrItsAbsence) {
    const Language english(kEnglish);
    EXPECT_EQ(SoundInfoText(english, 215250, false, SongTag{"T", "A", "B", "1999"}, "."), "Duration: 215.2 sec.")
        << "only MP3 files show a tag";
    EXPECT_EQ(SoundInfoText(english, 1000, true, std::nullopt, "."), "Duration: 1 sec.\r\nno ID3v2 Tag");
    EXPECT_EQ(SoundInfoText(english, 61050, true, SongTag{"Wellen", "Meer", "Küste", "2024"}, ","),
              "Duration: 61 sec.\r\nTitle: Wellen\r\nArtist: Meer\r\nAlbum: Küste\r\nYear: 2024");
    EXPECT_NE(SoundInfoText(Language(kGerman), 1000, true, std::nullopt, "."),
              SoundInfoText(english, 1000, true, std::nullopt, "."));

    EXPECT_TRUE(IsMp3Name("C:\\Musik\\LIED.MP3"));
    EXPECT_FALSE(IsMp3Name("C:\\Musik.mp3\\Lied.wav"));
    EXPECT_FALSE(IsMp3Name("C:\\Musik\\mp3"));
}

TEST(SoundPageRules, TheProgressBarStaysInsideItsFrame) {
    EXPECT_EQ(ProgressBarWidth(200, 1000, 500), 100);
    EXPECT_EQ(ProgressBarWidth(200, 0, 500), 0);
    EXPECT_EQ(ProgressBarWidth(200, 1000, 1300), 200);
    EXPECT_EQ(ProgressBarWidth(200, 1000, -10), 0);
    EXPECT_EQ(ProgressBarWidth(200, 3, 1), 66);
}

}  // namespace
}  // namespace lurvane
