#include "saver/win32/saver_run.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <memory>

#include "imaging/win32/screen_capture.h"
#include "saver/shade.h"
#include "util/text_rules.h"
#include "util/win32/dpi.h"
#include "util/win32/locale_text.h"
#include "util/win32/message_loop.h"
#include "util/win32/text_convert.h"
#include "waves/bounding_box.h"
#include "waves/random_background.h"
#include "waves/settings_snapshot.h"

namespace lurvane::win32 {
namespace {

// The notice's place at 96 DPI: its text stands this far above the bottom, its shadow one
// pixel lower and to the right, and the strip it is erased from spans the bottom rows.
constexpr int kNoticeLeft = 10;
constexpr int kNoticeRise = 30;
constexpr int kNoticePoints = 14;

// The region of `runs` (disjoint bands, top to bottom). A region grows by a rectangle at a cost
// of its own size, so it is built in pieces that are then joined two by two.
GdiObject RegionOfRuns(std::span<const RowBand> runs) {
    constexpr size_t kPiece = 256;
    if (runs.size() > kPiece) {
        GdiObject upper = RegionOfRuns(runs.first(runs.size() / 2));
        GdiObject lower = RegionOfRuns(runs.subspan(runs.size() / 2));
        if (!upper || !lower) return {};
        const auto joined = static_cast<HRGN>(upper.get());
        if (CombineRgn(joined, joined, static_cast<HRGN>(lower.get()), RGN_OR) == ERROR) return {};
        return upper;
    }
    std::vector<std::byte> bytes(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
    data->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(runs.size()), 0, {}};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < runs.size(); ++i) {
        rects[i] = RECT{runs[i].Left, runs[i].Top, runs[i].Right, runs[i].Bottom};
        UnionRect(&data->rdh.rcBound, &data->rdh.rcBound, &rects[i]);
    }
    return GdiObject(ExtCreateRegion(nullptr, static_cast<DWORD>(bytes.size()), data));
}

struct TwipsPerPixel {
    double X = 15, Y = 15;
};

TwipsPerPixel ScreenTwipsPerPixel() {
    WindowDc screen(nullptr);
    return {1440.0 / GetDeviceCaps(screen.get(), LOGPIXELSX), 1440.0 / GetDeviceCaps(screen.get(), LOGPIXELSY)};
}

int16_t Clamp16(LONG value) { return static_cast<int16_t>(std::clamp<LONG>(value, -32768, 32767)); }

RECT Union(const RECT& a, const RECT& b) {
    if (IsRectEmpty(&a)) return b;
    if (IsRectEmpty(&b)) return a;
    RECT both;
    UnionRect(&both, &a, &b);
    return both;
}

void TraceWindowPlacement(HWND window, const Trace& trace) {
    if (!trace.Enabled()) return;
    RECT rect{};
    GetWindowRect(window, &rect);
    if (HWND parent = GetParent(window)) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    const TwipsPerPixel twips = ScreenTwipsPerPixel();
    const auto twipsX = static_cast<float>(twips.X), twipsY = static_cast<float>(twips.Y);
    char handle[32];
    std::snprintf(handle, sizeof handle, "%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    trace.TraceQuietly("Left: " + NumberText(static_cast<float>(rect.left) * twipsX) +
                       "Top: " + NumberText(static_cast<float>(rect.top) * twipsY) +
                       "Width: " + NumberText(static_cast<float>(rect.right - rect.left) * twipsX) +
                       "Height: " + NumberText(static_cast<float>(rect.bottom - rect.top) * twipsY) +
                       "Picture Hwnd: " + handle);
}

}  // namespace

SaverRun::SaverRun(const ProgramContext& context, BackgroundMusic& music) : SaverRun(context) { music_ = &music; }

