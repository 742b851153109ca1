#include "imaging/picture_reduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace lurvane {
namespace {

// One shrunk pixel the plain way: every byte of the block summed, divided, rounded.
uint32_t BlockAverage(const PixelBuffer& picture, int left, int top, Reduction reduction) {
    uint32_t result = 0;
    for (int channel = 0; channel < 4; ++channel) {
        uint64_t sum = 0, count = 0;
        for (int y = top; y < std::min(picture.Height(), top + reduction.Y); ++y)
            for (int x = left; x < std::min(picture.Width(), left + reduction.X); ++x, ++count)
                sum += picture.Pixels()[static_cast<std::size_t>(y * picture.Width() + x)] >> (8 * channel) & 0xFF;
        result |= static_cast<uint32_t>((sum + count / 2) / count) << (8 * channel);
    }
    return result;
}

TEST(BoxReducer, MatchesBlockAveragesForAnyPictureFactorsAndBands) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const int width = 1 + static_cast<int>(random() % 40), height = 1 + static_cast<int>(random() % 40);
        PixelBuffer picture(width, height);
        for (uint32_t& pixel : picture.Pixels()) pixel = static_cast<uint32_t>(random());
        const Reduction reduction{1 + static_cast<int>(random() % 9), 1 + static_cast<int>(random() % 9)};
        BoxReducer reducer(width, height, reduction);
        for (int y = 0; y < height;) {
            const int band = std::min(height - y, 1 + static_cast<int>(random() % 12));
            reducer.AddRows(picture.Pixels().data() + static_cast<std::size_t>(y * width), band);
            y += band;
        }
        const PixelBuffer& result = reducer.Result();
        ASSERT_EQ(result.Width(), (width + reduction.X - 1) / reduction.X);
        ASSERT_EQ(result.Height(), (height + reduction.Y - 1) / reduction.Y);
        for (int y = 0; y < result.Height(); ++y)
            for (int x = 0; x < result.Width(); ++x)
                ASSERT_EQ(result.Pixels()[static_cast<std::size_t>(y * result.Width() + x)],
                          BlockAverage(picture, x * reduction.X, y * reduction.Y, reduction))
                    << width << "x" << height << " by " << reduction.X << "x" << reduction.Y << " at " << x << "," << y;
    }
}

}  // namespace
}  // namespace lurvane
