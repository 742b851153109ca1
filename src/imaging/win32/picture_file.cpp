#include "imaging/win32/picture_file.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "imaging/exif_orientation.h"
#include "imaging/picture_header.h"
#include "imaging/picture_reduction.h"
#include "settings/file_bytes.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

// Rows are read in bands of about this many bytes.
constexpr std::size_t kBandBytes = std::size_t{4} << 20;

bool TooLarge(IWICBitmapSource& source, UINT& width, UINT& height) {
    return FAILED(source.GetSize(&width, &height)) || width == 0 || height == 0 || ExceedsPixelLimit(width, height);
}

UINT BitsPerPixel(IWICImagingFactory& factory, const WICPixelFormatGUID& format) {
    ComRef<IWICComponentInfo> info;
    ComRef<IWICPixelFormatInfo> pixelInfo;
    UINT bits = 0;
    if (FAILED(factory.CreateComponentInfo(format, info.Out())) ||
        FAILED(info->QueryInterface(IID_IWICPixelFormatInfo, reinterpret_cast<void**>(pixelInfo.Out()))) ||
        FAILED(pixelInfo->GetBitsPerPixel(&bits)))
        return 0;
    return bits;
}

// The source scaled by its decoder to the smallest size it offers at or above `width` x
// `height`, as a bitmap of that size; null where the decoder cannot scale down.
ComRef<IWICBitmap> DecoderScaled(IWICImagingFactory& factory, IWICBitmapSource& source, UINT fullWidth,
                                 UINT fullHeight, int width, int height) {
    ComRef<IWICBitmap> scaled;
    ComRef<IWICBitmapSourceTransform> transform;
    if (FAILED(source.QueryInterface(kIidBitmapSourceTransform, reinterpret_cast<void**>(transform.Out()))))
        return scaled;
    UINT w = static_cast<UINT>(std::max(1, width)), h = static_cast<UINT>(std::max(1, height));
    BOOL plain = FALSE;
    if (FAILED(transform->DoesSupportTransform(WICBitmapTransformRotate0, &plain)) || !plain ||
        FAILED(transform->GetClosestSize(&w, &h)))
        return scaled;
    // Only a smaller picture that still covers the wanted size is worth it.
    if (w >= fullWidth || h >= fullHeight || w < static_cast<UINT>(width) || h < static_cast<UINT>(height))
        return scaled;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppPBGRA;
    if (FAILED(transform->GetClosestPixelFormat(&format))) return scaled;
    const UINT bits = BitsPerPixel(factory, format);
    if (bits == 0) return scaled;
    const UINT stride = (w * bits + 31) / 32 * 4;
    std::vector<BYTE> pixels(static_cast<std::size_t>(stride) * h);
    if (FAILED(transform->CopyPixels(nullptr, w, h, &format, WICBitmapTransformRotate0, stride,
                                     static_cast<UINT>(pixels.size()), pixels.data())))
        return scaled;
    factory.CreateBitmapFromMemory(w, h, format, stride, static_cast<UINT>(pixels.size()), pixels.data(),
                                   scaled.Out());
    return scaled;
}

}  // namespace

std::optional<PixelBuffer> ReadShrunk(IWICImagingFactory& factory, IWICBitmapSource& source, int width,
                                      int height) {
    UINT fullWidth = 0, fullHeight = 0;
    if (TooLarge(source, fullWidth, fullHeight)) return std::nullopt;
    ComRef<IWICBitmap> scaled = DecoderScaled(factory, source, fullWidth, fullHeight, width, height);
    IWICBitmapSource& pixels = scaled ? *scaled.get() : source;
    ComRef<IWICFormatConverter> converter;
    UINT w = 0, h = 0;
    if (FAILED(factory.CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(&pixels, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeMedianCut)) ||
        FAILED(converter->GetSize(&w, &h)))
        return std::nullopt;
    const Reduction reduction = ReductionFor(static_cast<int>(w), static_cast<int>(h), width, height);
    BoxReducer reducer(static_cast<int>(w), static_cast<int>(h), reduction);
    const std::size_t rowBytes = std::size_t{w} * 4;
    const int bandRows = std::max(1, static_cast<int>(kBandBytes / rowBytes) / reduction.Y) * reduction.Y;
    std::vector<uint32_t> band(static_cast<std::size_t>(w) * static_cast<std::size_t>(std::min<UINT>(h, bandRows)));
    for (UINT y = 0; y < h; y += static_cast<UINT>(bandRows)) {
        const UINT rows = std::min(h - y, static_cast<UINT>(bandRows));
        const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(w), static_cast<INT>(rows)};
        if (FAILED(converter->CopyPixels(&rect, static_cast<UINT>(rowBytes), static_cast<UINT>(rowBytes * rows),
                                         reinterpret_cast<BYTE*>(band.data()))))
            return std::nullopt;
        reducer.AddRows(band.data(), static_cast<int>(rows));
    }
    return std::move(reducer.Result());
}

PictureFile::PictureFile(const std::wstring& path) {
    if (path.empty()) return;
    // The size is read from the header first: some decoders decode the whole picture as soon as
    // they open it.
    {
        const FilePtr file = OpenFileForReading(Narrow(path));
        if (!file) return;
        std::vector<uint8_t> start(kPictureHeaderSpan);
        start.resize(std::fread(start.data(), 1, start.size(), file.get()));
        if (const auto claimed = ReadPictureDimensions(start); claimed && ExceedsPixelLimit(claimed->Width, claimed->Height))
            return;
        orientation_ = ReadExifOrientation(start);
    }
    // The library's own factory needs no lookup of the registered class, which costs a start
    // a noticeable moment; the registered class serves where the export is missing.
    codecs_.reset(LoadLibraryW(L"windowscodecs.dll"));
    using CreateFactory = HRESULT(WINAPI*)(UINT, IWICImagingFactory**);
    const auto create = codecs_ ? reinterpret_cast<CreateFactory>(reinterpret_cast<void*>(
                                      GetProcAddress(codecs_.get(), "WICCreateImagingFactory_Proxy")))
                                : nullptr;
    if (create == nullptr || FAILED(create(WINCODEC_SDK_VERSION, factory_.Out())))
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         reinterpret_cast<void**>(factory_.Out()));
    if (!factory_ ||
        FAILED(factory_->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                   decoder_.Out())) ||
        FAILED(decoder_->GetFrame(0, frame_.Out())))
        return;
    UINT width = 0, height = 0;
    if (TooLarge(*frame_.get(), width, height) || width > INT32_MAX || height > INT32_MAX) {
        frame_.Reset();
        return;
    }
    // Orientations 5 to 8 stand the stored picture on its side.
    const bool sideways = orientation_ >= 5;
    width_ = static_cast<int>(sideways ? height : width);
    height_ = static_cast<int>(sideways ? width : height);
}

std::optional<PixelBuffer> PictureFile::Decode(int width, int height) const {
    if (!Usable()) return std::nullopt;
    if (orientation_ >= 5) std::swap(width, height);
    return ReadShrunk(*factory_.get(), *frame_.get(), width, height);
}

}  // namespace lurvane::win32
