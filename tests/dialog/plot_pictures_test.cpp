#include "dialog/plot_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

namespace lurvane {
namespace {

constexpr uint32_t kBackground = 0x00F0F0F0;

PlotLook LookOf(int width, int height) { return {WaveParams{0, 30, 120, 2, 6, 1, 1}, width, height, kBackground, 192}; }

// A curve-like picture: in most columns one run of random pixels, some of them the background.
PixelBuffer RandomPicture(std::mt19937& random, int width, int height) {
    PixelBuffer picture(width, height, kBackground);
    for (int x = 0; x < width; ++x) {
        if (random() % 4 == 0) continue;
        const int top = static_cast<int>(random() % static_cast<unsigned>(height));
        const int end = top + 1 + static_cast<int>(random() % static_cast<unsigned>(height - top));
        for (int y = top; y < end; ++y)
            picture.View().Row(y)[x] = random() % 5 == 0 ? kBackground : static_cast<uint32_t>(random());
    }
    return picture;
}

// The plot's way: a kept picture is put back, any other is drawn in full and handed over.
TEST(PlotPictures, EveryPhaseShowsExactlyWithinTheLimitAndEveryChangeLiesInTheRectangleGiven) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 40; ++round) {
        const int width = 1 + static_cast<int>(random() % 40), height = 1 + static_cast<int>(random() % 30);
        std::vector<PixelBuffer> pictures(1 + random() % 6);
        for (PixelBuffer& picture : pictures) picture = RandomPicture(random, width, height);
        const std::size_t limit = random() % (pictures.size() * static_cast<std::size_t>(width * (height + 2) * 4));
        PixelBuffer surface(width, height);
        PlotPictures kept(limit);
        kept.Use(LookOf(width, height));
        for (int step = 0; step < 30; ++step) {
            const std::size_t phase = random() % pictures.size();
            const PixelBuffer before = surface;
            std::optional<PixelRect> changed = kept.Show(static_cast<int>(phase), surface.View());
            if (!changed) {
                std::copy(pictures[phase].Pixels().begin(), pictures[phase].Pixels().end(), surface.Pixels().begin());
                kept.Keep(static_cast<int>(phase), surface.View());
                changed = PixelRect{0, 0, width, height};
            }
            ASSERT_LE(kept.Bytes(), limit);
            ASSERT_EQ(surface.Pixels(), pictures[phase].Pixels()) << "round " << round << ", step " << step;
            for (int at = 0; at < width * height; ++at) {
                const int x = at % width, y = at / width;
                const bool inside = x >= changed->Left && x < changed->Right && y >= changed->Top &&
                                    y < changed->Bottom;
                ASSERT_TRUE(inside || before.Pixels()[at] == surface.Pixels()[at]) << x << "," << y;
            }
        }
    }
}

class PlotPicturesLook : public ::testing::TestWithParam<std::function<void(PlotLook&)>> {};

TEST_P(PlotPicturesLook, AreForgottenWhenAnythingButThePhaseChangesAndShowOnlyOnTheirSurface) {
    std::mt19937 random(5);
    PixelBuffer surface = RandomPicture(random, 20, 10), other = surface;
    PlotPictures kept(std::size_t{1} << 20);
    PlotLook look = LookOf(20, 10);
    kept.Use(look);
    kept.Keep(3, surface.View());
    EXPECT_FALSE(kept.Show(3, other.View()));
    look.Shape.Counter = 7;
    kept.Use(look);
    ASSERT_TRUE(kept.Show(3, surface.View()));
    GetParam()(look);
    kept.Use(look);
    EXPECT_FALSE(kept.Show(3, surface.View()));
    EXPECT_EQ(kept.Bytes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPart, PlotPicturesLook,
    ::testing::Values([](PlotLook& look) { look.Shape.Freq = 31; }, [](PlotLook& look) { look.Shape.Height = 121; },
                      [](PlotLook& look) { look.Shape.Amp = 3; }, [](PlotLook& look) { look.Shape.Count = 7; },
                      [](PlotLook& look) { look.Shape.AscPercent = 2; },
                      [](PlotLook& look) { look.Shape.Direction = 0; }, [](PlotLook& look) { look.Width = 21; },
                      [](PlotLook& look) { look.Height = 11; }, [](PlotLook& look) { look.Background = 0; },
                      [](PlotLook& look) { look.Dpi = 96; }));

}  // namespace
}  // namespace lurvane