SaverRun::SaverRun(const ProgramContext& context)
    : context_(context), gdiplus_(context.Pictures), renderer_(engine_, {}, context.Tracer) {
    if (!gdiplus_.Started()) MessageBoxW(nullptr, L"Error loading GDI+!", L"Lurvane", MB_OK | MB_ICONERROR);
    form_.SetPicture(&main_);
}

SaverRun::~SaverRun() { form_.SetPicture(nullptr); }

void SaverRun::EnterFullScreen() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(&version)) platformId_ = version.dwPlatformId;
#pragma GCC diagnostic pop
    if (platformId_ != VER_PLATFORM_WIN32_NT) SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, 1, nullptr, 0);
}

void SaverRun::StartScreenSaver(bool preview, bool startedManually) {
    context_.Tracer.TraceQuietly(std::string("StartScreenSaver, Preview: ") + (preview ? "True" : "False"));
    previewMode_ = preview;
    startedManual_ = startedManually;
    form_.SetPreview(preview);
    if (!form_.Alive()) return;
    ShowWindow(form_.Window(), SW_SHOW);
    TraceWindowPlacement(form_.Window(), context_.Tracer);
    context_.Tracer.TraceQuietly("coordinates set");

    if (!PrepareBackground()) {
        // Nothing would ever end a run that cannot start: end it now.
        form_.Unload();
        return;
    }
    // Input during the preparation ends the run at its first frame, outside a manual start's
    // notice: no music for that frame. A restart finds the music still playing and lets it
    // play on. A file that cannot be played leaves the run silent.
    const bool endsAtOnce = endRequested_ && !startedManual_;
    if (music_ != nullptr && !previewMode_ && !endsAtOnce && !music_->IsBackgroundSoundPlaying())
        music_->PlayBackgroundSound(engine_.BackgroundSound, engine_.LoopSound);
    StartAnimationTimer();
}

