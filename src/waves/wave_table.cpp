#include "waves/wave_table.h"

#include <cmath>
#include <stdexcept>

#include "util/text_rules.h"

namespace lurvane {
namespace {

// The wave function for every row, handing (row, clamped source row) to `emit`.
template <typename Emit>
void ForEachRow(const WaveParams& p, Emit&& emit) {
    const int32_t h = p.Height;
    if (h <= 0) throw std::domain_error("wave area has no rows");
    const bool waving = p.Direction == 0 || p.Direction == 1;
    if (waving && (p.Amp == 0 || p.Freq == 0)) throw std::domain_error("division by zero");

    const int32_t ascRows = RoundToInt32(h / 100.0 * p.AscPercent);
    // A ramp that rounds to 0 rows (a low area with little smoothing) means no ramp at all;
    // dividing by it would fail every frame and leave such an area without waves.
    const double rampStep = ascRows != 0 ? 1.0 / ascRows : 0.0;

    for (int32_t i = 0; i <= h; ++i) {
        int32_t s = i;
        if (waving) {
            const int32_t d = p.Direction == 1 ? i : h - i;
            // Evaluated left to right in double precision, in this order, so that halfway
            // cases round the same on every build.
            double spatial = p.Count * 25.132741228718;
            spatial *= d;
            spatial *= d;
            spatial /= p.Amp;
            spatial /= h;
            spatial /= h;
            const double time = p.Counter * 6.2831853071796 / p.Freq;
            const int16_t offset = RoundToInt16(p.Amp * std::sin(spatial - time));
            const double weight = ascRows != 0 && d < ascRows ? rampStep * d : 1.0;
            s = RoundToInt32(i + offset * weight);
        }
        if (s < 0) s = 0;
        if (s > h - 1) s = h - 1;
        emit(i, s);
    }
}

}  // namespace

void ComputeWaveTable(const WaveParams& params, WaveTable& table) {
    ForEachRow(params, [&table](int32_t i, int32_t s) {
        if (i >= kWaveTableSize) throw std::out_of_range("wave table index past 4000");
        table[static_cast<size_t>(i)] = static_cast<int16_t>(s);
    });
}

void ComputeWaveTable(const WaveParams& params, WaveLineSink& sink) {
    int previousX = 0;
    int previousY = 0;
    ForEachRow(params, [&](int32_t i, int32_t s) {
        const int y = RoundToInt32(sink.Height() / 2.0) + (s - i);
        // The first point only starts the curve; (0, 0) counts as "no point yet".
        if (previousX != 0 || previousY != 0) sink.DrawWaveLine(previousX, previousY, i, y, 0xFF000000u);
        previousX = i;
        previousY = y;
    });
    sink.EndOfCurve();
}

}  // namespace lurvane
