// One wave step per frame: advance the phase, recompute the row table and apply it to the
// wave picture. The wave picture itself is never materialised: it is the wave buffer seen
// through Rows(), which the frame composer reads when it copies the rows inside the path.
#pragma once

#include <cstdint>

#include <utility>

#include "util/trace.h"
#include "waves/engine_settings.h"

namespace lurvane {

class WaveStep {
public:
    explicit WaveStep(Trace trace = {}) : trace_(std::move(trace)) { ResetRows(); }

    // Wraps WaveCounter into 0..WaveFreq-1, fills engine.Table for a wave area `height` rows
    // high, advances WaveCounter and makes the new table the one Rows() shows. Any failure
    // abandons the rest of the step, writes three trace lines and returns false; the frame
    // goes on with the rows of the last step that got through.
    bool Run(EngineSettings& engine, int height);

    // Source row of every wave-picture row (entries past 4000 do not exist: those rows are
    // never shifted).
    const WaveTable& Rows() const { return rows_; }

    // Back to the unshifted picture, as after a (re)start fills the wave picture afresh.
    void ResetRows();

    int16_t WaveCounter = 0;

private:
    Trace trace_;
    WaveTable rows_{};
};

}  // namespace lurvane
