#include "dialog/win32/path_page.h"

#include <optional>
#include <string>

#include "dialog/dialog_rules.h"
#include "dialog/win32/dialog_controls.h"
#include "dialog/win32/dialog_tables.h"
#include "resource.h"
#include "util/win32/dpi.h"
#include "util/win32/scroll_bar.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

// A custom window takes its slot's place in the tab order, just before the hidden slot.
void TakeSlotsTurn(HWND window, HWND slot) {
    HWND before = GetWindow(slot, GW_HWNDPREV);
    SetWindowPos(window, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(slot, SW_HIDE);
}

}  // namespace

PathPage::PathPage(PageHost& host, SettingsModel& model, const ProgramContext& context)
    : host_(host),
      model_(model),
      context_(context),
      preview_(
          context.Pictures, [this](const PreviewPointer& pointer) { tools_.OnPointer(pointer); },
          [this](UINT key) { tools_.OnKey(key); }),
      tools_(model_, preview_, context.Texts, [this](bool quiet) { Render(quiet); }),
      plot_(context.Pictures),
      adjuster_([this](int32_t percent) { model_.SetNumber(SettingId::WaveAsc, percent); }) {}

bool PathPage::Create(HWND page) {
    page_ = page;
    HWND previewSlot = GetDlgItem(page, IDC_PICTURESCROLLABLE);
    HWND trackSlot = GetDlgItem(page, IDC_PICTURE7);
    HWND plotSlot = GetDlgItem(page, IDC_PICPREVIEW);
    const RECT previewPlace = PlaceOf(previewSlot);
    if (!preview_.Create(page, IDC_PICTURESCROLLABLE, POINT{previewPlace.left, previewPlace.top}) ||
        !adjuster_.Create(page, IDC_PICTURE7, IDC_PICADJUST, PlaceOf(trackSlot)) ||
        !plot_.Create(page, IDC_PICPREVIEW, PlaceOf(plotSlot)))
        return false;
    TakeSlotsTurn(preview_.Window(), previewSlot);
    TakeSlotsTurn(adjuster_.Window(), trackSlot);
    TakeSlotsTurn(plot_.Window(), plotSlot);

    for (int id : {IDC_HSCROLLFRAMERATE, IDC_HSCROLLWAVEFREQ, IDC_HSCROLLWAVEDIRECTION, IDC_HSCROLLWAVECOUNT,
                   IDC_HSCROLLWAVEAMP}) {
        const SettingInfo& info = Describe(BindingOfControl(id)->Setting);
        SCROLLINFO range{};
        range.cbSize = sizeof range;
        range.fMask = SIF_RANGE | SIF_PAGE;
        range.nMin = info.Minimum;
        range.nMax = info.Maximum;
        SetScrollInfo(GetDlgItem(page, id), SB_CTL, &range, FALSE);
    }
    tools_.Attach(page);
    CheckDlgButton(page, IDC_CHKSHOWWAVES, BST_CHECKED);  // not stored: every dialog starts with them
    return true;
}

