#include "imaging/win32/gdiplus_api.h"

#include "imaging/win32/picture_file.h"

namespace lurvane::win32 {
namespace {

template <typename Function>
bool Bind(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

// GDI+'s RotateFlipType that turns a picture stored with this EXIF orientation upright.
int UprightTurn(int orientation) {
    constexpr int kRotate90 = 1, kRotate180 = 2, kRotate270 = 3, kFlipX = 4, kRotate90FlipX = 5, kFlipY = 6,
                  kRotate270FlipX = 7;
    switch (orientation) {
    case 2: return kFlipX;
    case 3: return kRotate180;
    case 4: return kFlipY;
    case 5: return kRotate90FlipX;
    case 6: return kRotate90;
    case 7: return kRotate270FlipX;
    case 8: return kRotate270;
    default: return 0;
    }
}

}  // namespace

GdiPlus::GdiPlus() : module_(LoadLibraryW(L"gdiplus.dll")) {
    if (!module_) return;
    const HMODULE module = module_.get();
    available_ = Bind(module, "GdiplusStartup", Startup) && Bind(module, "GdiplusShutdown", Shutdown) &&
                 Bind(module, "GdipCreateBitmapFromScan0", CreateBitmapFromScan0) &&
                 Bind(module, "GdipGetImageWidth", GetImageWidth) &&
                 Bind(module, "GdipGetImageHeight", GetImageHeight) &&
                 Bind(module, "GdipDisposeImage", DisposeImage) && Bind(module, "GdipCreateFromHDC", CreateFromHDC) &&
                 Bind(module, "GdipDeleteGraphics", DeleteGraphics) &&
                 Bind(module, "GdipSetInterpolationMode", SetInterpolationMode) &&
                 Bind(module, "GdipSetSmoothingMode", SetSmoothingMode) &&
                 Bind(module, "GdipDrawImageRectRectI", DrawImageRectRectI) &&
                 Bind(module, "GdipCreatePen1", CreatePen1) && Bind(module, "GdipDeletePen", DeletePen) &&
                 Bind(module, "GdipDrawLineI", DrawLineI) && Bind(module, "GdipDrawLinesI", DrawLinesI);
    // Without it photos keep the turn they were stored with; everything else still works.
    Bind(module, "GdipImageRotateFlip", ImageRotateFlip);
}

GdiPlusSession::GdiPlusSession(const GdiPlus& api) : api_(api) {
    if (!api.Available()) return;
    GdiPlus::StartupInput input;
    ULONG_PTR token = 0;
    if (api.Startup(&token, &input, nullptr) == 0) token_ = token;
}

GdiPlusSession::~GdiPlusSession() {
    if (token_ != 0) api_.Shutdown(token_);
}

GdiPlusPicture::GdiPlusPicture(const GdiPlus& api, const PictureFile& file, int width, int height) : api_(api) {
    if (!api.Available()) return;
    auto pixels = file.Decode(width, height);
    if (!pixels || pixels->Pixels().empty()) return;
    pixels_ = std::move(*pixels);
    if (api.CreateBitmapFromScan0(pixels_.Width(), pixels_.Height(), pixels_.Width() * 4,
                                  GdiPlus::kPixelFormat32bppPARGB, reinterpret_cast<BYTE*>(pixels_.Pixels().data()),
                                  &image_) != 0) {
        image_ = nullptr;
        return;
    }
    if (const int turn = UprightTurn(file.Orientation()); turn != 0 && api.ImageRotateFlip != nullptr)
        api.ImageRotateFlip(image_, turn);
    UINT uprightWidth = 0, uprightHeight = 0;
    api.GetImageWidth(image_, &uprightWidth);
    api.GetImageHeight(image_, &uprightHeight);
    width_ = static_cast<int>(uprightWidth);
    height_ = static_cast<int>(uprightHeight);
}

GdiPlusPicture::~GdiPlusPicture() {
    if (image_ != nullptr) api_.DisposeImage(image_);
}

bool GdiPlusPicture::DrawScaled(HDC dc, int x, int y, int width, int height, int interpolation) const {
    if (!Loaded()) return false;
    const GdiPlus& api = api_;
    GdiPlus::Graphics* graphics = nullptr;
    if (api.CreateFromHDC(dc, &graphics) != 0) return false;
    api.SetInterpolationMode(graphics, interpolation);
    const bool drawn = api.DrawImageRectRectI(graphics, image_, x, y, width, height, 0, 0, width_, height_,
                                              GdiPlus::kUnitPixel, nullptr, nullptr, nullptr) == 0;
    api.DeleteGraphics(graphics);
    return drawn;
}

}  // namespace lurvane::win32
