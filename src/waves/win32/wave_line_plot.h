// The wave function drawn as a curve into a device context: anti-aliased GDI+ lines, for the
// settings dialog's live plot.
#pragma once

#include <windows.h>

#include <vector>

#include "imaging/win32/gdiplus_api.h"
#include "waves/wave_table.h"

namespace lurvane::win32 {

// One plot object serves one drawing of the curve. Segments that join end to start are drawn
// together as one line strip, with one GDI+ graphics and pen, when the strip breaks, at the
// curve's end and when the object goes: a GDI+ call per segment costs more than the whole curve.
class WaveLinePlot final : public WaveLineSink {
public:
    WaveLinePlot(const GdiPlus& api, HDC dc, int height, float penWidth = 1.0f)
        : api_(api), dc_(dc), height_(height), penWidth_(penWidth) {}
    WaveLinePlot(const WaveLinePlot&) = delete;
    WaveLinePlot& operator=(const WaveLinePlot&) = delete;
    ~WaveLinePlot() override;

    // One segment, anti-aliased, `penWidth` pixels wide.
    void DrawWaveLine(int x1, int y1, int x2, int y2, uint32_t argb) override;
    int Height() const override { return height_; }
    // Draws what is still waiting.
    void Flush();
    void EndOfCurve() override { Flush(); }

private:
    bool Prepare(uint32_t argb);

    const GdiPlus& api_;
    HDC dc_;
    int height_;
    float penWidth_;
    GdiPlus::Graphics* graphics_ = nullptr;
    GdiPlus::Pen* pen_ = nullptr;
    uint32_t penColour_ = 0;
    std::vector<POINT> strip_;
    uint32_t stripColour_ = 0;
};

}  // namespace lurvane::win32
