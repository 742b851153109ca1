#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/memory_settings_store.h"

namespace lurvane {
namespace {

using enum SettingId;

TEST(StoredText, EmptyIsOneNulAndReadingCutsAtNulAndDropsSurroundingSpaces) {
    EXPECT_EQ(StoredDataFromText(""), std::string(1, '\0'));
    EXPECT_EQ(TextFromStoredData(std::string(1, '\0')), "");
    EXPECT_EQ(TextFromStoredData(std::string("  42 \0junk", 10)), "42");
    EXPECT_EQ(TextFromStoredData("  C:\\a b.jpg  "), "C:\\a b.jpg");
    EXPECT_EQ(TextFromStoredData(std::string(20000, 'x')).size(), kStoredTextLimit);
    // A cut never splits a character: 16 298 ASCII bytes, then a two-byte character.
    std::string wide = std::string(kStoredTextLimit - 1, 'x') + "\xC3\xBC";
    EXPECT_EQ(TextFromStoredData(wide).size(), kStoredTextLimit - 1);
}

TEST(StoredText, ALongListIsCutAtAPointBoundaryAndOtherTextIsNot) {
    std::string list;
    while (list.size() < 20000) list += "1234,567;";
    list.pop_back();
    std::string fitted = FitListForStore(list);
    EXPECT_LE(fitted.size(), 16298u);
    EXPECT_GT(fitted.size(), 16298u - 9);
    EXPECT_EQ(fitted, list.substr(0, fitted.size()));
    EXPECT_NE(fitted.back(), ';');
    EXPECT_EQ(list[fitted.size()], ';');

    EXPECT_EQ(FitListForStore(std::string(20000, 'p')).size(), 20000u);
    const std::string shortList = "1,2;3,4";
    EXPECT_EQ(FitListForStore(shortList), shortList);
}

TEST(LoadSettings, AnEmptyStoreLeavesTheDefaultsAndGerman) {
    MemorySettingsStore store;
    SettingsModel model;
    model.SetNumber(Language, 2);
    EXPECT_TRUE(LoadSettings(model, store).empty());
    for (const SettingInfo& info : kSettingsTable) EXPECT_EQ(model.Text(info.Id), info.Default) << info.Name;
    EXPECT_EQ(model.Path().Count(), 1u);
    // Read in the fixed order, the two check boxes last.
    const std::vector<std::string> order{"Language", "Framerate", "WaveFreq", "WaveDirection", "WaveCount",
                                         "WaveAmp", "WaveAsc", "UseSystemTimer", "BackgroundImage",
                                         "MaximizeBackground", "ColorBackground", "SizeBackground", "PathPoints",
                                         "RestartSec", "BackgroundSound", "LoopSound", "ShowFPS",
                                         "RandomizeBackground"};
    EXPECT_EQ(store.ReadLog(), order);
}

TEST(LoadSettings, EachValueIsAppliedOnItsOwnAndNumbersAreBroughtIntoTheirRanges) {
    MemorySettingsStore store;
    store.SetData("Language", "4");
    store.SetData("Framerate", "101");
    store.SetData("WaveFreq", "70000");
    store.SetData("WaveAmp", "3.5");
    store.SetData("WaveCount", "abc");  // a text without a number is 0, which the range allows
    store.SetData("WaveAsc", "0");
    store.SetData("MaximizeBackground", "0");
    store.SetData("ColorBackground", "&H123456789");  // beyond 32 bits: the only refusal left
    store.SetData("SizeBackground", "-50");
    store.SetData("RestartSec", " 1500 ");
    store.SetData("BackgroundSound", "music.mp3");
    SettingsModel model;
    std::vector<SettingId> refused = LoadSettings(model, store);
    EXPECT_EQ(refused, (std::vector<SettingId>{ColorBackground}));
    EXPECT_EQ(model.Number(Language), 1);
    EXPECT_EQ(model.Number(Framerate), 100);
    EXPECT_EQ(model.Number(WaveFreq), 100);
    EXPECT_EQ(model.Number(WaveAmp), 4);
    EXPECT_EQ(model.Number(WaveCount), 0);
    EXPECT_EQ(model.Text(WaveAsc), "1");
    EXPECT_FALSE(model.IsChecked(MaximizeBackground));
    EXPECT_EQ(model.BackgroundColour(), kButtonFaceColour);
    EXPECT_EQ(model.Number(SizeBackground), 50);
    EXPECT_EQ(model.Number(RestartSec), 1500);
    EXPECT_EQ(model.Text(BackgroundSound), "music.mp3");
}

TEST(LoadSettings, CheckBoxesTakeAnyNonZeroNumberAndHexColoursAreSystemColours) {
    MemorySettingsStore store;
    store.SetData("ShowFPS", "2");
    store.SetData("RandomizeBackground", "-1");
    store.SetData("UseSystemTimer", "0");
    store.SetData("LoopSound", "&HFFFF");
    store.SetData("ColorBackground", "&H80000005");
    SettingsModel model;
    EXPECT_TRUE(LoadSettings(model, store).empty());
    EXPECT_TRUE(model.IsChecked(ShowFPS));
    EXPECT_TRUE(model.IsChecked(RandomizeBackground));
    EXPECT_FALSE(model.IsChecked(UseSystemTimer));
    EXPECT_TRUE(model.IsChecked(LoopSound));
    EXPECT_EQ(model.BackgroundColour(), 0x80000005u);
    // Saved again in the dialog's own form, they read back alike.
    MemorySettingsStore saved;
    SaveSettings(model, saved);
    EXPECT_EQ(saved.Data("ShowFPS"), "1");
    EXPECT_EQ(saved.Data("ColorBackground"), "-2147483643");
    store.SetData("ColorBackground", "&H8000000F");
    store.SetData("SizeBackground", "&H4B");
    LoadSettings(model, store);
    EXPECT_EQ(model.BackgroundColour(), kButtonFaceColour);
    EXPECT_EQ(model.Number(SizeBackground), 75);
}

TEST(LoadSettings, MissingCheckBoxesClearAndAStoredPathReplacesTheMarkers) {
    MemorySettingsStore store;
    store.SetData("PathPoints", "100,200;300,400;500,600");
    SettingsModel model;
    model.SetNumber(ShowFPS, 1);
    model.SetNumber(RandomizeBackground, 1);
    model.Path().AddPathPoint(1, 1);
    LoadSettings(model, store);
    EXPECT_FALSE(model.IsChecked(ShowFPS));
    EXPECT_FALSE(model.IsChecked(RandomizeBackground));
    EXPECT_EQ(model.Text(PathPoints), "100,200;300,400;500,600");
    // Loading again (Cancel) restores the same path rather than adding to it.
    LoadSettings(model, store);
    EXPECT_EQ(model.Path().Count(), 3u);
}

TEST(SaveSettings, WritesAllEighteenInOrderAndTheyReadBackAlike) {
    SettingsModel saved;
    saved.SetNumber(Language, 3);
    saved.SetNumber(Framerate, 42);
    saved.SetNumber(WaveDirection, 1);
    saved.SetText(WaveAsc, "0012");
    saved.SetNumber(ShowFPS, 1);
    saved.SetNumber(UseSystemTimer, 0);
    saved.SetText(BackgroundImage, "C:\\Bilder f\xC3\xBCr Oma\\Strand.jpg");
    saved.SetText(PathPoints, "100,200;-30,4000;2500,3000");
    saved.SetNumber(RandomizeBackground, 1);
    saved.SetNumber(MaximizeBackground, 0);
    saved.SetNumber(ColorBackground, 0x00336699);
    saved.SetText(SizeBackground, "75");
    saved.SetText(RestartSec, "0");
    saved.SetText(BackgroundSound, "D:\\M\xC3\xBCsik\\\xE6\xB3\xA2.mp3");
    saved.SetNumber(LoopSound, 0);
    saved.ZoomIn();  // the path is stored at zoom factor 1 all the same

    MemorySettingsStore store;
    EXPECT_TRUE(SaveSettings(saved, store));
    std::vector<std::string> names;
    for (const SettingInfo& info : kSettingsTable) names.emplace_back(info.Name);
    EXPECT_EQ(store.WriteLog(), names);
    EXPECT_EQ(store.Data("PathPoints"), "100,200;-30,4000;2500,3000");
    EXPECT_EQ(store.Data("WaveAsc"), "0012");

    SettingsModel loaded;
    EXPECT_TRUE(LoadSettings(loaded, store).empty());
    for (const SettingInfo& info : kSettingsTable) EXPECT_EQ(loaded.Text(info.Id), saved.Text(info.Id)) << info.Name;
}

TEST(SaveSettings, AFailedWriteDoesNotStopTheOthers) {
    MemorySettingsStore store;
    store.FailWrites(true);
    EXPECT_FALSE(SaveSettings(SettingsModel(), store));
    EXPECT_EQ(store.WriteLog().size(), kSettingCount);
}

}  // namespace
}  // namespace lurvane
