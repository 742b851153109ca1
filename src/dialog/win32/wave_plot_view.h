// The live plot of the wave function (picPreview): the curve that the current period,
// amplitude, count, direction and smoothing give at one phase.
#pragma once

#include <windows.h>

#include "dialog/plot_pictures.h"
#include "dialog/win32/surface_window.h"
#include "imaging/win32/gdiplus_api.h"
#include "waves/wave_table.h"

namespace lurvane::win32 {

class WavePlotView final : public SurfaceWindow<WavePlotView> {
public:
    explicit WavePlotView(const GdiPlus& pictures) : pictures_(pictures) {}

    bool Create(HWND parent, int id, const RECT& place);

    // Draws the curve for `params` (its Height is set here from the window's width, measured
    // at 96 DPI so that the curve keeps its shape at every scaling). A set of values that the
    // wave function refuses shows a flat line.
    void Show(const WaveParams& params);

    void Redraw() { Show(last_); }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        return HandleSurfaceMessage(message, wParam, lParam);
    }

private:
    // The curve's pictures for the current settings, so that a tick only puts one back: a few
    // MiB hold every phase of the usual settings at 200 % scaling.
    static constexpr std::size_t kKeptBytes = std::size_t{4} << 20;

    const GdiPlus& pictures_;
    WaveParams last_;
    PlotPictures kept_{kKeptBytes};
};

}  // namespace lurvane::win32
