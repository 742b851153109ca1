// One wave step per frame: advance the phase, recompute the row table and apply it to the
// wave picture. The wave picture itself is never materialised: it is the wave buffer seen
// through Rows(), which the frame composer reads when it copies the rows inside the path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "util/trace.h"
#include "waves/engine_settings.h"
#include "waves/wave_table.h"

namespace lurvane {

class WaveStep {
public:
    explicit WaveStep(Trace trace = {}) : trace_(std::move(trace)) { ResetRows(); }

    // Wraps WaveCounter into 0..WaveFreq-1, fills engine.Table for a wave area `height` rows
    // high, advances WaveCounter and makes the new table the one Rows() shows. Any failure
    // abandons the rest of the step, writes three trace lines and returns false; the frame
    // goes on with the rows of the last step that got through.
    // The table of a phase is computed once per wave setting and kept: the counter comes back
    // to it every WaveFreq frames, and a sine per row per frame was a sixth of a frame's CPU
    // time in the Windows build (whose sine runs on the x87 unit).
    bool Run(EngineSettings& engine, int height);

    // Source row of every wave-picture row (entries past 4000 do not exist: those rows are
    // never shifted).
    const WaveTable& Rows() const { return rows_; }

    // Back to the unshifted picture, as after a (re)start fills the wave picture afresh.
    void ResetRows();

    int16_t WaveCounter = 0;

private:
    // Fills entries 0 to params.Height of `table` as ComputeWaveTable does, from the kept phase
    // when there is one; keeps what a successful computation gives, as far as kKeptEntries allows.
    void FillTable(const WaveParams& params, WaveTable& table);

    // At most this many entries (2 bytes each) of kept phases: 1 MiB, all 30 phases of the
    // default period at 3840 x 2160 several times over.
    static constexpr size_t kKeptEntries = size_t{1} << 19;

    Trace trace_;
    WaveTable rows_{};
    WaveParams keptFor_{};              // the setting the kept phases belong to (Counter 0)
    std::vector<int16_t> keptPhases_;   // Freq blocks of Height + 1 entries
    std::vector<bool> phaseKept_;       // per phase: whether its block holds its table
};

}  // namespace lurvane
