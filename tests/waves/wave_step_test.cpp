#include "waves/wave_step.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lurvane