bool SaverRun::PrepareBackground() {
    RECT client{};
    GetClientRect(form_.Window(), &client);
    const TwipsPerPixel twips = ScreenTwipsPerPixel();
    SnapshotEnvironment environment;
    if (previewMode_) {
        environment.ScreenWidth = client.right;
        environment.ScreenHeight = client.bottom;
    } else if (monitor_) {
        environment.ScreenWidth = monitor_->Width;
        environment.ScreenHeight = monitor_->Height;
    } else {
        environment.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
        environment.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    }
    environment.TwipsPerPixelX = twips.X;
    environment.TwipsPerPixelY = twips.Y;
    environment.Tracer = context_.Tracer;
    const double now = context_.Time.SecondsSinceMidnight();
    // The picture whose size the snapshot asks for is the one the capture draws: open it once.
    std::unique_ptr<PictureFile> picture;
    std::string picturePath;
    environment.LoadPicture = [&picture, &picturePath](const std::string& path) -> std::optional<PictureSize> {
        picture = std::make_unique<PictureFile>(Widen(path));
        picturePath = path;
        if (!picture->Usable()) return std::nullopt;
        return PictureSize{picture->Width(), picture->Height()};
    };
    const FileSystem& files = context_.Files;
    environment.PickRandomBackground = [&files, now](const std::string& image, bool randomize) {
        return PickRandomBackground(image, randomize, files, now);
    };
    context_.Texts.SetLanguage(LanguageFromSetting(context_.Settings.Read("Language")));
    renderer_.SetTexts({context_.Texts.GetLangString(TextId::ManualStartNotice), UserDecimalSeparator()});
    const SnapshotResult snapshot = SetGlobalSettings(context_.Settings, environment, engine_);
    if (previewMode_) {
        engine_.Framerate = 20;
        engine_.ShowFPS = false;
        engine_.RandomizeBackground = false;
    }
    if (Secondary()) engine_.ShowFPS = false;

    CaptureRequest request;
    request.PictureFile = PickRandomBackground(engine_.BackgroundImage, engine_.RandomizeBackground, files, now);
    if (picture && picturePath == request.PictureFile) request.Opened = picture.get();
    else picture.reset();  // not the one drawn: its decoder must not hold it during the capture
    request.MaximizeBackground = engine_.MaximizeBackground;
    request.SizeBackground = engine_.SizeBackground;
    request.BackgroundColour = ColourFromSetting(snapshot.BackgroundColour);
    request.Preview = previewMode_;
    if (monitor_ && !previewMode_)
        request.ScreenArea = RECT{monitor_->Left, monitor_->Top, monitor_->Left + monitor_->Width,
                                  monitor_->Top + monitor_->Height};
    const CaptureResult captured =
        CaptureBackground(context_.Pictures, form_.Window(), request, {main_, backBuffer_, image_});
    picture.reset();  // a decoder may hold the whole picture: not a moment longer than needed
    if (captured == CaptureResult::WindowGone || !form_.Alive()) return false;
    if (captured == CaptureResult::NoDesktopSize) {
        ShowMessage(TextId::DesktopSizeUnknown);
        return false;
    }
    if (captured == CaptureResult::SnapshotFailed) ShowMessage(TextId::SnapshotFailed);
    context_.Tracer.TraceQuietly("Screen captured");

    fadeSource_ = PixelBuffer();
    if (engine_.RestartSec > 0) {
        TakeFadeSource(backBuffer_);
        RunFade(kFadeUpSteps);
    }

    BitBlt(main_.Dc(), 0, 0, main_.Width(), main_.Height(), image_.Dc(), 0, 0, SRCCOPY);
    const BoundingBox box = engine_.Bounds();
    // A frame shows only the part of the wave area on the screen, however far the path reaches.
    const AreaPart onScreen = OnScreenPart(box, main_.Width(), main_.Height());
    waveBuffer_.Resize(onScreen.Width(), onScreen.Height());
    PumpPendingMessages();
    if (!form_.Alive()) return false;
    if (!waveBuffer_.Empty())
        BitBlt(waveBuffer_.Dc(), 0, 0, waveBuffer_.Width(), waveBuffer_.Height(), image_.Dc(),
               box.MinX + onScreen.Left, box.MinY + onScreen.Top, SRCCOPY);

    InvalidateRect(form_.Window(), nullptr, FALSE);
    UpdateWindow(form_.Window());
    context_.Tracer.TraceQuietly("Saver visible");
    TakeFadeSource(main_);
    return true;
}

void SaverRun::ShowMessage(TextId text) const {
    MessageBoxW(nullptr, Widen(context_.Texts.GetLangString(text)).c_str(), L"Lurvane", MB_OK | MB_ICONEXCLAMATION);
}

void SaverRun::StartAnimationTimer() {
    // Input that arrived while the run was being prepared asked for the end: keep that request
    // for the first frame instead of starting the waves over it.
    if (!endRequested_) StartWavelor(engine_);
    const int framerate = engine_.Framerate > 0 ? engine_.Framerate : 1;
    frameInterval_ = RoundToInt32(1000.0 / framerate);
    if (!Resting()) timer_.Start(frameInterval_);
}

void SaverRun::OnDisplayChanged(bool on) {
    displayOff_ = !on;
    ApplyRest();
}

void SaverRun::OnSessionChanged(bool unlocked) {
    locked_ = !unlocked;
    ApplyRest();
}

// Nobody sees frames drawn while the display is off or the session locked: the timer stops,
// so the run costs no CPU, and starts again with the display.
void SaverRun::ApplyRest() {
    // Whatever the screen showed meanwhile, the first frame after the rest shows all the waves.
    renderer_.RedrawAll();
    if (Resting()) timer_.Stop();
    else if (frameInterval_ > 0 && !timer_.Enabled() && engine_.WavesRunning && form_.Alive())
        timer_.Start(frameInterval_);
}

void SaverRun::StopAnimationTimer() {
    timer_.Stop();
    form_.Unload();
}

