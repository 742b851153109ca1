#include "imaging/picture_header.h"

#include <algorithm>
#include <cstdlib>

namespace lurvane {
namespace {

class Bytes {
public:
    explicit Bytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    bool Has(std::size_t at, std::size_t count) const { return at <= bytes_.size() && count <= bytes_.size() - at; }
    uint8_t U8(std::size_t at) const { return bytes_[at]; }
    uint32_t Big16(std::size_t at) const { return uint32_t{bytes_[at]} << 8 | bytes_[at + 1]; }
    uint32_t Big32(std::size_t at) const { return Big16(at) << 16 | Big16(at + 2); }
    uint32_t Little16(std::size_t at) const { return uint32_t{bytes_[at + 1]} << 8 | bytes_[at]; }
    uint32_t Little32(std::size_t at) const { return Little16(at + 2) << 16 | Little16(at); }
    bool StartsWith(std::span<const uint8_t> prefix) const {
        return Has(0, prefix.size()) && std::equal(prefix.begin(), prefix.end(), bytes_.begin());
    }

private:
    std::span<const uint8_t> bytes_;
};

std::optional<PictureDimensions> Png(const Bytes& file) {
    // The header chunk must come first: its width and height follow the signature and the
    // chunk's length and type.
    constexpr uint32_t kIhdr = 0x49484452;
    if (!file.Has(8, 16) || file.Big32(12) != kIhdr) return std::nullopt;
    return PictureDimensions{file.Big32(16), file.Big32(20)};
}

std::optional<PictureDimensions> Gif(const Bytes& file) {
    if (!file.Has(6, 7)) return std::nullopt;
    PictureDimensions size{file.Little16(6), file.Little16(8)};
    std::size_t at = 13;
    if (file.U8(10) & 0x80) at += 3u << ((file.U8(10) & 7) + 1);  // the global colour table
    // Extensions before the first image: an introducer, a label, then sized blocks up to an empty one.
    while (file.Has(at, 1) && file.U8(at) == 0x21) {
        at += 2;
        while (file.Has(at, 1) && file.U8(at) != 0) at += 1u + file.U8(at);
        ++at;
    }
    if (!file.Has(at, 9) || file.U8(at) != 0x2C) return std::nullopt;
    size.Width = std::max<int64_t>(size.Width, file.Little16(at + 5));
    size.Height = std::max<int64_t>(size.Height, file.Little16(at + 7));
    return size;
}

std::optional<PictureDimensions> Bmp(const Bytes& file) {
    if (!file.Has(14, 4)) return std::nullopt;
    const uint32_t header = file.Little32(14);
    if (header == 12 && file.Has(18, 4)) return PictureDimensions{file.Little16(18), file.Little16(20)};
    if (header < 40 || !file.Has(18, 8)) return std::nullopt;
    // The height is negative for rows stored top-down.
    const auto width = static_cast<int32_t>(file.Little32(18)), height = static_cast<int32_t>(file.Little32(22));
    return PictureDimensions{std::abs(int64_t{width}), std::abs(int64_t{height})};
}

std::optional<PictureDimensions> Jpeg(const Bytes& file) {
    std::size_t at = 2;
    while (file.Has(at, 4)) {
        if (file.U8(at) != 0xFF) return std::nullopt;
        const uint8_t marker = file.U8(at + 1);
        if (marker == 0xFF) {  // fill byte before a marker
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return std::nullopt;  // image data, or the end, before any frame
        // Every start of frame (C0 to CF) except the tables C4, C8 and CC.
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (!file.Has(at + 5, 4)) return std::nullopt;
            return PictureDimensions{file.Big16(at + 7), file.Big16(at + 5)};
        }
        const uint32_t length = file.Big16(at + 2);
        if (length < 2) return std::nullopt;
        at += 2 + length;
    }
    return std::nullopt;
}

}  // namespace

std::optional<PictureDimensions> ReadPictureDimensions(std::span<const uint8_t> start) {
    const Bytes file(start);
    static constexpr uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    static constexpr uint8_t kGif[] = {'G', 'I', 'F', '8'};
    static constexpr uint8_t kBmp[] = {'B', 'M'};
    static constexpr uint8_t kJpeg[] = {0xFF, 0xD8};
    if (file.StartsWith(kPng)) return Png(file);
    if (file.StartsWith(kGif)) return Gif(file);
    if (file.StartsWith(kBmp)) return Bmp(file);
    if (file.StartsWith(kJpeg)) return Jpeg(file);
    return std::nullopt;
}

bool ExceedsPixelLimit(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width > kMaxPicturePixels / height;
}

}  // namespace lurvane
