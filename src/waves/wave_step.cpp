#include "waves/wave_step.h"

#include <algorithm>
#include <exception>
#include <string>

#include "util/text_rules.h"
#include "util/trace.h"
#include "waves/wave_table.h"

namespace lurvane {

void WaveStep::ResetRows() {
    for (int i = 0; i < kWaveTableSize; ++i) rows_[static_cast<size_t>(i)] = static_cast<int16_t>(i);
}

void WaveStep::FillTable(const WaveParams& params, WaveTable& table) {
    WaveParams setting = params;
    setting.Counter = 0;
    const bool same = setting == keptFor_;
    // Only a table that fits and a phase inside the period can be kept; anything else, failures
    // included, is computed every time.
    const bool keepable = params.Height >= 0 && params.Height < kWaveTableSize && params.Freq > 0 &&
                          params.Counter >= 0 && params.Counter < params.Freq &&
                          static_cast<size_t>(params.Freq) * static_cast<size_t>(params.Height + 1) <= kKeptEntries;
    if (!keepable) {
        ComputeWaveTable(params, table);
        return;
    }
    const size_t entries = static_cast<size_t>(params.Height) + 1;
    if (!same) {
        keptFor_ = setting;
        keptPhases_.assign(static_cast<size_t>(params.Freq) * entries, 0);
        phaseKept_.assign(static_cast<size_t>(params.Freq), false);
    }
    const size_t phase = static_cast<size_t>(params.Counter);
    const auto block = keptPhases_.begin() + static_cast<std::ptrdiff_t>(phase * entries);
    if (phaseKept_[phase]) {
        std::copy(block, block + static_cast<std::ptrdiff_t>(entries), table.begin());
        return;
    }
    ComputeWaveTable(params, table);
    std::copy(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(entries), block);
    phaseKept_[phase] = true;
}

bool WaveStep::Run(EngineSettings& engine, int height) {
    int step = 1;
    try {
        if (WaveCounter >= engine.WaveFreq || WaveCounter < 0) WaveCounter = 0;
        step = 2;
        FillTable(WaveParams{WaveCounter, engine.WaveFreq, height, engine.WaveAmp, engine.WaveCount, engine.WaveAsc,
                             engine.WaveDirection},
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