void SaverRun::EndScreenSaver(bool forceStop) {
    // Input during a manual start's notice does not end the run, so it must not silence it
    // either; the end itself always comes here forced.
    if (music_ != nullptr && (forceStop || !startedManual_)) music_->StopBackgroundSound();
    if (!forceStop && previewMode_) return;
    endRequested_ = true;
    StopWavelor(engine_);
    // The platform id is 0 unless a full-screen start read it, as before any start.
    if (platformId_ != VER_PLATFORM_WIN32_NT) SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
    cursor_.Show();
}

void SaverRun::OnAnimationTimer() {
    if (framesDrawn_++ == 0) firstFrameAt_ = Now();
    const FrameOutcome outcome = renderer_.RenderFrame(previewMode_, startedManual_, *this);
    frameDc_.reset();  // a frame that ends before its present holds it no longer
    switch (outcome) {
    case FrameOutcome::Continue:
        // Input may end the run from now on: the pointer has no business on the picture.
        if (engine_.InputArmed && !previewMode_) cursor_.Hide();
        break;
    case FrameOutcome::Stop:
        StopAnimationTimer();
        break;
    case FrameOutcome::Restart:
        Restart();
        break;
    }
}

void SaverRun::Restart() {
    timer_.Stop();
    RunFade(kFadeDownSteps);
    waveBuffer_.Clear();
    image_.Clear();
    main_.Clear();
    backBuffer_.Clear();
    StartScreenSaver(false, false);
    if (form_.Alive() && !engine_.WavesRunning) StopAnimationTimer();
}

int SaverRun::Run() {
    return RunMessageLoop(timer_, [this] { OnAnimationTimer(); });
}

void SaverRun::OnFormDestroyed() {
    context_.Tracer.TraceQuietly("Form_Unload");
    // What scripts/compare-peers reads for the frames a run achieved.
    if (context_.Tracer.Enabled() && framesDrawn_ > 0) {
        char frames[80];
        std::snprintf(frames, sizeof frames, "Frames: %d in %.2f s", framesDrawn_, std::max(0.0, Now() - firstFrameAt_));
        context_.Tracer.TraceQuietly(frames);
    }
    timer_.Stop();
    EndScreenSaver(true);
    PostQuitMessage(0);
}

void SaverRun::TakeFadeSource(const DibSurface& picture) { fadeSource_.CopyFrom(picture.View()); }

void SaverRun::RunFade(const std::array<int, 25>& steps) {
    const SurfaceView target = main_.View();
    if (target.Empty()) return;
    const RECT whole{0, 0, target.Width, target.Height};
    for (int darkness : steps) {
        if (!ShadeBitmap(fadeSource_.View(), target, darkness)) return;  // no picture of this size to fade
        GdiFlush();
        form_.Present(whole);
        Sleep(10);
    }
}

bool SaverRun::HasParent() {
    if (!form_.Alive()) return false;
    // A child whose host is gone hangs below the desktop window, which GetParent still reports.
    HWND parent = GetAncestor(form_.Window(), GA_PARENT);
    return parent != nullptr && parent != GetDesktopWindow();
}

RECT SaverRun::NoticeStrip() const {
    const int rise = ScaleForDpi(kNoticeRise, form_.Dpi());
    return RECT{0, main_.Height() - rise, main_.Width(), main_.Height()};
}

void SaverRun::DrawNotice(const std::string& text) {
    if (Secondary()) return;  // the notice stands on the primary monitor only
    HDC dc = main_.Dc();
    const UINT dpi = form_.Dpi();
    if (!noticeFont_ || noticeFontDpi_ != dpi) {
        LOGFONTW font{};
        font.lfHeight = -MulDiv(kNoticePoints, static_cast<int>(dpi), 72);
        font.lfQuality = ANTIALIASED_QUALITY;
        wcscpy(font.lfFaceName, L"Arial");
        noticeFont_.reset(CreateFontIndirectW(&font));
        noticeFontDpi_ = dpi;
    }
    SelectedObject selected(dc, noticeFont_.get());
    SetBkMode(dc, TRANSPARENT);
    const std::wstring wide = Widen(text);
    const int textLength = static_cast<int>(wide.size());
    const RECT strip = NoticeStrip();
    const int left = ScaleForDpi(kNoticeLeft, dpi);
    const int shadow = std::max(1, ScaleForDpi(1, dpi));
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, left + shadow, strip.top + shadow, wide.c_str(), textLength);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutW(dc, left, strip.top, wide.c_str(), textLength);
    noticeArea_ = Union(noticeArea_, strip);
}

