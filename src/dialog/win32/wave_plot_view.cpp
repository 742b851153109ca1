#include "dialog/win32/wave_plot_view.h"

#include <exception>
#include <optional>

#include "util/win32/dpi.h"
#include "waves/win32/wave_line_plot.h"

namespace lurvane::win32 {
namespace {

constexpr wchar_t kClassName[] = L"LurvaneWavePlot";

// Hands the curve, computed at 96 DPI, to the plot at the window's scale.
class ScaledSink final : public WaveLineSink {
public:
    ScaledSink(WaveLineSink& target, UINT dpi) : target_(target), dpi_(dpi) {}
    void DrawWaveLine(int x1, int y1, int x2, int y2, uint32_t argb) override {
        target_.DrawWaveLine(ScaleForDpi(x1, dpi_), ScaleForDpi(y1, dpi_), ScaleForDpi(x2, dpi_),
                             ScaleForDpi(y2, dpi_), argb);
    }
    int Height() const override { return MulDiv(target_.Height(), kDefaultDpi, static_cast<int>(dpi_)); }
    void EndOfCurve() override { target_.EndOfCurve(); }

private:
    WaveLineSink& target_;
    UINT dpi_;
};

}  // namespace

bool WavePlotView::Create(HWND parent, int id, const RECT& place) {
    return CreateChild(kClassName, parent, id, place);
}

void WavePlotView::Show(const WaveParams& params) {
    last_ = params;
    DibSurface& surface = Surface();
    if (surface.Empty()) return;
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    const UINT dpi = WindowDpi(Window());
    WaveParams scaled = params;
    scaled.Height = MulDiv(surface.Width(), kDefaultDpi, static_cast<int>(dpi));
    kept_.Use({scaled, surface.Width(), surface.Height(), DibSurface::PixelOf(background), dpi});
    if (const std::optional<PixelRect> changed = kept_.Show(params.Counter, surface.View())) {
        if (!changed->Empty()) Present(RECT{changed->Left, changed->Top, changed->Right, changed->Bottom});
        return;
    }
    surface.Fill(background);
    const float penWidth = static_cast<float>(dpi) / kDefaultDpi;
    {
        WaveLinePlot plot(pictures_, surface.Dc(), surface.Height(), penWidth);
        ScaledSink sink(plot, dpi);
        try {
            ComputeWaveTable(scaled, sink);
        } catch (const std::exception&) {
            // Values only a hand-edited setting can hold: the plot shows a flat line, the dialog goes on.
            plot.Flush();  // the part drawn before the failure goes under the fill
            surface.Fill(background);
            plot.DrawWaveLine(0, surface.Height() / 2, surface.Width(), surface.Height() / 2, 0xFF000000u);
            plot.Flush();
        }
    }  // the plot's GDI+ graphics goes before the pixels are read
    GdiFlush();
    kept_.Keep(params.Counter, surface.View());
    Present();
}

}  // namespace lurvane::win32
