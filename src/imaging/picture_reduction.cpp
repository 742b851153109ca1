#include "imaging/picture_reduction.h"

#include <algorithm>

namespace lurvane {
namespace {

int CeilDiv(int a, int b) { return a / b + (a % b != 0 ? 1 : 0); }

}  // namespace

Reduction ReductionFor(int width, int height, int wantedWidth, int wantedHeight) {
    return {std::max(1, width / std::max(1, wantedWidth)), std::max(1, height / std::max(1, wantedHeight))};
}

BoxReducer::BoxReducer(int width, int height, Reduction reduction)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      reduction_{std::max(1, reduction.X), std::max(1, reduction.Y)} {
    result_.Resize(CeilDiv(width_, reduction_.X), CeilDiv(height_, reduction_.Y));
    sums_.assign(static_cast<std::size_t>(result_.Width()) * 4, 0);
}

void BoxReducer::AddRows(const uint32_t* rows, int count) {
    for (int r = 0; r < count && rowsIn_ < height_; ++r) {
        const uint32_t* row = rows + static_cast<std::size_t>(r) * static_cast<std::size_t>(width_);
        uint64_t* sum = sums_.data();
        for (int x = 0; x < width_; x += reduction_.X, sum += 4) {
            const int end = std::min(width_, x + reduction_.X);
            for (int i = x; i < end; ++i) {
                const uint32_t pixel = row[i];
                sum[0] += pixel & 0xFF;
                sum[1] += pixel >> 8 & 0xFF;
                sum[2] += pixel >> 16 & 0xFF;
                sum[3] += pixel >> 24;
            }
        }
        ++rowsIn_;
        if (++rowsInBlock_ == reduction_.Y || rowsIn_ == height_) FinishRow();
    }
}

void BoxReducer::FinishRow() {
    uint32_t* out = result_.View().Row((rowsIn_ - 1) / reduction_.Y);
    uint64_t* sum = sums_.data();
    for (int x = 0; x < result_.Width(); ++x, sum += 4) {
        const uint64_t columns = static_cast<uint64_t>(std::min(reduction_.X, width_ - x * reduction_.X));
        const uint64_t count = columns * static_cast<uint64_t>(rowsInBlock_);
        uint32_t pixel = 0;
        for (int channel = 0; channel < 4; ++channel)
            pixel |= static_cast<uint32_t>((sum[channel] + count / 2) / count) << (8 * channel);
        out[x] = pixel;
    }
    std::fill(sums_.begin(), sums_.end(), 0);
    rowsInBlock_ = 0;
}

}  // namespace lurvane