BoundingBox SaverRun::EraseNoticeStrip() {
    if (Secondary()) return {};
    const RECT strip = NoticeStrip();
    // The notice's shadow starts one (scaled) pixel into the strip; the rest of it is erased.
    const int shadow = std::max(1, ScaleForDpi(1, form_.Dpi()));
    BitBlt(main_.Dc(), shadow, strip.top + shadow, strip.right, strip.bottom - strip.top - shadow, backBuffer_.Dc(),
           shadow, strip.top + shadow, SRCCOPY);
    noticeArea_ = Union(noticeArea_, strip);
    return {Clamp16(strip.left), Clamp16(strip.top), Clamp16(strip.right), Clamp16(strip.bottom)};
}

SurfaceView SaverRun::SliceBuffer(int rows) {
    if (!sliceBuffered_ || !form_.Alive() || rows <= 0) return {};
    if (slice_.Width() != main_.Width() || slice_.Height() < rows) {
        // At least a default slice high, so that one buffer serves all the slices of a run.
        if (!slice_.Resize(main_.Width(), std::max(rows, kDefaultSliceRows))) return {};
    }
    return {slice_.Pixels(), slice_.Width(), rows};
}

// One device context for all of a frame's slices and its present: getting one costs a trip to
// the server.
HDC SaverRun::FrameDc() {
    if (!form_.Alive()) return nullptr;
    if (!frameDc_) frameDc_.emplace(form_.Window());
    return frameDc_->get();
}

void SaverRun::ShowSlice(std::span<const BoundingBox> rows, int top) {
    HDC dc = FrameDc();
    if (dc == nullptr) return;
    for (const BoundingBox& band : rows)
        BitBlt(dc, band.MinX, band.MinY, band.Width(), band.Height(), slice_.Dc(), band.MinX, band.MinY - top,
               SRCCOPY);
}

void SaverRun::ClipToPath(std::span<const RowBand> runs) {
    form_.SetPathClip(runs.empty() ? GdiObject() : RegionOfRuns(runs));
}

bool SaverRun::CopiesShiftedRows() { return copiesShifted_ && form_.HasPathClip(); }

void SaverRun::ShowShiftedRows(std::span<const ShiftedRows> blocks) {
    HDC dc = FrameDc();
    if (dc == nullptr) return;
    form_.ClipToPath(dc);
    for (const ShiftedRows& block : blocks) {
        const RowBand& to = block.Target;
        BitBlt(dc, to.Left, to.Top, to.Right - to.Left, to.Bottom - to.Top, waveBuffer_.Dc(), block.SourceLeft,
               block.SourceTop, SRCCOPY);
    }
}

void SaverRun::Present(std::span<const BoundingBox> dirty) {
    if (form_.Alive()) {
        GdiFlush();
        presentAreas_.clear();
        for (const BoundingBox& box : dirty) presentAreas_.push_back(RECT{box.MinX, box.MinY, box.MaxX, box.MaxY});
        if (!IsRectEmpty(&noticeArea_)) presentAreas_.push_back(noticeArea_);
        if (HDC dc = presentAreas_.empty() ? nullptr : FrameDc()) form_.Present(dc, presentAreas_);
        noticeArea_ = RECT{};
    }
    // The messages may destroy the window: its device context goes back first.
    frameDc_.reset();
    if (form_.Alive()) PumpPendingMessages();
}

}  // namespace lurvane::win32
