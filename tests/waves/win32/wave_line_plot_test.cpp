#include "waves/win32/wave_line_plot.h"

#include <gtest/gtest.h>

#include "imaging/win32/dib_surface.h"
#include "imaging/win32/gdiplus_api.h"

namespace lurvane::win32 {
namespace {

// Wine's GDI+ draws lines on a device context without anti-aliasing, so only the curve's
// course is checked here.
TEST(WaveLinePlot, DrawsTheWaveAsACurveAroundTheCentreLine) {
    const GdiPlus api;
    GdiPlusSession session(api);
    ASSERT_TRUE(session.Started());
    DibSurface surface;
    ASSERT_TRUE(surface.Resize(200, 60));
    surface.Fill(RGB(255, 255, 255));

    WaveLinePlot plot(api, surface.Dc(), surface.Height());
    WaveParams wave{0, 30, 200, 10, 6, 20, 1};
    ComputeWaveTable(wave, plot);

    const SurfaceView view = surface.View();
    int dark = 0, farFromCentre = 0;
    for (int y = 0; y < view.Height; ++y)
        for (int x = 0; x < view.Width; ++x) {
            const uint32_t blue = view.Row(y)[x] & 0xFF;
            if (blue < 64) {
                ++dark;
                if (y < 30 - 12 || y > 30 + 12) ++farFromCentre;  // the amplitude is 10 pixels
            }
        }
    EXPECT_GT(dark, 150) << "a curve across the whole width";
    EXPECT_EQ(farFromCentre, 0);
    // The curve starts at x = 0 on the centre line: row 0 has no displacement.
    bool startsAtCentre = false;
    for (int y = 28; y <= 32; ++y) startsAtCentre |= (view.Row(y)[0] & 0xFF) < 224;
    EXPECT_TRUE(startsAtCentre);
}

}  // namespace
}  // namespace lurvane::win32
