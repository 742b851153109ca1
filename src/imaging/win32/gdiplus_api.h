// The few GDI+ flat functions the program draws with, bound at run time so that a missing
// gdiplus.dll can be reported instead of stopping the loader.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "imaging/surface.h"
#include "util/win32/handles.h"

namespace lurvane::win32 {

class GdiPlus {
public:
    using Status = int;
    using Graphics = void;
    using Image = void;
    using Pen = void;

    struct StartupInput {
        UINT32 GdiplusVersion = 1;
        void* DebugEventCallback = nullptr;
        BOOL SuppressBackgroundThread = FALSE;
        BOOL SuppressExternalCodecs = FALSE;
    };

    static constexpr int kInterpolationHighQualityBicubic = 7;
    static constexpr int kSmoothingAntiAlias = 4;
    static constexpr int kUnitPixel = 2;
    static constexpr int kPixelFormat32bppPARGB = 0x000E200B;

    // Binds the library; Available() is false when the library or a function is missing. The
    // program makes one binding at its start and hands it to whatever draws with GDI+.
    GdiPlus();
    GdiPlus(const GdiPlus&) = delete;
    GdiPlus& operator=(const GdiPlus&) = delete;
    bool Available() const { return available_; }

    Status (WINAPI* Startup)(ULONG_PTR*, const StartupInput*, void*) = nullptr;
    void (WINAPI* Shutdown)(ULONG_PTR) = nullptr;
    Status (WINAPI* CreateBitmapFromScan0)(INT, INT, INT, int, BYTE*, Image**) = nullptr;
    Status (WINAPI* GetImageWidth)(Image*, UINT*) = nullptr;
    Status (WINAPI* GetImageHeight)(Image*, UINT*) = nullptr;
    Status (WINAPI* DisposeImage)(Image*) = nullptr;
    Status (WINAPI* CreateFromHDC)(HDC, Graphics**) = nullptr;
    Status (WINAPI* DeleteGraphics)(Graphics*) = nullptr;
    Status (WINAPI* SetInterpolationMode)(Graphics*, int) = nullptr;
    Status (WINAPI* SetSmoothingMode)(Graphics*, int) = nullptr;
    Status (WINAPI* DrawImageRectRectI)(Graphics*, Image*, INT, INT, INT, INT, INT, INT, INT, INT, int, const void*,
                                        void*, void*) = nullptr;
    Status (WINAPI* CreatePen1)(UINT32, float, int, Pen**) = nullptr;
    Status (WINAPI* DeletePen)(Pen*) = nullptr;
    Status (WINAPI* DrawLineI)(Graphics*, Pen*, INT, INT, INT, INT) = nullptr;
    Status (WINAPI* DrawLinesI)(Graphics*, Pen*, const POINT*, INT) = nullptr;
    Status (WINAPI* ImageRotateFlip)(Image*, int) = nullptr;  // optional: null where the library lacks it

private:
    Module module_;
    bool available_ = false;
};

// GdiplusStartup for one owner's lifetime; Started() is false when GDI+ could not start.
class GdiPlusSession {
public:
    explicit GdiPlusSession(const GdiPlus& api);
    GdiPlusSession(const GdiPlusSession&) = delete;
    GdiPlusSession& operator=(const GdiPlusSession&) = delete;
    ~GdiPlusSession();
    bool Started() const { return token_ != 0; }

private:
    const GdiPlus& api_;
    ULONG_PTR token_ = 0;
};

class PictureFile;

// A picture file (BMP, JPEG, GIF, PNG, TIFF) decoded for drawing at about `width` x `height`
// pixels: a larger picture is shrunk to no less than that while it is decoded, so Width and
// Height are those of the shrunk picture. Empty when the file cannot be read. A photo whose EXIF
// block says how it was turned is turned upright.
class GdiPlusPicture {
public:
    GdiPlusPicture(const GdiPlus& api, const PictureFile& file, int width, int height);
    GdiPlusPicture(const GdiPlusPicture&) = delete;
    GdiPlusPicture& operator=(const GdiPlusPicture&) = delete;
    ~GdiPlusPicture();

    bool Loaded() const { return image_ != nullptr && width_ > 0 && height_ > 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Draws the whole picture into the rectangle of the device context.
    bool DrawScaled(HDC dc, int x, int y, int width, int height, int interpolation) const;

private:
    const GdiPlus& api_;
    PixelBuffer pixels_;  // the bitmap's memory: GDI+ draws from it while the picture lives
    GdiPlus::Image* image_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace lurvane::win32
