#include "waves/wave_table.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "util/text_rules.h"

namespace lurvane {
namespace {

constexpr int16_t kUntouched = -777;

WaveTable Untouched() {
    WaveTable table;
    table.fill(kUntouched);
    return table;
}

// With Count 0 the spatial term vanishes, so every row gets the same raw offset; counter 3 of
// freq 4 gives sin = +1 and counter 1 of 4 gives sin = -1, both exactly.
WaveParams Flat(int32_t amp, int16_t counter, int32_t direction, int32_t ascPercent) {
    return {counter, 4, 100, amp, 0, ascPercent, direction};
}

TEST(WaveTable, WorkedRowsOfAChirp) {
    WaveTable table = Untouched();
    ComputeWaveTable({5, 30, 100, 10, 6, 20, 1}, table);
    const std::vector<std::pair<int, int>> expected = {{0, 0},   {5, 3},   {10, 6},  {15, 10}, {19, 14},
                                                        {20, 16}, {33, 39}, {99, 99}, {100, 99}};
    for (auto [row, source] : expected) EXPECT_EQ(table[row], source) << "row " << row;
    EXPECT_EQ(table[101], kUntouched);
}

TEST(WaveTable, EveryEntryStaysInsideThePicture) {
    WaveTable table = Untouched();
    ComputeWaveTable({0, 30, 100, 2, 6, 10, 1}, table);
    EXPECT_EQ(table[0], 0);
    for (int i = 0; i <= 100; ++i) {
        EXPECT_GE(table[i], 0);
        EXPECT_LE(table[i], 99);
    }
}

TEST(WaveTable, OtherDirectionsGiveTheIdentityEvenWithoutAmplitude) {
    WaveTable table = Untouched();
    ComputeWaveTable({7, 0, 50, 0, 6, 10, 2}, table);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(table[i], i);
    EXPECT_EQ(table[50], 49);
}

TEST(WaveTable, RampGrowsFromTheStartEdge) {
    WaveTable top = Untouched();
    ComputeWaveTable(Flat(3, 3, 1, 20), top);  // offset +3, ramp of 20 rows from the top
    EXPECT_EQ(top[0], 0);
    EXPECT_EQ(top[10], 12);  // 10 + 3 * 0.5 = 11.5, halves to even
    EXPECT_EQ(top[19], 22);  // 19 + 2.85
    EXPECT_EQ(top[20], 23);
    EXPECT_EQ(top[50], 53);

    WaveTable bottom = Untouched();
    ComputeWaveTable(Flat(3, 3, 0, 20), bottom);  // ramp of 20 rows from the bottom
    EXPECT_EQ(bottom[50], 53);
    EXPECT_EQ(bottom[80], 83);
    EXPECT_EQ(bottom[81], 84);  // 81 + 3 * 19 / 20 = 83.85
    EXPECT_EQ(bottom[90], 92);  // 90 + 1.5 = 91.5
    EXPECT_EQ(bottom[97], 97);  // 97 + 0.45
    EXPECT_EQ(bottom[100], 99);  // weight 0, clamped into the picture
}

TEST(WaveTable, SourceRowsRoundHalvesToEven) {
    ASSERT_EQ((1.0 / 20) * 10, 0.5);  // the ramp weight of row 10 is exactly one half
    WaveTable up = Untouched();
    ComputeWaveTable(Flat(1, 3, 1, 20), up);
    EXPECT_EQ(up[10], 10);  // 10.5
    WaveTable down = Untouched();
    ComputeWaveTable(Flat(3, 1, 1, 20), down);
    EXPECT_EQ(down[10], 8);   // 8.5
    EXPECT_EQ(down[50], 47);  // full offset -3 away from the ramp
}

TEST(WaveTable, AreaTooLowForTheRampStillWaves) {
    // 40 rows with 1 % smoothing: the ramp rounds to 0 rows, and so does 50 rows (0.5 to even).
    for (int32_t height : {40, 50}) {
        WaveTable table = Untouched();
        WaveParams params = Flat(3, 3, 1, 1);
        params.Height = height;
        ASSERT_NO_THROW(ComputeWaveTable(params, table));
        EXPECT_EQ(table[0], 3);
        EXPECT_EQ(table[height - 5], height - 2);
    }
    WaveTable twoRowRamp = Untouched();  // 150 rows: 1.5 rounds to a 2-row ramp
    WaveParams params = Flat(3, 3, 1, 1);
    params.Height = 150;
    ComputeWaveTable(params, twoRowRamp);
    EXPECT_EQ(twoRowRamp[0], 0);
    EXPECT_EQ(twoRowRamp[1], 2);  // 1 + 1.5 = 2.5
    EXPECT_EQ(twoRowRamp[2], 5);
}

TEST(WaveTable, FailuresLeaveTheRowsWrittenSoFar) {
    WaveTable table = Untouched();
    EXPECT_THROW(ComputeWaveTable({0, 30, 100, 0, 6, 10, 1}, table), std::domain_error);
    EXPECT_THROW(ComputeWaveTable({0, 0, 100, 2, 6, 10, 0}, table), std::domain_error);
    EXPECT_THROW(ComputeWaveTable({0, 30, 0, 2, 6, 10, 2}, table), std::domain_error);
    EXPECT_EQ(table, Untouched());

    // Row 0 has phase 0 and offset 0; near row 88 |40000 sin P| leaves 16 bits.
    EXPECT_THROW(ComputeWaveTable({0, 30, 100, 40000, 2000, 0, 1}, table), RangeError);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[100], kUntouched);

