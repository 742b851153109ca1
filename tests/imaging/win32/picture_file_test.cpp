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

// A decoder frame over `picture` that, like a JPEG decoder, can shrink by 2, 4 and 8 while it
// decodes; it counts the full-size rows anybody reads and remembers the size it decoded to.
class ShrinkingFrame final : public IWICBitmapSource, public IWICBitmapSourceTransform {
public:
    ShrinkingFrame(IWICImagingFactory& factory, IWICBitmap& picture) : factory_(factory), picture_(picture) {}
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
        FullRowsRead += static_cast<UINT>(rect->Height);
        return picture_.CopyPixels(rect, stride, size, buffer);
    }

    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height, WICPixelFormatGUID*,
                                         WICBitmapTransformOptions, UINT stride, UINT size, BYTE* buffer) override {
        DecodedTo = {static_cast<LONG>(width), static_cast<LONG>(height)};
        ComRef<IWICBitmapScaler> scaler;
        factory_.CreateBitmapScaler(scaler.Out());
        scaler->Initialize(&picture_, width, height, WICBitmapInterpolationModeFant);
        return scaler->CopyPixels(rect, stride, size, buffer);
    }
    HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) override {
        UINT w = 0, h = 0;
        picture_.GetSize(&w, &h);
        UINT by = 8;
        while (by > 1 && ((w + by - 1) / by < *width || (h + by - 1) / by < *height)) by /= 2;
        *width = (w + by - 1) / by;
        *height = (h + by - 1) / by;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* f) override { return GetPixelFormat(f); }
    HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) override {
        *supported = transform == WICBitmapTransformRotate0;
        return S_OK;
    }

private:
    IWICImagingFactory& factory_;
    IWICBitmap& picture_;
};

TEST(PictureFile, ADecoderThatShrinksIsAskedForTheShownSizeAndGivesWhatShrinkingTheWholePictureGives) {
    const ComApartment com;
    ComRef<IWICImagingFactory> factory;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out())));
    // A smooth opaque 800 x 600 picture: blue grows to the right, green downwards.
    std::vector<uint32_t> pixels;
    for (uint32_t y = 0; y < 600; ++y)
        for (uint32_t x = 0; x < 800; ++x) pixels.push_back(0xFF800000u | (y * 255 / 599) << 8 | (x * 255 / 799));
    ComRef<IWICBitmap> picture;
    ASSERT_HRESULT_SUCCEEDED(factory->CreateBitmapFromMemory(800, 600, GUID_WICPixelFormat32bppPBGRA, 800 * 4,
                                                             800 * 600 * 4, reinterpret_cast<BYTE*>(pixels.data()),
                                                             picture.Out()));
    ShrinkingFrame frame(*factory.get(), *picture.get());

    const auto scaled = ReadShrunk(*factory.get(), frame, 180, 130);
    const auto plain = ReadShrunk(*factory.get(), *picture.get(), 180, 130);
    ASSERT_TRUE(scaled && plain);
    EXPECT_EQ(frame.DecodedTo.cx, 200) << "a quarter of the width is the smallest size that covers 180";
    EXPECT_EQ(frame.DecodedTo.cy, 150);
    EXPECT_EQ(frame.FullRowsRead, 0u) << "the full-size picture is never read";
    ASSERT_EQ(std::make_pair(scaled->Width(), scaled->Height()), std::make_pair(plain->Width(), plain->Height()));
    int largest = 0;
    for (std::size_t i = 0; i < plain->Pixels().size(); ++i)
        for (int shift = 0; shift < 32; shift += 8)
            largest = std::max(largest, std::abs(static_cast<int>(scaled->Pixels()[i] >> shift & 0xFF) -
                                                 static_cast<int>(plain->Pixels()[i] >> shift & 0xFF)));
    EXPECT_LE(largest, 4) << "the decoder's shrinking differs from block averages by its rounding only";
}

// A 24-bit BMP header claiming `side` x `side` pixels, with no pixels after it.
std::string BmpHeader(uint32_t side) {
    std::string bytes = "BM" + std::string(52, '\0');
    for (int at : {18, 22})
        for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(at + i)] = static_cast<char>(side >> (8 * i));
    bytes[10] = 54, bytes[14] = 40, bytes[26] = 1, bytes[28] = 24;
    return bytes;
}

// Opening reads the header only, so a picture within the limit opens (it would fail only when
// decoded), and one beyond it is refused.
TEST(PictureFile, APictureClaimingMoreThan256MegapixelsIsRefusedWithoutDecoding) {
    testing::TempFolder folder;
    const std::wstring within = Widen(folder.Path("within.bmp")), beyond = Widen(folder.Path("beyond.bmp"));
    ASSERT_TRUE(support::WriteBytes(within, BmpHeader(16000)) && support::WriteBytes(beyond, BmpHeader(16001)));
    const PictureFile opened(within);
    EXPECT_TRUE(opened.Usable());
    EXPECT_EQ(opened.Width(), 16000);
    EXPECT_FALSE(PictureFile(beyond).Usable());
}

}  // namespace
}  // namespace lurvane::win32
