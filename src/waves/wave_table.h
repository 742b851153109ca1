// The wave function: a chirped sine that tells every row of the wave area which source row
// it shows. Table mode fills the saver's row table; plot mode draws the same function as a
// curve for the settings dialog's live preview.
#pragma once

#include <cstdint>

#include "waves/engine_settings.h"

namespace lurvane {

struct WaveParams {
    int16_t Counter = 0;     // phase step, 0 to Freq - 1
    int32_t Freq = 0;        // frames per wave period
    int32_t Height = 0;      // rows of the picture
    int32_t Amp = 0;         // amplitude in pixels
    int32_t Count = 0;       // density factor
    int32_t AscPercent = 0;  // smoothing ramp at the wave's start, percent of the height
    int32_t Direction = 0;   // 1: from the top row, 0: from the bottom row, other: no waves
    friend bool operator==(const WaveParams&, const WaveParams&) = default;
};

// Where plot mode draws: one segment per call, and the height the curve is centred in.
class WaveLineSink {
public:
    virtual ~WaveLineSink() = default;
    virtual void DrawWaveLine(int x1, int y1, int x2, int y2, uint32_t argb) = 0;
    virtual int Height() const = 0;
    // The curve is complete: a sink that gathers segments draws them now.
    virtual void EndOfCurve() {}
};

// Fills entries 0 to Height of `table`. Fails with std::domain_error when Height is 0 or less
// (nothing to wave) or, when the direction waves, Amp or Freq is 0 (division by zero); with
// std::out_of_range at index 4001 after writing 0 to 4000, and with RangeError when an offset
// does not fit 16 bits. The entries written before a failure stay written.
void ComputeWaveTable(const WaveParams& params, WaveTable& table);

// Draws the curve x = i, y = sink height / 2 + displacement of row i, for i = 0 to Height.
// Fails like the table mode, except that there is no table to run out of.
void ComputeWaveTable(const WaveParams& params, WaveLineSink& sink);

}  // namespace lurvane
