#include "imaging/win32/screen_capture.h"

#include "imaging/picture_fit.h"
#include "util/win32/message_loop.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

bool CopyWhole(DibSurface& target, const DibSurface& source) {
    return BitBlt(target.Dc(), 0, 0, source.Width(), source.Height(), source.Dc(), 0, 0, SRCCOPY) != FALSE;
}

bool DrawPicture(const GdiPlus& api, const PictureFile& file, const CaptureRequest& request,
                 CaptureSurfaces& surfaces) {
    if (!file.Usable()) return false;
    const auto placement = FitPicture(surfaces.Main.Width(), surfaces.Main.Height(), file.Width(), file.Height(),
                                      request.MaximizeBackground, request.SizeBackground);
    if (!placement) return false;
    // Decoded for the size it is shown at; the picture's own size is not kept past the drawing.
    const GdiPlusPicture picture(api, file, placement->Width, placement->Height);
    if (!picture.Loaded()) return false;
    // The image already holds the background colour around the picture (CaptureBackground).
    if (!picture.DrawScaled(surfaces.Image.Dc(), placement->X, placement->Y, placement->Width, placement->Height,
                            GdiPlus::kInterpolationHighQualityBicubic))
        return false;
    CopyWhole(surfaces.BackBuffer, surfaces.Image);
    return CopyWhole(surfaces.Main, surfaces.Image);
}

bool CopyDesktop(HDC desktop, const RECT& rect, bool preview, CaptureSurfaces& surfaces) {
    bool copied;
    if (preview) {
        // The preview shows the whole screen's picture scaled down, as a full-screen run shows it.
        SetStretchBltMode(surfaces.Main.Dc(), HALFTONE);
        SetBrushOrgEx(surfaces.Main.Dc(), 0, 0, nullptr);
        copied = StretchBlt(surfaces.Main.Dc(), 0, 0, surfaces.Main.Width(), surfaces.Main.Height(), desktop,
                            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SRCCOPY) != FALSE;
    } else {
        copied = BitBlt(surfaces.Main.Dc(), 0, 0, surfaces.Main.Width(), surfaces.Main.Height(), desktop, rect.left,
                        rect.top, SRCCOPY) != FALSE;
    }
    CopyWhole(surfaces.BackBuffer, surfaces.Main);
    return CopyWhole(surfaces.Image, surfaces.Main) && copied;
}

}  // namespace

COLORREF ColourFromSetting(uint32_t setting) {
    if (setting & 0x80000000u) return GetSysColor(static_cast<int>(setting & 0xFFu));
    return setting & 0x00FFFFFFu;
}

CaptureResult CaptureBackground(const GdiPlus& pictures, HWND form, const CaptureRequest& request,
                                CaptureSurfaces surfaces) {
    HWND desktopWindow = GetDesktopWindow();
    RECT desktop{};
    if (!GetWindowRect(desktopWindow, &desktop)) return CaptureResult::NoDesktopSize;
    if (request.ScreenArea) desktop = *request.ScreenArea;

    RECT client{};
    GetClientRect(form, &client);
    const int width = request.Preview ? client.right : desktop.right - desktop.left;
    const int height = request.Preview ? client.bottom : desktop.bottom - desktop.top;
    surfaces.Main.Resize(width, height);
    surfaces.BackBuffer.Resize(width, height);
    surfaces.Image.Resize(width, height);
    surfaces.Image.Fill(request.BackgroundColour);
    // A preview without a usable host has no area to fill: nothing failed.
    if (width <= 0 || height <= 0) return CaptureResult::Captured;

    bool captured = false;
    if (request.Opened != nullptr) {
        captured = DrawPicture(pictures, *request.Opened, request, surfaces);
    } else if (!request.PictureFile.empty()) {
        captured = DrawPicture(pictures, PictureFile(Widen(request.PictureFile)), request, surfaces);
    }
    if (!captured) {
        WindowDc desktopDc(desktopWindow);
        if (request.PictureFile.empty()) {
            // Let the windows under the saver repaint before the snapshot is taken.
            ShowWindow(form, SW_HIDE);
            PumpPendingMessages();
            if (!IsWindow(form)) return CaptureResult::WindowGone;
            Sleep(250);
            PumpPendingMessages();
            if (!IsWindow(form)) return CaptureResult::WindowGone;
        }
        captured = desktopDc && CopyDesktop(desktopDc.get(), desktop, request.Preview, surfaces);
    }
    ShowWindow(form, SW_SHOW);
    return captured ? CaptureResult::Captured : CaptureResult::SnapshotFailed;
}

}  // namespace lurvane::win32