    WaveTable tall = Untouched();
    EXPECT_THROW(ComputeWaveTable({0, 30, 4001, 10, 6, 10, 1}, tall), std::out_of_range);
    for (int i = 0; i <= 4000; ++i) ASSERT_NE(tall[i], kUntouched) << i;
}

class RecordingSink : public WaveLineSink {
public:
    explicit RecordingSink(int height) : height_(height) {}
    struct Segment {
        int x1, y1, x2, y2;
        uint32_t argb;
    };
    void DrawWaveLine(int x1, int y1, int x2, int y2, uint32_t argb) override { segments.push_back({x1, y1, x2, y2, argb}); }
    int Height() const override { return height_; }
    std::vector<Segment> segments;

private:
    int height_;
};

TEST(WavePlot, DrawsTheTableAroundTheCentreLine) {
    const WaveParams params{5, 30, 100, 10, 6, 20, 1};
    WaveTable table = Untouched();
    ComputeWaveTable(params, table);
    RecordingSink sink(61);  // centre 30.5 rounds to 30
    ComputeWaveTable(params, sink);
    ASSERT_EQ(sink.segments.size(), 100u);  // y(0) = 30, so the first segment starts at x = 0
    for (int i = 1; i <= 100; ++i) {
        const auto& s = sink.segments[static_cast<size_t>(i - 1)];
        EXPECT_EQ(s.x1, i - 1);
        EXPECT_EQ(s.x2, i);
        EXPECT_EQ(s.y2, 30 + table[i] - i);
        EXPECT_EQ(s.argb, 0xFF000000u);
    }
}

TEST(WavePlot, APointAtTheOriginOnlyStartsTheCurve) {
    RecordingSink flat(0);  // identity around centre 0: the first point is (0, 0)
    ComputeWaveTable({0, 30, 10, 10, 6, 20, 2}, flat);
    ASSERT_EQ(flat.segments.size(), 9u);
    EXPECT_EQ(flat.segments[0].x1, 1);
    EXPECT_EQ(flat.segments[0].x2, 2);
    EXPECT_EQ(flat.segments[8].y2, -1);  // row 10 clamps to 9, one above the centre
    EXPECT_THROW(ComputeWaveTable({0, 30, 10, 0, 6, 20, 1}, flat), std::domain_error);
}

}  // namespace
}  // namespace lurvane
