#include "settings/settings_model.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace lurvane {
namespace {

using enum SettingId;

TEST(SettingsModel, AFreshModelHoldsEveryDefaultOfTheTable) {
    SettingsModel model;
    for (const SettingInfo& info : kSettingsTable) EXPECT_EQ(model.Text(info.Id), info.Default) << info.Name;
    EXPECT_EQ(model.Path().Count(), 1u);
    EXPECT_EQ(model.Path().At(0), (MarkerPosition{0, 0}));
    EXPECT_EQ(model.BackgroundColour(), kButtonFaceColour);
    EXPECT_EQ(model.ZoomFactor(), 1);
    EXPECT_EQ(FindSetting("wavefreq"), WaveFreq);
    EXPECT_EQ(FindSetting("Points"), std::nullopt);
}

TEST(SettingsModel, SlidersRefuseValuesOutsideTheirRangeOrSixteenBitsAndKeepTheOldValue) {
    SettingsModel model;
    EXPECT_FALSE(model.SetNumber(Framerate, 0));
    EXPECT_FALSE(model.SetNumber(Framerate, 101));
    EXPECT_FALSE(model.SetNumber(Framerate, 70000));
    EXPECT_FALSE(model.SetText(Framerate, "abc"));  // numeric value 0
    EXPECT_EQ(model.Number(Framerate), 20);
    EXPECT_TRUE(model.SetNumber(Framerate, 100));
    EXPECT_EQ(model.Number(Framerate), 100);

    EXPECT_TRUE(model.SetText(WaveAmp, "2.5"));
    EXPECT_EQ(model.Number(WaveAmp), 2);  // halves to even
    EXPECT_TRUE(model.SetText(WaveAmp, "3.5"));
    EXPECT_EQ(model.Number(WaveAmp), 4);
    EXPECT_FALSE(model.SetNumber(WaveDirection, 2));
    EXPECT_FALSE(model.SetNumber(WaveCount, 33));
    EXPECT_TRUE(model.SetNumber(WaveCount, 0));
}

TEST(SettingsModel, ChecksLanguageDisplayChoiceAndColourTakeOnlyWhatTheirControlsHold) {
    SettingsModel model;
    EXPECT_FALSE(model.SetNumber(ShowFPS, 2));
    EXPECT_FALSE(model.SetNumber(LoopSound, -1));
    EXPECT_TRUE(model.IsChecked(LoopSound));
    EXPECT_FALSE(model.SetNumber(Language, 4));
    EXPECT_TRUE(model.SetNumber(Language, 3));
    EXPECT_EQ(model.Number(Language), 3);

    EXPECT_TRUE(model.SetText(MaximizeBackground, "0"));
    EXPECT_FALSE(model.IsChecked(MaximizeBackground));
    EXPECT_TRUE(model.SetText(MaximizeBackground, "-7"));
    EXPECT_EQ(model.Text(MaximizeBackground), "1");

    EXPECT_TRUE(model.SetNumber(ColorBackground, 0x00FF8040));
    EXPECT_EQ(model.BackgroundColour(), 0x00FF8040u);
    EXPECT_FALSE(model.SetNumber(ColorBackground, 0x01000000));    // neither colour nor system index
    EXPECT_FALSE(model.SetText(ColorBackground, "99999999999"));  // beyond 32 bits
    EXPECT_TRUE(model.SetText(ColorBackground, "-2147483643"));    // system colour 5
    EXPECT_EQ(model.BackgroundColour(), 0x80000005u);
    EXPECT_EQ(model.Text(ColorBackground), "-2147483643");
}

TEST(SettingsModel, NumberBoxesTakeNumberFormAtOnceAndTheirRangeOnFocusLoss) {
    SettingsModel model;
    EXPECT_TRUE(model.SetText(SizeBackground, "12abc"));
    EXPECT_EQ(model.Text(SizeBackground), "12");
    model.CommitNumberBox(SizeBackground);
    EXPECT_EQ(model.Text(SizeBackground), "50");
    EXPECT_TRUE(model.SetText(SizeBackground, "abc"));
    EXPECT_EQ(model.Text(SizeBackground), "0");

    EXPECT_TRUE(model.SetText(RestartSec, "1500"));
    model.CommitNumberBox(RestartSec);
    EXPECT_EQ(model.Number(RestartSec), 999);
    EXPECT_TRUE(model.SetText(RestartSec, "-5"));
    model.CommitNumberBox(RestartSec);
    EXPECT_EQ(model.Number(RestartSec), 0);
    EXPECT_TRUE(model.SetText(RestartSec, "7.5"));
    EXPECT_EQ(model.Text(RestartSec), "8");

    EXPECT_FALSE(model.SetText(RestartSec, "1e12"));  // no whole number of 32 bits
    EXPECT_EQ(model.Text(RestartSec), "8");
    // A stored value is checked against the range at once.
    EXPECT_FALSE(model.ApplyStoredText(SizeBackground, "300"));
    EXPECT_TRUE(model.ApplyStoredText(SizeBackground, "75"));
    EXPECT_EQ(model.Number(SizeBackground), 75);
}

TEST(SettingsModel, TheSmoothingTagKeepsItsTextButOnlyWithinOneToAHundred) {
    SettingsModel model;
    EXPECT_TRUE(model.SetText(WaveAsc, "0012"));
    EXPECT_EQ(model.Text(WaveAsc), "0012");
    EXPECT_EQ(model.Number(WaveAsc), 12);
    for (const char* bad : {"0", "-3", "abc", "101", "1e30"}) EXPECT_FALSE(model.SetText(WaveAsc, bad)) << bad;
    EXPECT_EQ(model.Text(WaveAsc), "0012");
    EXPECT_TRUE(model.SetNumber(WaveAsc, 40));
    EXPECT_EQ(model.Text(WaveAsc), "40");
    EXPECT_FALSE(model.SetNumber(WaveAsc, 0));
}

TEST(SettingsModel, TextsAndThePathAreNoNumbers) {
    SettingsModel model;
    EXPECT_THROW(model.Number(BackgroundImage), std::invalid_argument);
    EXPECT_FALSE(model.SetNumber(PathPoints, 3));
    EXPECT_FALSE(model.SetText(BackgroundSound, std::string("a\0b", 3)));
    EXPECT_TRUE(model.SetText(BackgroundImage, "C:\\Bilder f\xC3\xBCr Oma\\Strand.jpg"));
    EXPECT_EQ(model.Text(BackgroundImage), "C:\\Bilder f\xC3\xBCr Oma\\Strand.jpg");
}

TEST(SettingsModel, ZoomRunsFromOneToFourAndCarriesTheMarkers) {
    SettingsModel model;
    model.SetText(PathPoints, "100,200;1000,50");
    for (int i = 0; i < 6; ++i) model.ZoomIn();
    EXPECT_EQ(model.ZoomFactor(), 4);
    EXPECT_FALSE(model.ZoomIn());
    // Centres scale about the origin: (100 + 97.5) x 4 - 97.5.
    EXPECT_FLOAT_EQ(model.Path().At(0).Left, 692.5f);
    EXPECT_EQ(model.Text(PathPoints), "100,200;1000,50");

    // A stored path given at zoom 4 lands where the preview shows it.
    model.SetText(PathPoints, "0,0");
    EXPECT_FLOAT_EQ(model.Path().At(0).Top, 292.5f);
    while (model.ZoomOut()) {
    }
    EXPECT_EQ(model.ZoomFactor(), 1);
    EXPECT_EQ(model.Path().At(0), (MarkerPosition{0, 0}));
}

}  // namespace
}  // namespace lurvane
