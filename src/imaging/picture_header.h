// How large a picture file says it is, read from its first bytes without decoding anything, so
// that a picture too large to show is turned away before a decoder allocates for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace lurvane {

// Pictures with more pixels than this are not shown at all (they count as unreadable).
inline constexpr int64_t kMaxPicturePixels = 256'000'000;

// Enough of a file's start to hold the size of any of the formats below in all but odd files.
inline constexpr std::size_t kPictureHeaderSpan = 256 * 1024;

struct PictureDimensions {
    int64_t Width = 0;
    int64_t Height = 0;
    friend bool operator==(const PictureDimensions&, const PictureDimensions&) = default;
};

// The size a PNG, GIF, BMP or JPEG file claims (for a GIF the larger of its screen and its first
// image in each direction); no value for other files, or when the size does not stand within
// `start`. Reads nothing outside `start`.
std::optional<PictureDimensions> ReadPictureDimensions(std::span<const uint8_t> start);

bool ExceedsPixelLimit(int64_t width, int64_t height);

}  // namespace lurvane
