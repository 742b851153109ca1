#include "waves/wave_step.h"

#include <gtest/gtest.h>

#include <random>

#include "support/trace_capture.h"
#include "waves/wave_table.h"

namespace lurvane {
namespace {

using Lines = std::vector<std::string>;

EngineSettings Waves() {
    EngineSettings engine;
    engine.WaveFreq = 30;
    engine.WaveAmp = 10;
    engine.WaveCount = 6;
    engine.WaveAsc = 20;
    engine.WaveDirection = 1;
    return engine;
}

WaveTable TableAt(int16_t counter, const EngineSettings& e, int height) {
    WaveTable table{};
    ComputeWaveTable({counter, e.WaveFreq, height, e.WaveAmp, e.WaveCount, e.WaveAsc, e.WaveDirection}, table);
    return table;
}

bool IsIdentity(const WaveTable& rows) {
    for (int i = 0; i < kWaveTableSize; ++i)
        if (rows[static_cast<size_t>(i)] != i) return false;
    return true;
}

TEST(WaveStep, CounterRunsThroughOnePeriodAndWrapsBeforeUse) {
    TraceCapture trace;
    EngineSettings engine = Waves();
    WaveStep step(trace.Sink());
    EXPECT_TRUE(IsIdentity(step.Rows()));
    for (int16_t phase = 0; phase < 30; ++phase) {
        ASSERT_TRUE(step.Run(engine, 100));
        ASSERT_EQ(step.Rows(), TableAt(phase, engine, 100)) << phase;
    }
    EXPECT_EQ(step.WaveCounter, 30);
    ASSERT_TRUE(step.Run(engine, 100));  // 30 = WaveFreq wraps to phase 0
    EXPECT_EQ(step.Rows(), TableAt(0, engine, 100));
    EXPECT_EQ(step.WaveCounter, 1);
    step.WaveCounter = -4;
    ASSERT_TRUE(step.Run(engine, 100));
    EXPECT_EQ(step.WaveCounter, 1);
    EXPECT_TRUE(trace.Messages().empty());
}

TEST(WaveStep, FailureIsTracedAndKeepsTheLastShiftedRows) {
    TraceCapture trace;
    EngineSettings engine = Waves();
    WaveStep step(trace.Sink());
    ASSERT_TRUE(step.Run(engine, 100));
    const WaveTable shown = step.Rows();

    engine.WaveAmp = 0;
    EXPECT_FALSE(step.Run(engine, 100));
    EXPECT_EQ(step.WaveCounter, 1);  // not advanced
    EXPECT_EQ(step.Rows(), shown);
    EXPECT_EQ(trace.Messages(),
              (Lines{"Fehler in WavelorBitmap: Freq: 30", "Fehler in WavelorBitmap: Wavelor: 1", "t_Fail2: 2"}));
}

TEST(WaveStep, TallAreaWritesTheWholeTableButNeverShifts) {
    TraceCapture trace;
    EngineSettings engine = Waves();
    engine.Table.fill(-1);
    WaveStep step(trace.Sink());
    EXPECT_FALSE(step.Run(engine, 4001));
    EXPECT_TRUE(IsIdentity(step.Rows()));
    EXPECT_NE(engine.Table[4000], -1);
    EXPECT_EQ(trace.Messages().back(), "t_Fail2: 2");
}

TEST(WaveStep, CounterOverflowFailsInTheAdvance) {
    TraceCapture trace;
    EngineSettings engine = Waves();
    engine.WaveFreq = 40000;
    WaveStep step(trace.Sink());
    step.WaveCounter = 32767;
    EXPECT_FALSE(step.Run(engine, 100));
    EXPECT_EQ(engine.Table, TableAt(32767, engine, 100));  // the table was computed
    EXPECT_TRUE(IsIdentity(step.Rows()));                  // but never applied
    EXPECT_EQ(trace.Messages(), (Lines{"Fehler in WavelorBitmap: Freq: 40000",
                                       "Fehler in WavelorBitmap: Wavelor: 32767", "t_Fail2: 3"}));
}

TEST(WaveStep, LowAreaWithTinySmoothingStillWaves) {
    TraceCapture trace;
    EngineSettings engine = Waves();
    engine.WaveAsc = 1;
    WaveStep step(trace.Sink());
    step.WaveCounter = 5;
    EXPECT_TRUE(step.Run(engine, 40));
    EXPECT_FALSE(IsIdentity(step.Rows()));
    EXPECT_TRUE(trace.Messages().empty());
}

// The kept phases give exactly what computing every frame gives, through setting changes, jumps
// of the counter, periods too long to keep and failing settings.
TEST(WaveStep, KeptPhasesMatchComputingEveryFrame) {
    std::mt19937 random(17);
    auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    EngineSettings engine = Waves();
    WaveStep step;
    WaveTable reference = engine.Table;
    int area = 100;
    for (int frame = 0; frame < 20000; ++frame) {
        switch (pick(0, 200)) {  // one setting at a time: the kept phases must see a change of any
        case 0: engine.WaveFreq = pick(0, 8) == 0 ? pick(-2, 0) : pick(1, 12) * (pick(0, 5) == 0 ? 1000 : 1); break;
        case 1: engine.WaveAmp = pick(0, 9); break;
        case 2: engine.WaveCount = pick(0, 12); break;
        case 3: engine.WaveAsc = pick(0, 100); break;
        case 4: engine.WaveDirection = pick(-1, 2); break;
        case 5: area = pick(1, 300); break;
        }
        if (pick(0, 30) == 0) step.WaveCounter = static_cast<int16_t>(pick(-5, 40));
        const int height = pick(0, 60) == 0 ? (pick(0, 1) ? 0 : 4001) : area;
        WaveTable expectedRows = step.Rows();
        bool expectedOk = true;
        int16_t counter = step.WaveCounter >= engine.WaveFreq || step.WaveCounter < 0 ? 0 : step.WaveCounter;
        try {
            ComputeWaveTable({counter, engine.WaveFreq, height, engine.WaveAmp, engine.WaveCount, engine.WaveAsc,
                              engine.WaveDirection},
                             reference);
            expectedRows = reference;
            ++counter;
        } catch (const std::exception&) {
            expectedOk = false;
        }
        ASSERT_EQ(step.Run(engine, height), expectedOk) << frame;
        ASSERT_EQ(engine.Table, reference) << frame;
        ASSERT_EQ(step.Rows(), expectedRows) << frame;
        ASSERT_EQ(step.WaveCounter, counter) << frame;
    }
}

}  // namespace
}  // namespace lurvane
