// The still background of a run: a snapshot of the desktop, or a picture file stretched or
// fitted onto the saver's surfaces.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "imaging/win32/dib_surface.h"
#include "imaging/win32/gdiplus_api.h"
#include "imaging/win32/picture_file.h"

namespace lurvane::win32 {

struct CaptureSurfaces {
    DibSurface& Main;        // the visible surface
    DibSurface& BackBuffer;  // clean copy of the background
    DibSurface& Image;       // the prepared background image
};

enum class CaptureResult {
    Captured,
    NoDesktopSize,
    SnapshotFailed,
    WindowGone,  // the form was destroyed while the snapshot let messages run
};

struct CaptureRequest {
    std::string PictureFile;  // empty: the desktop snapshot
    const win32::PictureFile* Opened = nullptr;  // PictureFile already opened, if at hand
    bool MaximizeBackground = false;
    int SizeBackground = 100;
    COLORREF BackgroundColour = RGB(0, 0, 0);  // around a fitted picture
    bool Preview = false;                      // the surfaces take the form's size
    std::optional<RECT> ScreenArea;            // the monitor a full-screen run covers; the primary's when unset
};

// Sizes the three surfaces and fills them. A picture that cannot be loaded falls back to the
// desktop snapshot, taken then without hiding the form first.
CaptureResult CaptureBackground(const GdiPlus& pictures, HWND form, const CaptureRequest& request,
                                CaptureSurfaces surfaces);

// A colour setting as a colour: 0x00BBGGRR, or a system colour index with the top bit set.
COLORREF ColourFromSetting(uint32_t setting);

}  // namespace lurvane::win32
