#include "imaging/exif_orientation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace lurvane {
namespace {

bool ToolsPresent() {
    return std::system("command -v convert >/dev/null 2>&1 && command -v exiftool >/dev/null 2>&1") == 0;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Photos as a camera leaves them: a JPEG written by ImageMagick, its orientation set by
// exiftool, in both byte orders that EXIF allows, among other tags.
TEST(ExifOrientation, ReadsWhatAnIndependentToolWrote) {
    if (!ToolsPresent()) GTEST_SKIP() << "ImageMagick and exiftool are installed by scripts/setup";
    testing::TempFolder folder;
    for (const char* byteOrder : {"MM", "II"}) {
        for (int orientation = 1; orientation <= 8; ++orientation) {
            const std::string path = folder.Path("photo.jpg");
            const std::string command = "convert -size 6x4 xc:red '" + path + "' && exiftool -q -n -overwrite_original" +
                                        " -ExifByteOrder=" + byteOrder + " -Make=Lurvane -Artist=Ann" +
                                        " -Orientation=" + std::to_string(orientation) + " '" + path + "'";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            EXPECT_EQ(ReadExifOrientation(ReadBytes(path)), orientation) << byteOrder << " " << orientation;
            EXPECT_EQ(ReadExifOrientation(path), orientation);
        }
    }
    const std::string plain = folder.Path("plain.jpg");
    ASSERT_EQ(std::system(("convert -size 6x4 xc:blue '" + plain + "'").c_str()), 0);
    EXPECT_EQ(ReadExifOrientation(plain), kUpright) << "a JPEG without EXIF stands as stored";
    EXPECT_EQ(ReadExifOrientation(folder.Path("missing.jpg")), kUpright);
}

// Damaged files: every cut and every changed byte of a real photo reads as some orientation
// from 1 to 8, and nothing outside the bytes (the sanitizers watch that).
TEST(ExifOrientation, DamagedFilesReadAsUprightOrTheirOrientationWithoutReadingPastTheEnd) {
    if (!ToolsPresent()) GTEST_SKIP() << "ImageMagick and exiftool are installed by scripts/setup";
    testing::TempFolder folder;
    const std::string path = folder.Path("photo.jpg");
    ASSERT_EQ(std::system(("convert -size 6x4 xc:red '" + path + "' && exiftool -q -n -overwrite_original"
                           " -Orientation=6 '" + path + "'").c_str()), 0);
    const std::vector<uint8_t> photo = ReadBytes(path);
    for (std::size_t length = 0; length <= photo.size(); ++length) {
        const std::vector<uint8_t> cut(photo.begin(), photo.begin() + static_cast<std::ptrdiff_t>(length));
        const int orientation = ReadExifOrientation(cut);
        EXPECT_TRUE(orientation == kUpright || orientation == 6) << length;
    }
    std::mt19937 random(11);
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> damaged = photo;
        for (int k = 0; k < 3; ++k) damaged[random() % 200] = static_cast<uint8_t>(random());
        const int orientation = ReadExifOrientation(damaged);
        EXPECT_TRUE(orientation >= 1 && orientation <= 8) << round;
    }
}

}  // namespace
}  // namespace lurvane
