#include "imaging/win32/picture_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "support/temp_folder.h"
#include "support/win32/test_files.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

ComRef<IWICImagingFactory> Factory() {
    ComRef<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(factory.Out()));
    return factory;
}

// A smooth opaque picture: blue grows to the right, green downwards.
ComRef<IWICBitmap> Gradient(IWICImagingFactory& factory, int width, int height) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(0xFF800000u | static_cast<uint32_t>(y * 255 / (height - 1)) << 8 |
                             static_cast<uint32_t>(x * 255 / (width - 1)));
    ComRef<IWICBitmap> bitmap;
    factory.CreateBitmapFromMemory(static_cast<UINT>(width), static_cast<UINT>(height), GUID_WICPixelFormat32bppPBGRA,
                                   static_cast<UINT>(width * 4), static_cast<UINT>(pixels.size() * 4),
                                   reinterpret_cast<BYTE*>(pixels.data()), bitmap.Out());
    return bitmap;
}

// A decoder frame over `picture` that, like a JPEG decoder, can shrink by 2, 4 and 8 while it
// decodes; it counts the full-size rows anybody reads and remembers the size it decoded to.
class ShrinkingFrame final : public IWICBitmapSource, public IWICBitmapSourceTransform {
public:
    ShrinkingFrame(IWICImagingFactory& factory, IWICBitmapSource& picture) : factory_(factory), picture_(picture) {}
    UINT FullRowsRead = 0;
    SIZE DecodedTo{};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IWICBitmapSource) *out = static_cast<IWICBitmapSource*>(this);
        else if (iid == kIidBitmapSourceTransform) *out = static_cast<IWICBitmapSourceTransform*>(this);
        else return *out = nullptr, E_NOINTERFACE;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetSize(UINT* w, UINT* h) override { return picture_.GetSize(w, h); }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* f) override { return picture_.GetPixelFormat(f); }
    HRESULT STDMETHODCALLTYPE GetResolution(double* x, double* y) override { return picture_.GetResolution(x, y); }
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette* palette) override { return picture_.CopyPalette(palette); }
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT stride, UINT size, BYTE* buffer) override {
        UINT w = 0, h = 0;
        picture_.GetSize(&w, &h);
        FullRowsRead += rect != nullptr ? static_cast<UINT>(rect->Height) : h;
        return picture_.CopyPixels(rect, stride, size, buffer);
    }

    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height, WICPixelFormatGUID*,
                                         WICBitmapTransformOptions, UINT stride, UINT size, BYTE* buffer) override {
        DecodedTo = {static_cast<LONG>(width), static_cast<LONG>(height)};
        ComRef<IWICBitmapScaler> scaler;
        if (FAILED(factory_.CreateBitmapScaler(scaler.Out())) ||
            FAILED(scaler->Initialize(&picture_, width, height, WICBitmapInterpolationModeFant)))
            return E_FAIL;
        return scaler->CopyPixels(rect, stride, size, buffer);
    }
    HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) override {
        UINT w = 0, h = 0;
        picture_.GetSize(&w, &h);
        for (UINT by : {8u, 4u, 2u, 1u}) {
            if ((w + by - 1) / by >= *width && (h + by - 1) / by >= *height) {
                *width = (w + by - 1) / by;
                *height = (h + by - 1) / by;
                return S_OK;
            }
        }
        *width = w;
        *height = h;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) override {
        return picture_.GetPixelFormat(format);
    }
    HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) override {
        *supported = transform == WICBitmapTransformRotate0;
        return S_OK;
    }

private:
    IWICImagingFactory& factory_;
    IWICBitmapSource& picture_;
};

TEST(PictureFile, ADecoderThatShrinksIsAskedForTheShownSizeAndGivesWhatShrinkingTheWholePictureGives) {
    const ComApartment com;
    const ComRef<IWICImagingFactory> factory = Factory();
    ASSERT_TRUE(factory);
    const ComRef<IWICBitmap> picture = Gradient(*factory.get(), 800, 600);
    ASSERT_TRUE(picture);
    ShrinkingFrame frame(*factory.get(), *picture.get());

    const auto scaled = ReadShrunk(*factory.get(), frame, 180, 130);
    const auto plain = ReadShrunk(*factory.get(), *picture.get(), 180, 130);
    ASSERT_TRUE(scaled && plain);
    EXPECT_EQ(frame.DecodedTo.cx, 200) << "a quarter of the width is the smallest size that covers 180";
    EXPECT_EQ(frame.DecodedTo.cy, 150);
    EXPECT_EQ(frame.FullRowsRead, 0u) << "the full-size picture is never read";
    ASSERT_EQ(scaled->Width(), plain->Width());
    ASSERT_EQ(scaled->Height(), plain->Height());
    int largest = 0;
    for (std::size_t i = 0; i < plain->Pixels().size(); ++i)
        for (int shift = 0; shift < 32; shift += 8)
            largest = std::max(largest, std::abs(static_cast<int>(scaled->Pixels()[i] >> shift & 0xFF) -
                                                 static_cast<int>(plain->Pixels()[i] >> shift & 0xFF)));
    EXPECT_LE(largest, 4) << "the decoder's shrinking differs from block averages by its rounding only";

    // Nothing smaller covers 500 x 400: the whole picture is read, shrunk by whole blocks.
    frame.DecodedTo = {};
    const auto whole = ReadShrunk(*factory.get(), frame, 500, 400);
    ASSERT_TRUE(whole);
    EXPECT_EQ(frame.DecodedTo.cx, 0);
    EXPECT_EQ(frame.FullRowsRead, 600u);
    EXPECT_EQ(whole->Width(), 800);
}

// Headers alone, with no pixels after them: opening reads the header only, so a picture within
// the limit opens (and would fail only when decoded), and one beyond it is refused unopened.
TEST(PictureFile, APictureClaimingMoreThan256MegapixelsIsRefusedWithoutDecoding) {
    testing::TempFolder folder;
    const std::wstring within = Widen(folder.Path("within.bmp")), beyond = Widen(folder.Path("beyond.bmp"));
    ASSERT_TRUE(support::WriteBmpHeader(within, 16000, 16000));
    ASSERT_TRUE(support::WriteBmpHeader(beyond, 16001, 16001));
    const PictureFile opened(within);
    EXPECT_TRUE(opened.Usable());
    EXPECT_EQ(opened.Width(), 16000);
    EXPECT_FALSE(PictureFile(beyond).Usable());
    EXPECT_FALSE(PictureFile(Widen(folder.Path("missing.bmp"))).Usable());
}

}  // namespace
}  // namespace lurvane::win32
