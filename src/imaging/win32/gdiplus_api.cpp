#include "imaging/win32/gdiplus_api.h"

#include "imaging/exif_orientation.h"
#include "util/win32/text_convert.h"

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
                 Bind(module, "GdipCreateBitmapFromFile", CreateBitmapFromFile) &&
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

GdiPlusPicture::GdiPlusPicture(const GdiPlus& api, const std::wstring& path) : api_(api) {
    if (!api.Available() || path.empty()) return;
    if (api.CreateBitmapFromFile(path.c_str(), &image_) != 0) {
        image_ = nullptr;
        return;
    }
    if (const int turn = UprightTurn(ReadExifOrientation(Narrow(path))); turn != 0 && api.ImageRotateFlip != nullptr)
        api.ImageRotateFlip(image_, turn);
    UINT width = 0, height = 0;
    api.GetImageWidth(image_, &width);
    api.GetImageHeight(image_, &height);
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
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
