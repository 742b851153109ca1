#include "dialog/plot_pictures.h"

#include <algorithm>
#include <utility>

namespace lurvane {

void PlotPictures::Use(PlotLook look) {
    look.Shape.Counter = 0;
    if (look_ == look) return;
    look_ = look;
    kept_.clear();
    bytes_ = 0;
    Forget();
}

bool PlotPictures::Shows(SurfaceView surface) const {
    return look_ && !surface.Empty() && surface.Pixels == shownOn_.Pixels && surface.Width == shownOn_.Width &&
           surface.Height == shownOn_.Height && surface.Width == look_->Width && surface.Height == look_->Height;
}

std::optional<PixelRect> PlotPictures::Show(int phase, SurfaceView surface) {
    if (!Shows(surface)) return std::nullopt;
    const auto found = kept_.find(phase);
    if (found == kept_.end()) return std::nullopt;
    const Picture& picture = found->second;
    PixelRect changed{surface.Width, surface.Height, 0, 0};
    const auto touch = [&changed](int x, const Run& run) {
        changed = {std::min(changed.Left, x), std::min(changed.Top, run.Top), std::max(changed.Right, x + 1),
                   std::max(changed.Bottom, run.Top + run.Count)};
    };
    // The old curve goes under the background first: the new one may cross it anywhere.
    for (int x = 0; x < surface.Width; ++x) {
        const Run& run = shown_[static_cast<std::size_t>(x)];
        if (run.Count == 0) continue;
        for (int y = run.Top; y < run.Top + run.Count; ++y) surface.Row(y)[x] = look_->Background;
        touch(x, run);
    }
    const uint32_t* pixel = picture.Pixels.data();
    for (int x = 0; x < surface.Width; ++x) {
        const Run& run = picture.Columns[static_cast<std::size_t>(x)];
        if (run.Count == 0) continue;
        for (int y = run.Top; y < run.Top + run.Count; ++y) surface.Row(y)[x] = *pixel++;
        touch(x, run);
    }
    shown_.assign(picture.Columns.begin(), picture.Columns.end());
    return changed.Empty() ? PixelRect{} : changed;
}

void PlotPictures::Keep(int phase, SurfaceView surface) {
    if (!look_ || surface.Empty() || surface.Width != look_->Width || surface.Height != look_->Height) {
        Forget();
        return;
    }
    const uint32_t background = look_->Background;
    Picture picture;
    picture.Columns.assign(static_cast<std::size_t>(surface.Width), Run{});
    // Row by row, as the pixels lie in memory: each column's first and last drawn row.
    std::vector<int> last(static_cast<std::size_t>(surface.Width), -1);
    for (int y = 0; y < surface.Height; ++y) {
        const uint32_t* row = surface.Row(y);
        for (int x = 0; x < surface.Width; ++x) {
            if (row[x] == background) continue;
            Run& run = picture.Columns[static_cast<std::size_t>(x)];
            if (last[static_cast<std::size_t>(x)] < 0) run.Top = y;
            last[static_cast<std::size_t>(x)] = y;
        }
    }
    for (int x = 0; x < surface.Width; ++x) {
        Run& run = picture.Columns[static_cast<std::size_t>(x)];
        if (last[static_cast<std::size_t>(x)] < 0) continue;
        run.Count = last[static_cast<std::size_t>(x)] - run.Top + 1;
        for (int y = run.Top; y < run.Top + run.Count; ++y) picture.Pixels.push_back(surface.Row(y)[x]);
    }
    shown_ = picture.Columns;
    shownOn_ = surface;
    const std::size_t bytes = sizeof(Picture) + picture.Bytes();
    if (kept_.contains(phase) || bytes > byteLimit_ - std::min(bytes_, byteLimit_)) return;
    bytes_ += bytes;
    kept_.emplace(phase, std::move(picture));
}

}  // namespace lurvane
