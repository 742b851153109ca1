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
    // Any number that does not round to 0 checks a box, which then holds 1.
    EXPECT_TRUE(model.SetNumber(ShowFPS, 2));
    EXPECT_EQ(model.Text(ShowFPS), "1");
    EXPECT_TRUE(model.SetText(RandomizeBackground, "-1"));
    EXPECT_TRUE(model.IsChecked(RandomizeBackground));
    EXPECT_TRUE(model.SetText(LoopSound, "0.4"));
    EXPECT_FALSE(model.IsChecked(LoopSound));
    EXPECT_TRUE(model.SetNumber(LoopSound, 70000));
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
}

TEST(SettingsModel, StoredNumbersOutsideTheRangesAreClampedButTheRestartIsKept) {
    SettingsModel model;
    struct Case {
        SettingId Id;
        const char* Stored;
        const char* Taken;
    };
    for (const Case& c : {Case{SizeBackground, "30", "50"}, Case{SizeBackground, "130", "100"},
                          Case{SizeBackground, "74.5", "74"}, Case{SizeBackground, "abc", "50"},
                          Case{Framerate, "0", "1"}, Case{Framerate, "101", "100"}, Case{Framerate, "70000", "100"},
                          Case{WaveFreq, "-1e300", "2"}, Case{WaveDirection, "&HFFFF", "0"},
                          Case{WaveCount, "40", "32"}, Case{WaveAmp, "3.5", "4"},
                          // The saver restarts after as long as is stored; below 1, never.
                          Case{RestartSec, "1500", "1500"}, Case{RestartSec, "-5", "-5"},
                          Case{RestartSec, "1e12", "2147483647"}}) {
        EXPECT_TRUE(model.ApplyStoredText(c.Id, c.Stored)) << c.Stored;
        EXPECT_EQ(model.Text(c.Id), c.Taken) << Describe(c.Id).Name << " " << c.Stored;
    }
    // The dialog's box limits a kept restart time when it loses focus.
    model.CommitNumberBox(RestartSec);
    EXPECT_EQ(model.Number(RestartSec), 999);
    // What the dialog's controls offer is still refused outside the range.
    EXPECT_FALSE(model.SetNumber(Framerate, 101));
    EXPECT_EQ(model.Number(Framerate), 100);
}

TEST(SettingsModel, TheSmoothingTagIsAnyWholeNumberFromOneAndNothingLessThanOne) {
    SettingsModel model;
    EXPECT_TRUE(model.SetText(WaveAsc, "0012"));
    EXPECT_EQ(model.Text(WaveAsc), "0012");
    EXPECT_EQ(model.Number(WaveAsc), 12);
    EXPECT_TRUE(model.SetText(WaveAsc, "150"));  // ramps over more than the whole area
    EXPECT_EQ(model.Number(WaveAsc), 150);
    EXPECT_TRUE(model.ApplyStoredText(WaveAsc, "2.5"));
    EXPECT_EQ(model.Text(WaveAsc), "2.5");
    EXPECT_EQ(model.Number(WaveAsc), 2);
    for (const char* low : {"0", "-3", "abc", "0.5", ""}) {
        model.SetText(WaveAsc, "40");
        EXPECT_TRUE(model.SetText(WaveAsc, low)) << low;
        EXPECT_EQ(model.Text(WaveAsc), "1") << low;
    }
    EXPECT_TRUE(model.SetText(WaveAsc, "1e30"));
    EXPECT_EQ(model.Number(WaveAsc), 2147483647);
    EXPECT_TRUE(model.SetNumber(WaveAsc, 40));
    EXPECT_EQ(model.Text(WaveAsc), "40");
    EXPECT_TRUE(model.SetNumber(WaveAsc, -7));
    EXPECT_EQ(model.Text(WaveAsc), "1");
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
