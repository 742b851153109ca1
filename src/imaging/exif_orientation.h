// How a photo must be turned to stand upright: the orientation that cameras store in the EXIF
// block of a JPEG file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace lurvane {

// EXIF orientations 1 to 8: 1 is upright, 6 means the picture must turn 90 degrees clockwise,
// 3 half a turn, 8 a quarter turn anticlockwise; 2, 4, 5 and 7 are their mirror images.
inline constexpr int kUpright = 1;

// The orientation stored in the EXIF block at the start of a JPEG file; kUpright when the bytes
// are no JPEG, hold no EXIF block or no orientation, or an orientation outside 1 to 8. Reads
// nothing outside `start`.
int ReadExifOrientation(std::span<const uint8_t> start);

// The same for a file: only its first part is read, where the EXIF block must stand.
int ReadExifOrientation(const std::string& path);

}  // namespace lurvane
