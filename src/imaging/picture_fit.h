// Where a picture file lands on the screen: stretched to the whole screen, or fitted with its
// aspect kept, scaled by a percentage and centred.
#pragma once

#include <cstdint>
#include <optional>

namespace lurvane {

struct PicturePlacement {
    int32_t X = 0, Y = 0, Width = 0, Height = 0;
    friend bool operator==(const PicturePlacement&, const PicturePlacement&) = default;
};

// Screen SW x SH, picture PW x PH. Every rounding is to nearest with halves to even. No value
// for a picture without pixels (PW or PH 0 or less) or a result beyond 32 bits; the caller
// then falls back to the desktop snapshot.
std::optional<PicturePlacement> FitPicture(int32_t screenWidth, int32_t screenHeight, int32_t pictureWidth,
                                           int32_t pictureHeight, bool maximizeBackground, int32_t sizeBackground);

}  // namespace lurvane
