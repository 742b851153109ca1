#include "imaging/picture_header.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace lurvane {
namespace {

// Files as ImageMagick writes them (a JPEG with an EXIF block before its frame, a GIF with a
// comment before its image, both BMP headers), every cut of them and a TIFF, which is not read.
TEST(PictureDimensions, ReadsTheSizeEveryFormatClaimsAndNothingOfCutFiles) {
    if (std::system("command -v convert >/dev/null 2>&1 && command -v exiftool >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ImageMagick and exiftool are installed by scripts/setup";
    testing::TempFolder folder;
    for (const char* name : {"p.png", "p.gif", "p.bmp", "BMP2:p.bmp", "p.jpg", "p.tif"}) {
        const std::string target = name;
        const std::string file = folder.Path(target.substr(target.find(':') + 1));
        const std::string prefix = target.find(':') == std::string::npos ? "" : target.substr(0, target.find(':') + 1);
        const std::string command = "convert -size 7x5 gradient:red-blue -comment note '" + prefix + file +
                                    "' && exiftool -q -overwrite_original -Artist=Ann '" + file + "' 2>/dev/null; true";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::string text = testing::TempFolder::Read(file);
        const std::vector<uint8_t> bytes(text.begin(), text.end());
        const bool tiff = target.ends_with(".tif");
        EXPECT_EQ(ReadPictureDimensions(bytes), tiff ? std::nullopt : std::optional(PictureDimensions{7, 5})) << name;
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            const auto cut = ReadPictureDimensions(std::span(bytes).first(length));
            EXPECT_TRUE(!cut || *cut == (PictureDimensions{7, 5})) << name << " cut at " << length;
        }
    }
}

}  // namespace
}  // namespace lurvane
