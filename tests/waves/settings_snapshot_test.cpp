#include "waves/settings_snapshot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/memory_settings_store.h"
#include "support/temp_folder.h"
#include "support/trace_capture.h"

namespace lurvane {
namespace {

using enum SettingId;
using testing::TempFolder;

SnapshotEnvironment Screen(double width, double height, std::optional<PictureSize> picture = std::nullopt) {
    SnapshotEnvironment env;
    env.ScreenWidth = width;
    env.ScreenHeight = height;
    env.LoadPicture = [picture](const std::string&) { return picture; };
    env.PickRandomBackground = [](const std::string& current, bool) { return current; };
    return env;
}

SettingsModel Proportional(int sizePercent, const char* picture = "pic.jpg") {
    SettingsModel model;
    model.SetNumber(MaximizeBackground, 0);
    model.SetNumber(SizeBackground, sizePercent);
    model.SetText(BackgroundImage, picture);
    return model;
}

// Screen pixels of the displayed picture's width, from the factor (preview width is 333 px).
int DisplayWidth(const EngineSettings& engine) { return static_cast<int>(std::lround(engine.FactorX * 333.0)); }
int DisplayHeight(const EngineSettings& engine) { return static_cast<int>(std::lround(engine.FactorY * 249.0)); }

TEST(SettingsSnapshot, APictureIsFittedScaledAndCentred) {
    struct Case {
        PictureSize Picture;
        int Size;
        int W, H, X, Y;
    };
    for (const Case& c : {Case{{1600, 1200}, 100, 1280, 960, 0, 32}, Case{{1600, 1200}, 50, 640, 480, 320, 272},
                          Case{{1000, 2000}, 100, 512, 1024, 384, 0}}) {
        EngineSettings engine;
        SnapshotResult result = SetGlobalSettings(Proportional(c.Size), Screen(1280, 1024, c.Picture), engine);
        EXPECT_FALSE(result.WholeScreen);
        EXPECT_EQ(DisplayWidth(engine), c.W);
        EXPECT_EQ(DisplayHeight(engine), c.H);
        EXPECT_EQ(engine.OffsetX, c.X);
        EXPECT_EQ(engine.OffsetY, c.Y);
        EXPECT_EQ(engine.FactorX, static_cast<float>(c.W * 15.0 / 4995));
    }
}

TEST(SettingsSnapshot, StretchedMissingOrNoPictureCoversTheWholeScreen) {
    struct Case {
        SettingsModel Model;
        std::optional<PictureSize> Picture;
        bool FellBack;
    };
    for (Case& c : std::vector<Case>{{SettingsModel(), PictureSize{1000, 2000}, false},
                                     {Proportional(50), std::nullopt, true},
                                     {Proportional(50), PictureSize{0, 100}, true},
                                     {Proportional(50, ""), std::nullopt, false}}) {
        EngineSettings engine;
        SnapshotResult result = SetGlobalSettings(c.Model, Screen(1280, 1024, c.Picture), engine);
        EXPECT_EQ(result.WholeScreen, c.FellBack);
        EXPECT_EQ(DisplayWidth(engine), 1280);
        EXPECT_EQ(DisplayHeight(engine), 1024);
        EXPECT_EQ(engine.OffsetX, 0);
        EXPECT_EQ(engine.OffsetY, 0);
    }
}

TEST(SettingsSnapshot, ThePathGoesToScreenPixelsAndRelativeToItsBox) {
    // A 333 x 249 picture on a 433 x 249 screen: factors 1, offset 50 to the left.
    SettingsModel model = Proportional(100);
    // Centres at preview pixels (10.5, 20.5), (250, 100) and (300, 200).
    model.SetText(PathPoints, "60,210;3652.5,1402.5;4402.5,2902.5");
    EngineSettings engine;
    SetGlobalSettings(model, Screen(433, 249, PictureSize{333, 249}), engine);
    ASSERT_EQ(engine.FactorX, 1.0f);
    ASSERT_EQ(engine.FactorY, 1.0f);
    EXPECT_EQ(engine.PathPoints, (std::vector<PathPoint>{{60, 20}, {300, 100}, {350, 200}}));
    EXPECT_EQ(engine.Bounds(), (BoundingBox{60, 20, 350, 200}));
    // The halves round to even on their own: 10.5 - 60 + 50 gives 0, 20.5 - 20 gives 0.
    EXPECT_EQ(engine.RelativePathPoints, (std::vector<PathPoint>{{0, 0}, {240, 80}, {290, 180}}));

    model.SetText(PathPoints, "3652.5,1402.5;4402.5,2902.5");
    SetGlobalSettings(model, Screen(433, 249, PictureSize{333, 249}), engine);
    EXPECT_EQ(engine.PathPoints.front().X, 300);
    EXPECT_EQ(engine.RelativePathPoints.front().X, 0);
}

TEST(SettingsSnapshot, CopiesTheSettingsAndReturnsTheColour) {
    SettingsModel model;
    model.SetNumber(Framerate, 25);
    model.SetNumber(ShowFPS, 1);
    model.SetNumber(WaveFreq, 40);
    model.SetNumber(WaveDirection, 1);
    model.SetNumber(WaveCount, 9);
    model.SetNumber(WaveAmp, 3);
    model.SetText(WaveAsc, "0012");
    model.SetText(RestartSec, "60");
    model.SetText(BackgroundSound, "m.mp3");
    model.SetNumber(LoopSound, 0);
    model.SetNumber(ColorBackground, 0x00102030);
    EngineSettings engine;
    engine.WavesRunning = true;
    SnapshotResult result = SetGlobalSettings(model, Screen(800, 600), engine);
    EXPECT_EQ(result.BackgroundColour, 0x00102030u);
    EXPECT_EQ(engine.Framerate, 25);
    EXPECT_TRUE(engine.ShowFPS);
    EXPECT_EQ(engine.WaveFreq, 40);
    EXPECT_EQ(engine.WaveDirection, 1);
    EXPECT_EQ(engine.WaveCount, 9);
    EXPECT_EQ(engine.WaveAmp, 3);
    EXPECT_EQ(engine.WaveAsc, 12);
    EXPECT_TRUE(engine.MaximizeBackground);
    EXPECT_EQ(engine.SizeBackground, 100);
    EXPECT_EQ(engine.RestartSec, 60);
    EXPECT_EQ(engine.BackgroundSound, "m.mp3");
    EXPECT_FALSE(engine.LoopSound);
    EXPECT_FALSE(engine.RandomizeBackground);
    EXPECT_TRUE(engine.WavesRunning);  // run flags are not the snapshot's
}

TEST(SettingsSnapshot, HandEditedStoredValuesReachTheSaverWithTheirMeaning) {
    MemorySettingsStore store;
    store.SetData("MaximizeBackground", "0");
    store.SetData("BackgroundImage", "pic.jpg");
    store.SetData("SizeBackground", "30");
    store.SetData("RestartSec", "1500");
    store.SetData("Framerate", "0");
    store.SetData("ShowFPS", "2");
    store.SetData("WaveAsc", "150");
    store.SetData("ColorBackground", "&H80000005");
    EngineSettings engine;
    SnapshotResult result = SetGlobalSettings(store, Screen(1280, 1024, PictureSize{1600, 1200}), engine);
    // The picture at 50 %, as the dialog's size box would show it.
    EXPECT_EQ(engine.SizeBackground, 50);
    EXPECT_EQ(DisplayWidth(engine), 640);
    EXPECT_EQ(DisplayHeight(engine), 480);
    EXPECT_EQ(engine.OffsetX, 320);
    EXPECT_EQ(engine.OffsetY, 272);
    EXPECT_EQ(engine.RestartSec, 1500);
    EXPECT_EQ(engine.Framerate, 1);
    EXPECT_TRUE(engine.ShowFPS);
    EXPECT_EQ(engine.WaveAsc, 150);
    EXPECT_EQ(result.BackgroundColour, 0x80000005u);
}

TEST(SettingsSnapshot, ARandomPictureBringsItsProfile) {
    TempFolder folder;
    const std::string picture = folder.Path("Beach.jpg");
    TempFolder::Write(folder.Path("Beach.rpp"), "[Path]\r\nPoints=1000,1000;2000,1000;2000,2000\r\n[Wave]\r\nCount=12\r\n");
    MemorySettingsStore store;
    store.SetData("RandomizeBackground", "1");
    store.SetData("BackgroundImage", "stored.jpg");
    std::vector<std::string> asked;
    SnapshotEnvironment env = Screen(1280, 1024);
    env.PickRandomBackground = [&](const std::string& current, bool randomize) {
        asked.push_back(current + (randomize ? "+" : "-"));
        return current.empty() ? picture : current;
    };
    EngineSettings engine;
    SetGlobalSettings(store, env, engine);
    EXPECT_EQ(asked, (std::vector<std::string>{"+", picture + "+"}));
    EXPECT_EQ(engine.BackgroundImage, picture);
    EXPECT_EQ(engine.WaveCount, 12);
    EXPECT_EQ(engine.WaveDirection, 1);
    EXPECT_EQ(engine.PathPoints.size(), 3u);

    // No profile in the folder: the picture becomes empty and ".rpp" is loaded all the same.
    std::string loadedProfile = "not called";
    env.PickRandomBackground = [](const std::string& current, bool) { return current; };
    env.LoadProfile = [&](SettingsModel& model) { loadedProfile = model.ProfilePath(); };
    SetGlobalSettings(store, env, engine = EngineSettings{});
    EXPECT_EQ(loadedProfile, ".rpp");
    EXPECT_EQ(engine.BackgroundImage, "");
}

TEST(SettingsSnapshot, FailuresOfPickerProfileOrPathNeverEscape) {
    SettingsModel model;
    model.SetNumber(RandomizeBackground, 1);
    model.SetText(PathPoints, "30000,30000;0,0");
    SnapshotEnvironment env = Screen(30000, 20000);
    env.PickRandomBackground = [](const std::string&, bool) -> std::string { throw std::runtime_error("disk"); };
    env.LoadPicture = [](const std::string&) -> std::optional<PictureSize> { throw std::runtime_error("decoder"); };
    EngineSettings engine;
    SnapshotResult result;
    ASSERT_NO_THROW(result = SetGlobalSettings(model, env, engine));
    // The first point lies beyond 16 bits on so large a screen, even after the fallback.
    EXPECT_TRUE(result.WholeScreen);
    EXPECT_TRUE(result.PathDropped);
    EXPECT_EQ(engine.PathPoints, (std::vector<PathPoint>{{0, 0}}));
    EXPECT_EQ(engine.Bounds(), BoundingBox{});
}

TEST(SnapshotTrace, TellsHowFarTheSnapshotGotAndRepeatsTheGeometryAfterAFallback) {
    TraceCapture trace;
    EngineSettings engine;
    SnapshotEnvironment small = Screen(640, 480);  // the picture cannot be loaded
    small.Tracer = trace.Sink();
    SetGlobalSettings(Proportional(100), small, engine);
    const std::vector<std::string> start{"SetGlobalSettings started", "SettingsForm loaded", "got global settings"};
    std::vector<std::string> expected = start;
    for (const char* step : {"got global factors", "got global pathpoints", "got global bounding points",
                             "got global original path points", "SetGlobalSettings finished"})
        expected.push_back(step);

    // A path far outside the picture fails at the bounding box, on the screen and again after
    // the fallback to the whole screen.
    SettingsModel model;
    model.SetText(PathPoints, "30000,30000");
    SnapshotEnvironment large = Screen(30000, 20000);
    large.Tracer = trace.Sink();
    SetGlobalSettings(model, large, engine);
    expected.insert(expected.end(), start.begin(), start.end());
    for (int pass = 0; pass < 2; ++pass)
        for (const char* step : {"got global factors", "got global pathpoints"}) expected.push_back(step);
    expected.push_back("SetGlobalSettings finished");
    EXPECT_EQ(trace.Messages(), expected);
}

}  // namespace
}  // namespace lurvane
