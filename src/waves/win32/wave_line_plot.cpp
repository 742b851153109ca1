#include "waves/win32/wave_line_plot.h"

namespace lurvane::win32 {

WaveLinePlot::~WaveLinePlot() {
    Flush();
    if (pen_ != nullptr) api_.DeletePen(pen_);
    if (graphics_ != nullptr) api_.DeleteGraphics(graphics_);
}

bool WaveLinePlot::Prepare(uint32_t argb) {
    if (!api_.Available()) return false;
    if (graphics_ == nullptr) {
        if (api_.CreateFromHDC(dc_, &graphics_) != 0) {
            graphics_ = nullptr;
            return false;
        }
        api_.SetSmoothingMode(graphics_, GdiPlus::kSmoothingAntiAlias);
    }
    if (pen_ != nullptr && penColour_ != argb) {
        api_.DeletePen(pen_);
        pen_ = nullptr;
    }
    if (pen_ == nullptr) {
        if (api_.CreatePen1(argb, penWidth_, GdiPlus::kUnitPixel, &pen_) != 0) {
            pen_ = nullptr;
            return false;
        }
        penColour_ = argb;
    }
    return true;
}

void WaveLinePlot::DrawWaveLine(int x1, int y1, int x2, int y2, uint32_t argb) {
    const bool joins = !strip_.empty() && strip_.back().x == x1 && strip_.back().y == y1 && stripColour_ == argb;
    if (!joins) {
        Flush();
        strip_.push_back({x1, y1});
        stripColour_ = argb;
    }
    strip_.push_back({x2, y2});
}

void WaveLinePlot::Flush() {
    if (strip_.size() >= 2 && Prepare(stripColour_))
        api_.DrawLinesI(graphics_, pen_, strip_.data(), static_cast<INT>(strip_.size()));
    strip_.clear();
}

}  // namespace lurvane::win32
