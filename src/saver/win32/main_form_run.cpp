// A run of the saver window: preparing the background and the wave area, the fades, and the
// frame renderer's view of the window.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "text/language.h"
#include "imaging/win32/screen_capture.h"
#include "saver/shade.h"
#include "saver/win32/main_form.h"
#include "settings/win32/registry_store.h"
#include "util/win32/message_loop.h"
#include "util/trace.h"
#include "startup/win32/startup.h"
#include "util/text_rules.h"
#include "util/win32/text_convert.h"
#include "util/win32/win32_file_system.h"
#include "waves/bounding_box.h"
#include "waves/random_background.h"
#include "waves/settings_snapshot.h"

namespace lurvane::win32 {
namespace {

void ShowLanguageMessage(int number) {
    MessageBoxW(nullptr, Widen(GetLangString(number)).c_str(), L"Lurvane", MB_OK | MB_ICONEXCLAMATION);
}

double SecondsSinceMidnight() {
    SYSTEMTIME time;
    GetLocalTime(&time);
    return time.wHour * 3600.0 + time.wMinute * 60.0 + time.wSecond + time.wMilliseconds / 1000.0;
}

struct TwipsPerPixel {
    double X = 15, Y = 15;
};

TwipsPerPixel ScreenTwipsPerPixel() {
    WindowDc screen(nullptr);
    return {1440.0 / GetDeviceCaps(screen.get(), LOGPIXELSX), 1440.0 / GetDeviceCaps(screen.get(), LOGPIXELSY)};
}

RECT Union(const RECT& a, const RECT& b) {
    if (IsRectEmpty(&a)) return b;
    if (IsRectEmpty(&b)) return a;
    RECT both;
    UnionRect(&both, &a, &b);
    return both;
}

}  // namespace

void MainForm::TraceWindowPlacement() {
    RECT rect{};
    GetWindowRect(window_, &rect);
    if (HWND parent = GetParent(window_)) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    const TwipsPerPixel twips = ScreenTwipsPerPixel();
    const auto twipsX = static_cast<float>(twips.X), twipsY = static_cast<float>(twips.Y);
    char handle[32];
    std::snprintf(handle, sizeof handle, "%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window_)));
    TraceQuietly("Left: " + NumberText(static_cast<float>(rect.left) * twipsX) +
                 "Top: " + NumberText(static_cast<float>(rect.top) * twipsY) +
                 "Width: " + NumberText(static_cast<float>(rect.right - rect.left) * twipsX) +
                 "Height: " + NumberText(static_cast<float>(rect.bottom - rect.top) * twipsY) +
                 "Picture Hwnd: " + handle);
}

void MainForm::StartScreenSaver(bool preview, bool startedManually) {
    TraceQuietly(std::string("StartScreenSaver, Preview: ") + (preview ? "True" : "False"));
    previewMode_ = preview;
    startedManual_ = startedManually;
    ShowWindow(window_, SW_SHOW);
    TraceWindowPlacement();
    TraceQuietly("coordinates set");

    if (!PrepareBackground()) {
        // Nothing would ever end a run that cannot start: end it now.
        Unload();
        return;
    }
    StartAnimationTimer();
}

bool MainForm::PrepareBackground() {
    RECT client{};
    GetClientRect(window_, &client);
    const TwipsPerPixel twips = ScreenTwipsPerPixel();
    SnapshotEnvironment environment;
    environment.ScreenWidth = previewMode_ ? client.right : GetSystemMetrics(SM_CXSCREEN);
    environment.ScreenHeight = previewMode_ ? client.bottom : GetSystemMetrics(SM_CYSCREEN);
    environment.TwipsPerPixelX = twips.X;
    environment.TwipsPerPixelY = twips.Y;
    const double now = SecondsSinceMidnight();
    // The picture whose size the snapshot asks for is the one the capture draws: decode it once.
    std::unique_ptr<GdiPlusPicture> picture;
    std::string picturePath;
    environment.LoadPicture = [&picture, &picturePath](const std::string& path) -> std::optional<PictureSize> {
        picture = std::make_unique<GdiPlusPicture>(Widen(path));
        picturePath = path;
        if (!picture->Loaded()) return std::nullopt;
        return PictureSize{picture->Width(), picture->Height()};
    };
    environment.PickRandomBackground = [now](const std::string& image, bool randomize) {
        return PickRandomBackground(image, randomize, SystemFileSystem(), now);
    };
    RegistrySettingsStore store;
    SetLanguage(LanguageFromSetting(store.Read("Language")));
    const SnapshotResult snapshot = SetGlobalSettings(store, environment, engine_);
    if (previewMode_) {
        engine_.Framerate = 20;
        engine_.ShowFPS = false;
        engine_.RandomizeBackground = false;
    }

    CaptureRequest request;
    request.PictureFile = PickRandomBackground(engine_.BackgroundImage, engine_.RandomizeBackground,
                                               SystemFileSystem(), now);
    if (picture && picturePath == request.PictureFile) request.Decoded = picture.get();
    request.MaximizeBackground = engine_.MaximizeBackground;
    request.SizeBackground = engine_.SizeBackground;
    request.BackgroundColour = ColourFromSetting(snapshot.BackgroundColour);
    request.Preview = previewMode_;
    const CaptureResult captured = CaptureBackground(window_, request, {main_, backBuffer_, image_});
    if (captured == CaptureResult::NoDesktopSize) {
        ShowLanguageMessage(54);
        return false;
    }
    if (captured == CaptureResult::SnapshotFailed) ShowLanguageMessage(55);
    TraceQuietly("Screen captured");

    fadeSource_ = PixelBuffer();
    if (engine_.RestartSec > 0) {
        TakeFadeSource(backBuffer_);
        StartFadeUp();
    }

    BitBlt(main_.Dc(), 0, 0, main_.Width(), main_.Height(), image_.Dc(), 0, 0, SRCCOPY);
    const BoundingBox box = engine_.Bounds();
    // A frame shows only the part of the wave area on the screen, however far the path reaches.
    const AreaPart onScreen = OnScreenPart(box, main_.Width(), main_.Height());
    waveBuffer_.Resize(onScreen.Width(), onScreen.Height());
    PumpPendingMessages();
    if (!waveBuffer_.Empty())
        BitBlt(waveBuffer_.Dc(), 0, 0, waveBuffer_.Width(), waveBuffer_.Height(), image_.Dc(), box.MinX + onScreen.Left,
               box.MinY + onScreen.Top, SRCCOPY);

    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
    TraceQuietly("Saver visible");
    TakeFadeSource(main_);
    return true;
}

void MainForm::TakeFadeSource(const DibSurface& picture) { fadeSource_.CopyFrom(picture.View()); }

void MainForm::RunFade(const std::array<int, 25>& steps) {
    const SurfaceView target = main_.View();
    if (target.Empty()) return;
    const RECT whole{0, 0, target.Width, target.Height};
    for (int darkness : steps) {
        if (!ShadeBitmap(fadeSource_.View(), target, darkness)) return;  // no picture of this size to fade
        BlitToWindow(whole);
        Sleep(10);
    }
}

void MainForm::StartFadeDown() { RunFade(kFadeDownSteps); }
void MainForm::StartFadeUp() { RunFade(kFadeUpSteps); }

void MainForm::BlitToWindow(const RECT& area) {
    WindowDc dc(window_);
    BitBlt(dc.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, main_.Dc(), area.left,
           area.top, SRCCOPY);
}

double MainForm::Now() { return SecondsSinceMidnight(); }

bool MainForm::HasParent() {
    // A child whose host is gone hangs below the desktop window, which GetParent still reports.
    HWND parent = GetAncestor(window_, GA_PARENT);
    return parent != nullptr && parent != GetDesktopWindow();
}

void MainForm::SetFpsLabel(bool visible, const std::string& caption) {
    if (fpsLabel_ == nullptr) return;
    if (!caption.empty()) SetWindowTextW(fpsLabel_, Widen(caption).c_str());
    if ((IsWindowVisible(fpsLabel_) != FALSE) != visible) ShowWindow(fpsLabel_, visible ? SW_SHOWNA : SW_HIDE);
}

std::string MainForm::NoticeText() { return GetLangString(69); }

void MainForm::DrawNotice(const std::string& text) {
    HDC dc = main_.Dc();
    if (!noticeFont_) {
        LOGFONTW font{};
        font.lfHeight = -MulDiv(14, GetDeviceCaps(dc, LOGPIXELSY), 72);
        font.lfQuality = ANTIALIASED_QUALITY;
        wcscpy(font.lfFaceName, L"Arial");
        noticeFont_.reset(CreateFontIndirectW(&font));
    }
    SelectedObject selected(dc, noticeFont_.get());
    SetBkMode(dc, TRANSPARENT);
    const std::wstring wide = Widen(text);
    const int textLength = static_cast<int>(wide.size());
    const int height = main_.Height();
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, 11, height - 29, wide.c_str(), textLength);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutW(dc, 10, height - 30, wide.c_str(), textLength);
    noticeArea_ = Union(noticeArea_, RECT{0, height - 30, main_.Width(), height});
}

void MainForm::EraseNoticeStrip() {
    const int height = main_.Height();
    BitBlt(main_.Dc(), 1, height - 29, main_.Width(), 29, backBuffer_.Dc(), 1, height - 29, SRCCOPY);
    noticeArea_ = Union(noticeArea_, RECT{0, height - 30, main_.Width(), height});
}

void MainForm::HideCursor() { HideSaverCursor(); }  // the renderer never asks in a preview

void MainForm::DisableTimer() { timer_.Stop(); }

void MainForm::ClearSurfaces() {
    waveBuffer_.Clear();
    image_.Clear();
    main_.Clear();
    backBuffer_.Clear();
}

void MainForm::Present(const BoundingBox& dirty) {
    if (window_ == nullptr) return;
    GdiFlush();
    BlitToWindow(Union(RECT{dirty.MinX, dirty.MinY, dirty.MaxX, dirty.MaxY}, noticeArea_));
    noticeArea_ = RECT{};
    PumpPendingMessages();
}

}  // namespace lurvane::win32
