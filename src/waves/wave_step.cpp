#include "waves/wave_step.h"

#include <exception>
#include <string>

#include "util/text_rules.h"
#include "util/trace.h"
#include "waves/wave_table.h"

namespace lurvane {

void WaveStep::ResetRows() {
    for (int i = 0; i < kWaveTableSize; ++i) rows_[static_cast<size_t>(i)] = static_cast<int16_t>(i);
}

bool WaveStep::Run(EngineSettings& engine, int height) {
    int step = 1;
    try {
        if (WaveCounter >= engine.WaveFreq || WaveCounter < 0) WaveCounter = 0;
        step = 2;
        ComputeWaveTable(WaveParams{WaveCounter, engine.WaveFreq, height, engine.WaveAmp, engine.WaveCount,
                                    engine.WaveAsc, engine.WaveDirection},
                         engine.Table);
        step = 3;
        WaveCounter = RoundToInt16(WaveCounter + 1.0);
        step = 4;
        rows_ = engine.Table;
        return true;
    } catch (const std::exception&) {
        trace_.TraceQuietly("Fehler in WavelorBitmap: Freq: " + std::to_string(engine.WaveFreq));
        trace_.TraceQuietly("Fehler in WavelorBitmap: Wavelor: " + std::to_string(WaveCounter));
        trace_.TraceQuietly("t_Fail2: " + std::to_string(step));
        return false;
    }
}

}  // namespace lurvane
