// The wave engine's one record: what a running saver needs, taken from the stored settings at
// every start, plus the path in screen pixels and the run flags.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lurvane {

struct PathPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const PathPoint&, const PathPoint&) = default;
};

inline constexpr int kWaveTableSize = 4001;  // indices 0 to 4000
using WaveTable = std::array<int16_t, kWaveTableSize>;

struct BoundingBox {
    int16_t MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
    int Width() const { return MaxX - MinX; }
    int Height() const { return MaxY - MinY; }
    friend bool operator==(const BoundingBox&, const BoundingBox&) = default;
};

struct EngineSettings {
    int32_t RestartSec = 0;
    std::string BackgroundSound;
    bool LoopSound = false;
    std::vector<PathPoint> PathPoints;
    std::vector<PathPoint> RelativePathPoints;
    int16_t BoundMinX = 0, BoundMinY = 0, BoundMaxX = 0, BoundMaxY = 0;
    bool InputArmed = false;
    uint8_t Framerate = 0;
    bool ShowFPS = false;
    bool RandomizeBackground = false;
    int32_t WaveFreq = 0;
    int32_t WaveDirection = 0;
    int32_t WaveCount = 0;
    int32_t WaveAmp = 0;
    int32_t WaveAsc = 0;
    std::string BackgroundImage;
    bool MaximizeBackground = false;
    int32_t SizeBackground = 0;
    float FactorX = 0, FactorY = 0;
    int16_t OffsetX = 0, OffsetY = 0;
    bool WavesRunning = false;
    WaveTable Table{};

    BoundingBox Bounds() const { return {BoundMinX, BoundMinY, BoundMaxX, BoundMaxY}; }
};

}  // namespace lurvane
