#include "waves/win32/wave_line_plot.h"

namespace lurvane::win32 {

void WaveLinePlot::DrawWaveLine(int x1, int y1, int x2, int y2, uint32_t argb) {
    const GdiPlus& api = api_;
    if (!api.Available()) return;
    GdiPlus::Graphics* graphics = nullptr;
    if (api.CreateFromHDC(dc_, &graphics) != 0) return;
    GdiPlus::Pen* pen = nullptr;
    if (api.CreatePen1(argb, penWidth_, GdiPlus::kUnitPixel, &pen) == 0) {
        api.SetSmoothingMode(graphics, GdiPlus::kSmoothingAntiAlias);
        api.DrawLineI(graphics, pen, x1, y1, x2, y2);
        api.DeletePen(pen);
    }
    api.DeleteGraphics(graphics);
}

}  // namespace lurvane::win32
