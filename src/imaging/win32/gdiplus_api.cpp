#include "imaging/win32/gdiplus_api.h"

namespace lurvane::win32 {
namespace {

template <typename Function>
bool Bind(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

}  // namespace

GdiPlus& GdiPlus::Instance() {
    static GdiPlus instance;
    return instance;
}

GdiPlus::GdiPlus() {
    module_ = LoadLibraryW(L"gdiplus.dll");
    if (module_ == nullptr) return;
    available_ = Bind(module_, "GdiplusStartup", Startup) && Bind(module_, "GdiplusShutdown", Shutdown) &&
                 Bind(module_, "GdipCreateBitmapFromFile", CreateBitmapFromFile) &&
                 Bind(module_, "GdipGetImageWidth", GetImageWidth) &&
                 Bind(module_, "GdipGetImageHeight", GetImageHeight) &&
                 Bind(module_, "GdipDisposeImage", DisposeImage) && Bind(module_, "GdipCreateFromHDC", CreateFromHDC) &&
                 Bind(module_, "GdipDeleteGraphics", DeleteGraphics) &&
                 Bind(module_, "GdipSetInterpolationMode", SetInterpolationMode) &&
                 Bind(module_, "GdipSetSmoothingMode", SetSmoothingMode) &&
                 Bind(module_, "GdipDrawImageRectRectI", DrawImageRectRectI) &&
                 Bind(module_, "GdipCreatePen1", CreatePen1) && Bind(module_, "GdipDeletePen", DeletePen) &&
                 Bind(module_, "GdipDrawLineI", DrawLineI);
}

GdiPlusSession::GdiPlusSession() {
    GdiPlus& api = GdiPlus::Instance();
    if (!api.Available()) return;
    GdiPlus::StartupInput input;
    ULONG_PTR token = 0;
    if (api.Startup(&token, &input, nullptr) == 0) token_ = token;
}

GdiPlusSession::~GdiPlusSession() {
    if (token_ != 0) GdiPlus::Instance().Shutdown(token_);
}

GdiPlusPicture::GdiPlusPicture(const std::wstring& path) {
    GdiPlus& api = GdiPlus::Instance();
    if (!api.Available() || path.empty()) return;
    if (api.CreateBitmapFromFile(path.c_str(), &image_) != 0) {
        image_ = nullptr;
        return;
    }
    UINT width = 0, height = 0;
    api.GetImageWidth(image_, &width);
    api.GetImageHeight(image_, &height);
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
}

GdiPlusPicture::~GdiPlusPicture() {
    if (image_ != nullptr) GdiPlus::Instance().DisposeImage(image_);
}

bool GdiPlusPicture::DrawScaled(HDC dc, int x, int y, int width, int height, int interpolation) const {
    if (!Loaded()) return false;
    GdiPlus& api = GdiPlus::Instance();
    GdiPlus::Graphics* graphics = nullptr;
    if (api.CreateFromHDC(dc, &graphics) != 0) return false;
    api.SetInterpolationMode(graphics, interpolation);
    const bool drawn = api.DrawImageRectRectI(graphics, image_, x, y, width, height, 0, 0, width_, height_,
                                              GdiPlus::kUnitPixel, nullptr, nullptr, nullptr) == 0;
    api.DeleteGraphics(graphics);
    return drawn;
}

}  // namespace lurvane::win32
