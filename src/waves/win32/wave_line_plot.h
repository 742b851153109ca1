// The wave function drawn as a curve into a device context: anti-aliased GDI+ lines, for the
// settings dialog's live plot.
#pragma once

#include <windows.h>

#include "imaging/win32/gdiplus_api.h"
#include "waves/wave_table.h"

namespace lurvane::win32 {

class WaveLinePlot final : public WaveLineSink {
public:
    WaveLinePlot(const GdiPlus& api, HDC dc, int height, float penWidth = 1.0f)
        : api_(api), dc_(dc), height_(height), penWidth_(penWidth) {}

    // One segment, anti-aliased, `penWidth` pixels wide; GDI+ objects live only for the segment.
    void DrawWaveLine(int x1, int y1, int x2, int y2, uint32_t argb) override;
    int Height() const override { return height_; }

private:
    const GdiPlus& api_;
    HDC dc_;
    int height_;
    float penWidth_;
};

}  // namespace lurvane::win32
