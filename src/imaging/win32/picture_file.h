// A picture file to show, read through the Windows Imaging Component: opening it reads only its
// size and EXIF turn; its pixels are decoded for the size they are shown at, shrunk while they
// are read (by the decoder itself where it can, as JPEG's can), so memory follows the shown
// size, not the picture's. A picture over the pixel limit is never handed to a decoder.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <optional>
#include <string>
#include <utility>

#include "imaging/surface.h"
#include "util/win32/handles.h"

namespace lurvane::win32 {

// A decoder's own scaling (the system's headers lack it).
MIDL_INTERFACE("3B16811B-6A43-4ec9-B713-3D5A0C13B940")
IWICBitmapSourceTransform : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format, WICBitmapTransformOptions transform,
                                                 UINT stride, UINT bufferSize, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};
inline constexpr IID kIidBitmapSourceTransform = {
    0x3B16811B, 0x6A43, 0x4ec9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

// One reference to a COM object.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    ~ComRef() { Reset(); }
    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    T** Out() {
        Reset();
        return &object_;
    }
    void Reset() {
        if (object_ != nullptr) std::exchange(object_, nullptr)->Release();
    }

private:
    T* object_ = nullptr;
};

// COM for the current thread while it lives (where the thread has no COM yet).
class ComApartment {
public:
    ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (initialized_) CoUninitialize();
    }

private:
    bool initialized_;
};

// The pixels of `source`, 32-bit with premultiplied alpha, shrunk by whole factors to no less than
// `width` x `height` (the picture's own size where it is smaller). Rows are read in bands, and a
// source that can scale while decoding is asked for the smallest size it offers at or above
// that; no value when the source fails or claims more pixels than the limit.
std::optional<PixelBuffer> ReadShrunk(IWICImagingFactory& factory, IWICBitmapSource& source, int width, int height);

class PictureFile {
public:
    explicit PictureFile(const std::wstring& path);
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    bool Usable() const { return static_cast<bool>(frame_); }
    // The upright picture's size.
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The EXIF orientation, 1 to 8.
    int Orientation() const { return orientation_; }
    // The stored (not yet turned) pixels for showing the upright picture at about `width` x
    // `height`; see ReadShrunk.
    std::optional<PixelBuffer> Decode(int width, int height) const;

private:
    ComApartment apartment_;
    Module codecs_;
    ComRef<IWICImagingFactory> factory_;
    ComRef<IWICBitmapDecoder> decoder_;
    ComRef<IWICBitmapFrameDecode> frame_;
    int width_ = 0, height_ = 0;
    int orientation_ = 1;
};

}  // namespace lurvane::win32
