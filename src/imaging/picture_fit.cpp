#include "imaging/picture_fit.h"

#include "util/text_rules.h"

namespace lurvane {

std::optional<PicturePlacement> FitPicture(int32_t screenWidth, int32_t screenHeight, int32_t pictureWidth,
                                           int32_t pictureHeight, bool maximizeBackground, int32_t sizeBackground) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return std::nullopt;
    const double sw = screenWidth;
    const double sh = screenHeight;
    try {
        int32_t w = screenWidth;
        int32_t h = screenHeight;
        if (!maximizeBackground) {
            const int32_t fitH = RoundToInt32(sw * pictureHeight / pictureWidth);
            const int32_t fitW = RoundToInt32(sh * pictureWidth / pictureHeight);
            if (screenHeight >= fitH) {
                h = fitH;
            } else if (screenWidth >= fitW) {
                w = fitW;
            } else {  // only reachable through rounding
                w = fitW;
                h = fitH;
            }
            w = RoundToInt32(sizeBackground / 100.0 * w);
            h = RoundToInt32(sizeBackground / 100.0 * h);
        }
        const int32_t x = RoundToInt32((sw - w) / 2);
        const int32_t y = RoundToInt32((sh - h) / 2);
        return PicturePlacement{x, y, w, h};
    } catch (const RangeError&) {
        return std::nullopt;
    }
}

}  // namespace lurvane
