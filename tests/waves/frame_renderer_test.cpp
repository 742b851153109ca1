#include "waves/frame_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "support/fake_frame_host.h"
#include "support/trace_capture.h"

namespace lurvane {
namespace {

class FrameRendererTest : public ::testing::Test {
protected:
    FrameRendererTest() : renderer(engine, {"Notice", "."}) {
        engine.WaveFreq = 30;
        engine.WaveAmp = 4;
        engine.WaveCount = 6;
        engine.WaveAsc = 10;
        engine.WaveDirection = 1;
        engine.BoundMinX = 5;
        engine.BoundMinY = 5;
        engine.BoundMaxX = 15;
        engine.BoundMaxY = 15;
        engine.RelativePathPoints = {{0, 0}, {9, 0}, {9, 9}, {0, 9}};
        StartWavelor(engine);
    }

    FrameOutcome Frame(double at) {
        host.now = at;
        return renderer.RenderFrame(preview, manual, host);
    }

    EngineSettings engine;
    FrameRenderer renderer;
    FakeHost host;
    bool preview = false;
    bool manual = false;
};

TEST_F(FrameRendererTest, FrameRateCaptionCoversTwoSecondWindows) {
    engine.ShowFPS = true;
    for (int k = 0; k < 25; ++k) Frame(1000.0 + k * 0.0834);  // the 25th frame closes the window
    for (int k = 1; k <= 40; ++k) Frame(1002.0016 + k * 0.0501);
    EXPECT_EQ(host.captions, (std::vector<std::string>{"Framerate:12.5fps", "Framerate:20fps"}));
    EXPECT_TRUE(host.labelVisible);

    // The caption speaks the user's locale; only the separator changes.
    EngineSettings german = engine;
    FrameRenderer localised(german, {"Notice", ","});
    FakeHost shown;
    bool p = false, m = false;
    for (int k = 0; k < 26; ++k) {
        shown.now = 1000.0 + k * 0.0834;
        localised.RenderFrame(p, m, shown);
    }
    EXPECT_EQ(shown.captions, (std::vector<std::string>{"Framerate:12,5fps"}));
}

TEST_F(FrameRendererTest, HiddenLabelKeepsCountingWithoutCaptions) {
    for (int k = 0; k < 24; ++k) Frame(1000.0 + k * 0.0834);
    EXPECT_EQ(renderer.FpsFrames(), 24);
    Frame(1002.01);
    EXPECT_EQ(renderer.FpsFrames(), 0);
    EXPECT_TRUE(host.captions.empty());
    EXPECT_FALSE(host.labelVisible);
}

TEST_F(FrameRendererTest, CountsAcrossMidnight) {
    engine.ShowFPS = true;
    manual = true;
    Frame(86399.7);
    Frame(0.3);  // E = 86400 - 86400 = 0: still the notice with 5 seconds to go
    EXPECT_EQ(host.notices.back(), "Notice (5)");
    Frame(1.75);  // 2.05 s into the frame-rate window
    EXPECT_EQ(host.captions, (std::vector<std::string>{"Framerate:1.5fps"}));
    Frame(4.6);  // E = 5: the notice is only erased
    EXPECT_EQ(host.notices.size(), 3u);
    EXPECT_FALSE(engine.InputArmed);
    Frame(5.6);
    EXPECT_TRUE(engine.InputArmed);
}

TEST_F(FrameRendererTest, ManualStartShowsCountdownThenErasesThenArms) {
    manual = true;
    std::vector<int> erasesAt, armedAt;
    for (int k = 0; k < 16; ++k) {
        const int erasesBefore = host.erases;
        Frame(500.2 + k * 0.5);
        if (host.erases > erasesBefore) erasesAt.push_back(k);
        if (engine.InputArmed) armedAt.push_back(k);
    }
    // E = round(now) - 500 and the countdown is 505 - round(now): frames 0 to 8 show the
    // notice, frames 9 and 10 (E = 5) only erase it.
    EXPECT_EQ(host.notices, (std::vector<std::string>{"Notice (5)", "Notice (4)", "Notice (4)", "Notice (3)", "Notice (3)",
                                                      "Notice (2)", "Notice (2)", "Notice (1)", "Notice (1)"}));
    EXPECT_EQ(erasesAt, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    ASSERT_FALSE(armedAt.empty());
    EXPECT_EQ(armedAt.front(), 11);  // 505.7 rounds to 506: E = 6
    // Past the notice only the wave area is presented, not the strip.
    EXPECT_GE(host.lastDirty.MinY, 5);
    EXPECT_LE(host.lastDirty.MaxY, 15);
}

TEST_F(FrameRendererTest, ManualStartCannotBeStoppedDuringTheNotice) {
    manual = true;
    host.onPresent = [this] { StopWavelor(engine); };  // input arrives in every message pass
    for (int k = 0; k < 9; ++k) EXPECT_EQ(Frame(200.0 + k * 0.5), FrameOutcome::Continue);  // up to E = 4
    EXPECT_TRUE(engine.WavesRunning);
    EXPECT_EQ(Frame(205.0), FrameOutcome::Stop);
    EXPECT_FALSE(engine.WavesRunning);
}

TEST_F(FrameRendererTest, OrdinaryRunArmsAtOnce) {
    for (int k = 0; k < 5; ++k) Frame(100.0 + k);
    EXPECT_TRUE(engine.InputArmed);
    EXPECT_TRUE(host.notices.empty());
    EXPECT_EQ(host.erases, 0);
    EXPECT_EQ(renderer.Step().WaveCounter, 5);  // one wave step per frame
}

TEST_F(FrameRendererTest, PreviewWithoutHostStopsAtTheEndOfTheFrame) {
    TraceCapture trace;
    FrameRenderer traced(engine, {"Notice", "."}, trace.Sink());
    preview = true;
    host.now = 10.0;
    EXPECT_EQ(traced.RenderFrame(preview, manual, host), FrameOutcome::Continue);
    EXPECT_TRUE(engine.InputArmed);
    host.hasParent = false;
    host.now = 10.05;
    EXPECT_EQ(traced.RenderFrame(preview, manual, host), FrameOutcome::Stop);
    EXPECT_EQ(trace.Messages(), (std::vector<std::string>{"no parent: StopWavelor"}));
}

TEST_F(FrameRendererTest, RestartsWithANewPictureOnlyWhenDueAndAllowed) {
    engine.RestartSec = 120;
    engine.RandomizeBackground = true;
    engine.BackgroundImage = "old.jpg";
    EXPECT_EQ(Frame(1000.0), FrameOutcome::Continue);
    EXPECT_EQ(Frame(1120.4), FrameOutcome::Continue);  // E = 120: not yet
    const BoundingBox presentedBefore = host.lastDirty;
    EXPECT_EQ(Frame(1121.0), FrameOutcome::Restart);
    EXPECT_TRUE(engine.BackgroundImage.empty());
    EXPECT_FALSE(renderer.Started());
    EXPECT_EQ(host.lastDirty, presentedBefore) << "the restart presents its own new picture";

    for (int32_t never : {0, -5}) {
        EngineSettings other = engine;
        other.RestartSec = never;
        FrameRenderer quiet(other, {});
        FakeHost idle;
        bool p = false, m = false;
        for (double t : {1000.0, 1500.0, 3000.0}) {
            idle.now = t;
            EXPECT_EQ(quiet.RenderFrame(p, m, idle), FrameOutcome::Continue) << never;
        }
    }
    engine.RandomizeBackground = false;
    EXPECT_EQ(Frame(5000.0), FrameOutcome::Continue);  // the first frame after the restart
    EXPECT_EQ(Frame(9000.0), FrameOutcome::Continue);
}

TEST_F(FrameRendererTest, RestartClearsTheWindowFlags) {
    engine.RestartSec = 1;
    engine.RandomizeBackground = true;
    manual = true;
    Frame(50.0);
    EXPECT_EQ(Frame(56.0), FrameOutcome::Restart);  // past the notice and past the restart time
    EXPECT_FALSE(manual);
    EXPECT_FALSE(preview);
}

TEST_F(FrameRendererTest, MaskIsBuiltOnlyOnTheFirstFrameAfterAStart) {
    engine.WaveDirection = 2;  // no waves: the visible area shows exactly what the mask lets through
    engine.RelativePathPoints = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
    auto shown = [this](int x, int y) { return host.visible.Pixels()[static_cast<size_t>((5 + y) * 40 + 5 + x)]; };
    Frame(10.0);
    EXPECT_EQ(shown(1, 1), host.waveBuffer.Pixels()[11]);
    EXPECT_EQ(shown(6, 6), 0x00AAAAAAu);

    engine.RelativePathPoints = {{0, 0}, {9, 0}, {9, 9}, {0, 9}};
    Frame(10.1);
    EXPECT_EQ(shown(6, 6), 0x00AAAAAAu);  // still the first path

    engine.RestartSec = 1;
    engine.RandomizeBackground = true;
    EXPECT_EQ(Frame(13.0), FrameOutcome::Restart);
    engine.RandomizeBackground = false;
    Frame(13.1);  // first frame of the new run builds the new mask
    EXPECT_EQ(shown(6, 6), host.waveBuffer.Pixels()[66]);
}

}  // namespace
}  // namespace lurvane
