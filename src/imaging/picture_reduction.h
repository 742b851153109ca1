// Shrinking a large picture while it is read: blocks of whole pixels are averaged, so that only
// the shrunk picture and the rows of one block are ever held, whatever the picture's size.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/surface.h"

namespace lurvane {

struct Reduction {
    int X = 1, Y = 1;
    friend bool operator==(const Reduction&, const Reduction&) = default;
};

// The largest whole factors that keep a picture of `width` x `height` at least `wantedWidth` x
// `wantedHeight` large (1 where it is not larger).
Reduction ReductionFor(int width, int height, int wantedWidth, int wantedHeight);

// Averages each block of X x Y pixels of a `width` x `height` picture into one pixel; the last
// column and row of blocks take what is left. Each of the four bytes of a pixel is averaged on
// its own and rounded to nearest, so premultiplied alpha stays premultiplied.
class BoxReducer {
public:
    BoxReducer(int width, int height, Reduction reduction);

    // The picture's next `count` rows, `width` pixels each, top-down.
    void AddRows(const uint32_t* rows, int count);
    // The shrunk picture, complete once every row has been added.
    PixelBuffer& Result() { return result_; }

private:
    void FinishRow();

    int width_, height_;
    Reduction reduction_;
    int rowsIn_ = 0;       // rows of the picture added so far
    int rowsInBlock_ = 0;  // of them, rows in the current row of blocks
    std::vector<uint64_t> sums_;  // four channels per shrunk pixel of the current row of blocks
    PixelBuffer result_;
};

}  // namespace lurvane
