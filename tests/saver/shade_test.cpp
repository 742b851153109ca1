#include "saver/shade.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace lurvane {
namespace {

TEST(Shade, FactorsOfEveryFadeStep) {
    const std::map<int, uint32_t> down = {{2, 251},  {6, 241},  {10, 230}, {14, 220}, {18, 210}, {22, 200}, {26, 189},
                                          {30, 179}, {34, 169}, {38, 159}, {42, 148}, {46, 138}, {50, 128}, {54, 118},
                                          {58, 108}, {62, 97},  {66, 87},  {70, 77},  {74, 67},  {78, 56},  {82, 46},
                                          {86, 36},  {90, 26},  {94, 15},  {98, 5}};
    const std::map<int, uint32_t> up = {{100, 0}, {96, 10},  {92, 20},  {88, 31},  {84, 41},  {80, 51},  {76, 61},
                                        {72, 72}, {68, 82},  {64, 92},  {60, 102}, {56, 113}, {52, 123}, {48, 133},
                                        {44, 143}, {40, 154}, {36, 164}, {32, 174}, {28, 184}, {24, 195}, {20, 205},
                                        {16, 215}, {12, 225}, {8, 236},  {4, 246}};
    for (int d : kFadeDownSteps) EXPECT_EQ(ShadeFactor(d), down.at(d)) << d;
    for (int d : kFadeUpSteps) EXPECT_EQ(ShadeFactor(d), up.at(d)) << d;
    EXPECT_EQ(ShadeFactor(0), 0u);  // 256 keeps only its low 8 bits
    // Hand-edited extremes keep to the same rule instead of overflowing.
    EXPECT_EQ(ShadeFactor(-2147483647 - 1), 123u);  // 5497558394.88 -> 5497558395
    EXPECT_EQ(ShadeFactor(2147483647), 136u);       // -5497557880.32 -> -5497557880
}

TEST(Shade, ChannelsScaleSeparatelyAndTheTopByteIsCleared) {
    const std::vector<uint32_t> source = {0x00FFFFFF, 0xFFC88010, 0x12000000};
    std::vector<uint32_t> target(3, 0xDEADBEEF);
    ShadePixels(source, target, 50);
    EXPECT_EQ(target, (std::vector<uint32_t>{0x007F7F7F, 0x00644008, 0}));
    ShadePixels(source, target, 10);  // factor 230: 200 -> 179, 128 -> 115, 16 -> 14
    EXPECT_EQ(target[1], 0x00B3730Eu);
    EXPECT_EQ(source[0], 0x00FFFFFFu);  // the source stays undarkened
    for (int d : {100, 0}) {
        ShadePixels(source, target, d);
        EXPECT_EQ(target, (std::vector<uint32_t>(3, 0))) << d;
    }
}

TEST(Shade, WholeSurfacesOfEqualSizeOnly) {
    PixelBuffer one(1, 1, 0x00FFFFFF), target(1, 1);
    EXPECT_TRUE(ShadeBitmap(one.View(), target.View(), 50));
    EXPECT_EQ(target.Pixels()[0], 0x007F7F7Fu);
    PixelBuffer wide(2, 1, 0x00FFFFFF);
    EXPECT_FALSE(ShadeBitmap(wide.View(), target.View(), 2));
    EXPECT_EQ(target.Pixels()[0], 0x007F7F7Fu);
    PixelBuffer empty;
    EXPECT_TRUE(ShadeBitmap(empty.View(), empty.View(), 2));
}

}  // namespace
}  // namespace lurvane
