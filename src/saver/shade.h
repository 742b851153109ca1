// The darkening rule of the fades: every channel of every pixel times a factor / 256, written
// to a separate target so that each step starts again from the undarkened picture.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "imaging/surface.h"

namespace lurvane {

// The fade steps, 25 each: darkness in percent, 0 = unchanged, 100 = black.
inline constexpr std::array<int, 25> kFadeDownSteps = {2,  6,  10, 14, 18, 22, 26, 30, 34, 38, 42, 46, 50,
                                                       54, 58, 62, 66, 70, 74, 78, 82, 86, 90, 94, 98};
inline constexpr std::array<int, 25> kFadeUpSteps = {100, 96, 92, 88, 84, 80, 76, 72, 68, 64, 60, 56, 52,
                                                     48,  44, 40, 36, 32, 28, 24, 20, 16, 12, 8,  4};

// The multiplier for a darkness: (100 - d) * 2.56 rounded halves to even, low 8 bits only
// (so d = 0 gives 256, whose low 8 bits make 0: black; no fade step uses it).
uint32_t ShadeFactor(int32_t darkness);

// target[i] = source[i] with blue, green and red each (c * factor) >> 8 and the top byte 0,
// for the pixels both spans have.
void ShadePixels(std::span<const uint32_t> source, std::span<uint32_t> target, int32_t darkness);

// The same over whole surfaces; false, and nothing written, when their sizes differ.
bool ShadeBitmap(const SurfaceView& source, const SurfaceView& target, int32_t darkness);

}  // namespace lurvane
