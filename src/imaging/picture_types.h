// The picture files the saver shows: the extensions the random choice and the picture chooser
// accept, and what the capture decodes.
#pragma once

#include <array>
#include <string_view>

namespace lurvane {

inline constexpr std::array<std::string_view, 7> kPictureExtensions = {"jpg", "jpeg", "bmp", "gif", "png", "tif", "tiff"};

// Whether a file with this extension (without its ".") is a picture, in any case.
bool IsPictureExtension(std::string_view extension);

}  // namespace lurvane
