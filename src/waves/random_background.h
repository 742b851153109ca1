// The random background: with RandomizeBackground on and no picture set, every start shows a
// picture from the pictures folder, chosen through a random profile so that the path and the
// wave settings fit the picture.
#pragma once

#include "util/file_functions.h"

#include <string>
#include <string_view>

namespace lurvane {

// The documents folder followed by "\Lurvane Pictures\", the home of pictures and profiles.
std::string PicturesFolder(const FileSystem& fileSystem);

// The picture for this start: `backgroundImage` itself when it is set or `randomizeBackground`
// is off; otherwise the pictures folder followed by the picture (jpg, bmp or gif) of a random
// profile (*.rpp), or the empty text when there is no profile or its picture is missing. The
// picture of Beach.rpp is Beach.jpg (or .bmp, .gif) when there is one, else the first picture
// listed under Beach.* (Beach.2010.jpg).
// Each profile has the same chance; the generator is seeded from `secondsSinceMidnight`.
std::string PickRandomBackground(const std::string& backgroundImage, bool randomizeBackground,
                                 const FileSystem& fileSystem, double secondsSinceMidnight);

}  // namespace lurvane
