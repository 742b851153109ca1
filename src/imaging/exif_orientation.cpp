#include "imaging/exif_orientation.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "settings/file_bytes.h"

namespace lurvane {
namespace {

// The EXIF block lives in an APP1 segment, which cannot be longer than this.
constexpr std::size_t kHeaderSpan = 2 + 65536 + 4;

class Reader {
public:
    Reader(std::span<const uint8_t> bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}

    bool Has(std::size_t at, std::size_t count) const { return at <= bytes_.size() && count <= bytes_.size() - at; }
    uint16_t U16(std::size_t at) const {
        return bigEndian_ ? static_cast<uint16_t>(bytes_[at] << 8 | bytes_[at + 1])
                          : static_cast<uint16_t>(bytes_[at + 1] << 8 | bytes_[at]);
    }
    uint32_t U32(std::size_t at) const {
        return bigEndian_ ? uint32_t{U16(at)} << 16 | U16(at + 2) : uint32_t{U16(at + 2)} << 16 | U16(at);
    }

private:
    std::span<const uint8_t> bytes_;
    bool bigEndian_;
};

// The orientation entry of the first image directory of a TIFF structure.
int OrientationInTiff(std::span<const uint8_t> tiff) {
    if (tiff.size() < 8) return kUpright;
    bool bigEndian;
    if (tiff[0] == 'M' && tiff[1] == 'M') bigEndian = true;
    else if (tiff[0] == 'I' && tiff[1] == 'I') bigEndian = false;
    else return kUpright;
    const Reader reader(tiff, bigEndian);
    if (reader.U16(2) != 42) return kUpright;
    const std::size_t directory = reader.U32(4);
    if (!reader.Has(directory, 2)) return kUpright;
    const std::size_t entries = reader.U16(directory);
    constexpr uint16_t kOrientationTag = 0x0112, kShortType = 3;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + i * 12;
        if (!reader.Has(entry, 12)) return kUpright;
        if (reader.U16(entry) != kOrientationTag) continue;
        if (reader.U16(entry + 2) != kShortType || reader.U32(entry + 4) != 1) return kUpright;
        const int orientation = reader.U16(entry + 8);
        return orientation >= 1 && orientation <= 8 ? orientation : kUpright;
    }
    return kUpright;
}

}  // namespace

int ReadExifOrientation(std::span<const uint8_t> start) {
    if (start.size() < 4 || start[0] != 0xFF || start[1] != 0xD8) return kUpright;
    const Reader reader(start, true);
    std::size_t at = 2;
    while (reader.Has(at, 4)) {
        if (start[at] != 0xFF) return kUpright;
        const uint8_t marker = start[at + 1];
        if (marker == 0xFF) {  // fill byte before a marker
            ++at;
            continue;
        }
        // The image data follows the start of scan: no EXIF block after that.
        if (marker == 0xDA || marker == 0xD9) return kUpright;
        const std::size_t length = reader.U16(at + 2);
        if (length < 2) return kUpright;
        const std::size_t body = at + 4, bodyLength = length - 2;
        static constexpr uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0};
        if (marker == 0xE1 && bodyLength >= sizeof kExif && reader.Has(body, sizeof kExif)) {
            bool exif = true;
            for (std::size_t i = 0; i < sizeof kExif; ++i) exif = exif && start[body + i] == kExif[i];
            if (exif) {
                const std::size_t available = std::min(bodyLength, start.size() - body);
                return OrientationInTiff(start.subspan(body + sizeof kExif, available - sizeof kExif));
            }
        }
        at = body + bodyLength;
    }
    return kUpright;
}

int ReadExifOrientation(const std::string& path) {
    const FilePtr file = OpenFileForReading(path);
    if (!file) return kUpright;
    std::vector<uint8_t> bytes(kHeaderSpan);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    return ReadExifOrientation(bytes);
}

}  // namespace lurvane
