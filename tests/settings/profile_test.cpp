#include "settings/profile.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/file_bytes.h"
#include "settings/ini_file.h"
#include "settings/memory_settings_store.h"
#include "settings/settings_store.h"
#include "support/temp_folder.h"
#include "util/file_functions.h"

namespace lurvane {
namespace {

using enum SettingId;
using testing::TempFolder;

std::string WaveValues(const SettingsModel& model) {
    std::string text;
    for (SettingId id : {WaveDirection, WaveCount, WaveFreq, WaveAmp, WaveAsc, Framerate}) text += model.Text(id) + " ";
    return text;
}

TEST(Profile, AMissingFileGivesEveryDefaultAndKeepsOnlyMarkerZero) {
    TempFolder folder;
    SettingsModel model;
    model.SetText(PathPoints, "300,400;10,10;20,20");
    model.SetNumber(WaveAmp, 9);
    model.ZoomIn();
    model.ZoomIn();  // zoom 2: marker 0 now has its top-left corner at 697.5, 897.5
    model.SetProfilePath(folder.Path("missing.rpp"));
    EXPECT_TRUE(LoadINI(model).Complete());
    EXPECT_EQ(WaveValues(model), "1 6 30 2 1 20 ");
    ASSERT_EQ(model.Path().Count(), 1u);
    EXPECT_EQ(model.Path().At(0), (MarkerPosition{697.5f, 897.5f}));  // stays where it was
}

TEST(Profile, ARefusedValueStopsTheLoadWithThePathAlreadyReplaced) {
    TempFolder folder;
    const std::string file = folder.Path("count40.rpp");
    TempFolder::Write(file, "[Path]\nPoints=;500;abc,def\n[Wave]\nDirection=1\nCount=40\nFreq=50\nAmp=5\nAsc=7\n"
                            "[Animation]\nFramerate=30\n");
    SettingsModel model;
    model.SetText(PathPoints, "11,22;33,44");
    model.SetProfilePath(file);
    ProfileLoadResult result = LoadINI(model);
    EXPECT_EQ(result.StoppedAt, WaveCount);
    EXPECT_EQ(WaveValues(model), "1 6 30 2 1 20 ");
    EXPECT_EQ(model.Text(PathPoints), "11,22;500,0;0,0");

    TempFolder::Write(file, "[Wave]\nAsc=0012\n[Animation]\nFramerate=30\n");
    EXPECT_TRUE(LoadINI(model).Complete());
    EXPECT_EQ(model.Text(WaveAsc), "12");
    EXPECT_EQ(model.Number(Framerate), 30);
    // The smoothing never stops a load: any whole number from 1 up, anything else counts as 1.
    for (const char* asc : {"0", "-4", "abc", "150"}) {
        TempFolder::Write(file, std::string("[Wave]\nAsc=") + asc + "\n[Animation]\nFramerate=40\n");
        model.SetNumber(Framerate, 30);
        EXPECT_TRUE(LoadINI(model).Complete()) << asc;
        EXPECT_EQ(model.Text(WaveAsc), asc == std::string("150") ? "150" : "1") << asc;
        EXPECT_EQ(model.Number(Framerate), 40) << asc;
    }
}

TEST(Profile, SavingAtAnyZoomWritesTheNumbersOfZoomOne) {
    TempFolder folder;
    SettingsModel model;
    model.SetText(PathPoints, "1200,300;2400,900;601,1501");
    model.SetNumber(WaveCount, 12);
    model.SetText(WaveAsc, "07");
    model.SetProfilePath(folder.Path("zoom1.rpp"));
    ASSERT_TRUE(SaveINI(model));
    const std::string atOne = TempFolder::Read(folder.Path("zoom1.rpp"));
    EXPECT_EQ(atOne, "[Path]\r\nPoints=1200,300;2400,900;601,1501\r\n[Wave]\r\nDirection=0\r\nCount=12\r\nFreq=30\r\n"
                     "Amp=2\r\nAsc=07\r\n[Animation]\r\nFramerate=20\r\n");
    for (int steps : {1, 2, 6}) {
        SettingsModel zoomed = model;
        for (int i = 0; i < steps; ++i) zoomed.ZoomIn();
        const auto markers = zoomed.Path().Positions();
        const std::string file = folder.Path("zoom" + std::to_string(steps) + ".rpp");
        zoomed.SetProfilePath(file);
        ASSERT_TRUE(SaveINI(zoomed));
        EXPECT_EQ(TempFolder::Read(file), atOne) << "zoom " << zoomed.ZoomFactor();
        EXPECT_EQ(zoomed.Path().Positions(), markers);

        // Loading it back at that zoom puts the markers where they were.
        SettingsModel reloaded;
        for (int i = 0; i < steps; ++i) reloaded.ZoomIn();
        reloaded.SetProfilePath(file);
        ASSERT_TRUE(LoadINI(reloaded).Complete());
        EXPECT_EQ(reloaded.Text(PathPoints), model.Text(PathPoints));
    }
    // A write that fails leaves the markers as they were.
    SettingsModel failing = model;
    failing.ZoomIn();
    const auto markers = failing.Path().Positions();
    failing.SetProfilePath(folder.Path("no such folder/x.rpp"));
    EXPECT_FALSE(SaveINI(failing));
    EXPECT_EQ(failing.Path().Positions(), markers);
}

TEST(Profile, ASaveEndsAtTheReadLimitOrIsRefusedWholeWithTheFileUnchanged) {
    TempFolder folder;
    SettingsModel model;
    model.SetText(PathPoints, "1200,300;2400,900;601,1501");
    model.SetNumber(WaveCount, 12);
    model.SetProfilePath(folder.Path("fresh.rpp"));
    ASSERT_TRUE(SaveINI(model));
    const std::string fresh = TempFolder::Read(model.ProfilePath());
    const auto comment = [](std::size_t size) { return ";" + std::string(size - 3, 'x') + "\r\n"; };

    // A save that ends exactly at the limit is written and reads back.
    const std::string file = folder.Path("full.rpp");
    const std::string filler = comment(kIniFileLimit - fresh.size());
    TempFolder::Write(file, filler);
    model.SetProfilePath(file);
    ASSERT_TRUE(SaveINI(model));
    EXPECT_EQ(TempFolder::Read(file), filler + fresh);
    SettingsModel reread;
    reread.SetProfilePath(file);
    EXPECT_TRUE(LoadINI(reread).Complete());
    EXPECT_EQ(reread.Text(PathPoints), model.Text(PathPoints));

    // With less room, not even the first value is written.
    const std::string old = "[Wave]\r\nCount=7\r\n" + comment(kIniFileLimit - 10 - 17);
    TempFolder::Write(file, old);
    EXPECT_FALSE(SaveINI(model));
    EXPECT_TRUE(TempFolder::Read(file) == old) << "the file is as it was";
    EXPECT_TRUE(LoadINI(reread).Complete());
    EXPECT_EQ(reread.Number(WaveCount), 7);
}

TEST(Profile, APictureInAFolderWithUmlautsFindsItsProfileAfterAStoreRoundTrip) {
    TempFolder folder;
    TempFolder::MakeFolder(folder.Path("Bilder f\xC3\xBCr Oma"));
    const std::string picture = folder.Path("Bilder f\xC3\xBCr Oma/Strand.jpg");
    TempFolder::Write(picture, "jpeg");
    TempFolder::Write(GetProfilePath(picture), "[Wave]\r\nCount=11\r\n");

    SettingsModel saved;
    saved.SetText(BackgroundImage, picture);
    MemorySettingsStore store;
    SaveSettings(saved, store);
    SettingsModel loaded;
    LoadSettings(loaded, store);
    ASSERT_EQ(loaded.Text(BackgroundImage), picture);
    EXPECT_TRUE(CheckFileExistance(loaded.Text(BackgroundImage)));
    loaded.SetProfilePath(GetProfilePath(loaded.Text(BackgroundImage)));
    ASSERT_TRUE(CheckFileExistance(loaded.ProfilePath()));
    EXPECT_TRUE(LoadINI(loaded).Complete());
    EXPECT_EQ(loaded.Number(WaveCount), 11);
}

}  // namespace
}  // namespace lurvane