void PathPage::Layout(UINT dpi) {
    // The preview keeps its size in twips; its scroll bars stand along its edges.
    const RECT slot = PlaceOf(GetWindow(preview_.Window(), GW_HWNDNEXT));
    preview_.PlaceAt(POINT{slot.left, slot.top});
    const RECT shown = PlaceOf(preview_.Window());
    // The bars keep the thickness the template gives them at this DPI.
    const RECT vertical = PlaceOf(GetDlgItem(page_, IDC_VSCROLLPREVIEW));
    const int bar = vertical.right - vertical.left;
    const int gap = ScaleForDpi(2, dpi);
    SetWindowPos(GetDlgItem(page_, IDC_VSCROLLPREVIEW), nullptr, shown.right + gap, shown.top, bar,
                 shown.bottom - shown.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(page_, IDC_HSCROLLPREVIEW), nullptr, shown.left, shown.bottom + gap,
                 shown.right - shown.left, bar, SWP_NOZORDER | SWP_NOACTIVATE);
    // The row under the preview follows the preview's exact height, centred on its buttons, so
    // that a font whose dialog units do not grow quite like the DPI leaves no overlap.
    const int rowTop = shown.bottom + 2 * gap + bar;
    const RECT button = PlaceOf(GetDlgItem(page_, IDC_CMDBTNZOOMDN));
    const int rowHeight = button.bottom - button.top;
    for (int id : {IDC_CMDBTNZOOMDN, IDC_LABELZOOMFACTOR, IDC_CMDBTNZOOMUP, IDC_CHKHIDEPATHPOINTS,
                   IDC_CMDCHOOSEBACKGROUNDIMAGE}) {
        HWND control = GetDlgItem(page_, id);
        const RECT place = PlaceOf(control);
        SetWindowPos(control, nullptr, place.left, rowTop + (rowHeight - (place.bottom - place.top)) / 2, 0, 0,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    }
    adjuster_.PlaceTrack(PlaceOf(GetWindow(adjuster_.Window(), GW_HWNDNEXT)));
    plot_.Place(PlaceOf(GetWindow(plot_.Window(), GW_HWNDNEXT)));
    AlignSliderLabels();
}

bool PathPage::OnCommand(int id, int code) {
    if (id != IDC_CHKSHOWWAVES) return tools_.OnCommand(id, code);
    if (code == BN_CLICKED) preview_.ShowWaves(IsDlgButtonChecked(page_, IDC_CHKSHOWWAVES) == BST_CHECKED);
    return true;
}

void PathPage::ApplyLanguage() {
    preview_.SetLanguage(context_.Texts.GetLanguage());
    AlignSliderLabels();
}

// The labels left of the wave sliders end a small gap before their slider, each as wide as its
// text and a pixel more: a right-aligned static control can lose its text's last pixel column
// to the clip ("down" showing as "dowr").
void PathPage::AlignSliderLabels() {
    constexpr int kRows[][2] = {{IDC_LABEL14, IDC_HSCROLLWAVEFREQ},
                                {IDC_LABEL6, IDC_HSCROLLWAVECOUNT},
                                {IDC_LABEL11, IDC_HSCROLLWAVEAMP},
                                {IDC_LABEL9, IDC_HSCROLLWAVEDIRECTION}};
    RECT gap{0, 0, 3, 0};  // dialog units, as the template leaves it
    MapDialogRect(page_, &gap);
    for (const auto& [labelId, barId] : kRows) {
        HWND label = GetDlgItem(page_, labelId);
        const RECT place = PlaceOf(label);
        const std::wstring text = Widen(WindowText(label));
        RECT needed{};
        HDC dc = GetDC(label);
        const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
        DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        const int width = needed.right + 1;
        const int right = PlaceOf(GetDlgItem(page_, barId)).left - gap.right;
        SetWindowPos(label, nullptr, right - width, place.top, width, place.bottom - place.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void PathPage::ShowSmoothing() {
    adjuster_.Show(model_.Number(SettingId::WaveDirection), model_.SmoothingPercent());
}

void PathPage::Render(bool quiet) {
    if (preview_.Window() == nullptr) return;
    const bool drawn = preview_.Render(model_.Text(SettingId::BackgroundImage), model_.Path());
    if (!drawn && !quiet) host_.Ask(context_.Texts.GetLangString(TextId::PathOrImageInvalid), MB_OK | MB_ICONERROR);
}

void PathPage::SetPreviewInterval() {
    previewInterval_ = lurvane::PreviewInterval(model_.Number(SettingId::Framerate));
    if (previewRunning_) SetTimer(host_.Window(), kPreviewTimer, previewInterval_, nullptr);
}

void PathPage::RunPreview(bool run) {
    if (run == previewRunning_) return;
    previewRunning_ = run;
    if (run) SetTimer(host_.Window(), kPreviewTimer, previewInterval_, nullptr);
    else KillTimer(host_.Window(), kPreviewTimer);
}

void PathPage::OnPreviewTimer() {
    const int32_t period = model_.Number(SettingId::WaveFreq);
    previewPhase_ = static_cast<int16_t>(previewPhase_ + 1);
    if (previewPhase_ >= period) previewPhase_ = 0;
    WaveParams params;
    params.Counter = previewPhase_;
    params.Freq = period;
    params.Amp = model_.Number(SettingId::WaveAmp);
    params.Count = model_.Number(SettingId::WaveCount);
    params.AscPercent = model_.Number(SettingId::WaveAsc);
    params.Direction = model_.Number(SettingId::WaveDirection);
    plot_.Show(params);
    preview_.AnimateWaves(WaveShape{params.Freq, params.Direction, params.Count, params.Amp, params.AscPercent});
}

bool PathPage::OnScroll(HWND bar, int code) {
    if (tools_.OnScroll(bar, code)) return true;
    const Binding* binding = BindingOfControl(GetDlgCtrlID(bar));
    if (binding == nullptr || binding->Kind != Holder::ScrollBar) return false;
    const std::optional<int> requested = RequestedScrollValue(bar, code);
    if (!requested) return true;
    const int value = *requested;
    const SettingId id = binding->Setting;
    if (id == SettingId::Framerate && code == SB_THUMBTRACK) {
        // While the thumb is dragged only the label follows; the timer changes when it is let go.
        SetText(GetDlgItem(page_, IDC_LABELFRAMERATE), std::to_string(value));
        return true;
    }
    SetScrollPos(bar, SB_CTL, value, TRUE);
    host_.TakeSetting(id);
    if (id == SettingId::Framerate) {
        SetText(GetDlgItem(page_, IDC_LABELFRAMERATE), model_.Text(id));
        SetPreviewInterval();
    } else if (id == SettingId::WaveDirection) {
        host_.ShowSetting(SettingId::WaveAsc);
    }
    return true;
}

}  // namespace lurvane::win32
