#include "dialog/plot_pictures.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace lurvane {
namespace {

constexpr uint32_t kBackground = 0x00F0F0F0;

PlotLook LookOf(int width, int height) {
    PlotLook look{WaveParams{0, 30, 120, 2, 6, 1, 1}, width, height, kBackground, 192};
    return look;
}

// A curve-like picture: in each column, maybe one run of random pixels (some of them the
// background) on the background.
PixelBuffer RandomPicture(std::mt19937& random, int width, int height) {
    PixelBuffer picture(width, height, kBackground);
    for (int x = 0; x < width; ++x) {
        if (random() % 4 == 0) continue;
        const int top = static_cast<int>(random() % static_cast<unsigned>(height));
        const int count = 1 + static_cast<int>(random() % static_cast<unsigned>(height - top));
        for (int y = top; y < top + count; ++y)
            picture.View().Row(y)[x] = random() % 5 == 0 ? kBackground : static_cast<uint32_t>(random());
    }
    return picture;
}

void Draw(PixelBuffer& picture, SurfaceView surface) {
    std::copy(picture.Pixels().begin(), picture.Pixels().end(), surface.Pixels);
}

TEST(PlotPictures, AKeptPictureComesBackExactlyAndEveryChangeLiesInTheRectangleItGives) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 40; ++round) {
        const int width = 1 + static_cast<int>(random() % 40), height = 1 + static_cast<int>(random() % 30);
        std::vector<PixelBuffer> pictures;
        for (int phase = 0, phases = 1 + static_cast<int>(random() % 6); phase < phases; ++phase)
            pictures.push_back(RandomPicture(random, width, height));
        PixelBuffer surface(width, height);
        PlotPictures kept(std::size_t{1} << 20);
        kept.Use(LookOf(width, height));
        for (std::size_t phase = 0; phase < pictures.size(); ++phase) {
            Draw(pictures[phase], surface.View());
            kept.Keep(static_cast<int>(phase), surface.View());
        }
        for (int step = 0; step < 30; ++step) {
            const std::size_t phase = random() % pictures.size();
            const PixelBuffer before = surface;
            const std::optional<PixelRect> changed = kept.Show(static_cast<int>(phase), surface.View());
            ASSERT_TRUE(changed.has_value());
            ASSERT_EQ(surface.Pixels(), pictures[phase].Pixels()) << "round " << round << ", step " << step;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const std::size_t at = static_cast<std::size_t>(y * width + x);
                    const bool inside =
                        x >= changed->Left && x < changed->Right && y >= changed->Top && y < changed->Bottom;
                    ASSERT_TRUE(inside || before.Pixels()[at] == surface.Pixels()[at])
                        << x << "," << y << " changed outside the rectangle";
                }
            }
        }
    }
}

using LookChange = std::function<void(PlotLook&)>;
class PlotPicturesLook : public ::testing::TestWithParam<LookChange> {};

TEST_P(PlotPicturesLook, ForgetsEveryPictureWhenAnythingButThePhaseChanges) {
    std::mt19937 random(5);
    PixelBuffer picture = RandomPicture(random, 20, 10), surface(20, 10);
    PlotPictures kept(std::size_t{1} << 20);
    PlotLook look = LookOf(20, 10);
    kept.Use(look);
    Draw(picture, surface.View());
    kept.Keep(3, surface.View());
    look.Shape.Counter = 7;
    kept.Use(look);
    ASSERT_TRUE(kept.Show(3, surface.View())) << "only the phase changed";
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

TEST(PlotPictures, KeepsNoMoreThanItsLimitAndShowsOnlyOverThePictureItLastLeft) {
    std::mt19937 random(11);
    PixelBuffer surface(30, 20), other(30, 20);
    std::vector<PixelBuffer> pictures;
    PlotPictures kept(3000);  // room for a few of these pictures, not for all
    kept.Use(LookOf(30, 20));
    for (int phase = 0; phase < 8; ++phase) {
        pictures.push_back(RandomPicture(random, 30, 20));
        Draw(pictures.back(), surface.View());
        kept.Keep(phase, surface.View());
        EXPECT_LE(kept.Bytes(), 3000u);
    }
    int shown = 0;
    for (int phase = 0; phase < 8; ++phase)
        if (kept.Show(phase, surface.View())) {
            ++shown;
            EXPECT_EQ(surface.Pixels(), pictures[static_cast<std::size_t>(phase)].Pixels());
        }
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, 8);
    EXPECT_FALSE(kept.Show(0, other.View())) << "another surface";
    kept.Forget();
    EXPECT_FALSE(kept.Show(0, surface.View())) << "drawn over by someone else";
}

}  // namespace
}  // namespace lurvane
