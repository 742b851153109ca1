#include "dialog/win32/settings_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include <string>
#include <vector>

#include "dialog/dialog_rules.h"
#include "dialog/sound_page_rules.h"
#include "dialog/tooltip_texts.h"
#include "imaging/picture_types.h"
#include "imaging/win32/screen_capture.h"
#include "resource.h"
#include "settings/profile.h"
#include "settings/settings_store.h"
#include "util/common_dialog_rules.h"
#include "util/file_functions.h"
#include "util/text_rules.h"
#include "util/win32/common_dialogs.h"
#include "util/win32/dpi.h"
#include "util/win32/locale_text.h"
#include "util/win32/scroll_bar.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

constexpr UINT_PTR kPreviewTimer = 1;
constexpr UINT_PTR kSoundTimer = 2;
constexpr UINT kSoundTimerInterval = 200;
// Posted by the player's thread with a measurement's number and the length it found.
constexpr UINT kSoundMeasured = WM_APP + 1;
constexpr int kTipShowTime = 20000;

// How a control holds its setting.
enum class Holder {
    LanguageMenu,  // the check mark in the language menu
    ScrollBar,
    CheckBox,
    MaximizeOption,  // OptMaxi selected, else OptProp
    NumberBox,
    TextBox,
    Colour,     // the swatch; the model holds the value
    Smoothing,  // the adjuster; the model holds the value
    Path,       // the preview; the model holds the markers
};

struct Binding {
    SettingId Setting;
    int Control;
    Holder Kind;
};

// Every setting and the control that holds it, in the settings' order.
constexpr std::array<Binding, kSettingCount> kBindings{{
    {SettingId::Language, IDR_SETTINGS_MENU, Holder::LanguageMenu},
    {SettingId::Framerate, IDC_HSCROLLFRAMERATE, Holder::ScrollBar},
    {SettingId::WaveFreq, IDC_HSCROLLWAVEFREQ, Holder::ScrollBar},
    {SettingId::WaveDirection, IDC_HSCROLLWAVEDIRECTION, Holder::ScrollBar},
    {SettingId::WaveCount, IDC_HSCROLLWAVECOUNT, Holder::ScrollBar},
    {SettingId::WaveAmp, IDC_HSCROLLWAVEAMP, Holder::ScrollBar},
    {SettingId::WaveAsc, IDC_PICADJUST, Holder::Smoothing},
    {SettingId::UseSystemTimer, IDC_CHKUSESYSTEMTIMER, Holder::CheckBox},
    {SettingId::ShowFPS, IDC_CHKSHOWFPS, Holder::CheckBox},
    {SettingId::BackgroundImage, IDC_TXBACKGROUNDIMAGE, Holder::TextBox},
    {SettingId::PathPoints, IDC_PICTURESCROLLABLE, Holder::Path},
    {SettingId::RandomizeBackground, IDC_CHKRANDOMIZEBACKGROUND, Holder::CheckBox},
    {SettingId::MaximizeBackground, IDC_OPTMAXI, Holder::MaximizeOption},
    {SettingId::ColorBackground, IDC_COLBACK, Holder::Colour},
    {SettingId::SizeBackground, IDC_TXSIZE, Holder::NumberBox},
    {SettingId::RestartSec, IDC_TXRESTARTSEC, Holder::NumberBox},
    {SettingId::BackgroundSound, IDC_TXSOUNDFILE, Holder::TextBox},
    {SettingId::LoopSound, IDC_CHKLOOP, Holder::CheckBox},
}};

constexpr bool EverySettingBoundOnce() {
    for (std::size_t i = 0; i < kBindings.size(); ++i)
        if (static_cast<std::size_t>(kBindings[i].Setting) != i) return false;
    return true;
}
static_assert(EverySettingBoundOnce(), "kBindings is indexed by SettingId");

const Binding& BindingOf(SettingId id) { return kBindings[static_cast<std::size_t>(id)]; }

const Binding* BindingOfControl(int control) {
    for (const Binding& binding : kBindings)
        if (binding.Control == control) return &binding;
    return nullptr;
}

struct Caption {
    int Control;
    TextId Text;
};

// The language-dependent captions; the dialog's title and the tabs are set beside them.
constexpr Caption kCaptions[] = {
    {IDC_FRAME4, TextId::BackgroundSettingsFrame},
    {IDC_FRAME5, TextId::WaveEffect},
    {IDC_FRAME3, TextId::BackgroundSettings},
    {IDC_FRAME7, TextId::GeneralSettings},
    {IDC_FRAME10, TextId::BackgroundMusic},
    {IDC_FRAME1, TextId::BackgroundPictureFrame},
    {IDC_LABEL3, TextId::Framerate},
    {IDC_LABEL4, TextId::WaveDirection},
    {IDC_LABEL5, TextId::WaveCount},
    {IDC_LABEL6, TextId::Less},
    {IDC_LABEL7, TextId::More},
    {IDC_LABEL8, TextId::Top},
    {IDC_LABEL9, TextId::Down},
    {IDC_LABEL10, TextId::WaveAmplitude},
    {IDC_LABEL11, TextId::Weaker},
    {IDC_LABEL12, TextId::Stronger},
    {IDC_LABEL13, TextId::WaveFrequency},
    {IDC_LABEL14, TextId::Faster},
    {IDC_LABEL15, TextId::Slower},
    {IDC_LABEL16, TextId::Toolbox},
    {IDC_LABEL17, TextId::WaveSmoothing},
    {IDC_LABEL18, TextId::Paths},
    {IDC_LABEL19, TextId::ChooseAgainAfter},
    {IDC_LABEL20, TextId::Size},
    {IDC_LABEL22, TextId::Seconds},
    {IDC_LABEL23, TextId::SoundFile},
    {IDC_CHKHIDEPATHPOINTS, TextId::HidePathPoints},
    {IDC_CHKSHOWFPS, TextId::ShowFramerate},
    {IDC_CHKRANDOMIZEBACKGROUND, TextId::RandomizeBackground},
    {IDC_OPTMAXI, TextId::Maximized},
    {IDC_OPTPROP, TextId::Proportional},
    {IDC_CMDCHOOSEBACKGROUNDIMAGE, TextId::Find},
    {IDC_COMMAND1, TextId::Info},
    {IDOK, TextId::Ok},
    {IDCANCEL, TextId::Cancel},
    {IDC_CMDLOADPATH, TextId::LoadProfileButton},
    {IDC_CMDSAVEPATH, TextId::SaveProfileButton},
    {IDC_CMDCOLOR, TextId::ChooseBackgroundColour},
    {IDC_CMDBTNFINDSNDFILE, TextId::Find},
};

struct Tip {
    TipControl Tool;
    int Control;
};

// The controls with a tooltip, in the order they are registered.
constexpr std::array<Tip, kTipControlCount> kTips{{
    {TipControl::UseSystemTimer, IDC_CHKUSESYSTEMTIMER},
    {TipControl::HidePathPoints, IDC_CHKHIDEPATHPOINTS},
    {TipControl::RandomizeBackground, IDC_CHKRANDOMIZEBACKGROUND},
    {TipControl::WaveDirection, IDC_HSCROLLWAVEDIRECTION},
    {TipControl::WaveCount, IDC_HSCROLLWAVECOUNT},
    {TipControl::WaveFreq, IDC_HSCROLLWAVEFREQ},
    {TipControl::WaveAmp, IDC_HSCROLLWAVEAMP},
    {TipControl::Framerate, IDC_HSCROLLFRAMERATE},
    {TipControl::LoadPath, IDC_CMDLOADPATH},
    {TipControl::SavePath, IDC_CMDSAVEPATH},
    {TipControl::ZoomOutButton, IDC_CMDBTNZOOMDN},
    {TipControl::ZoomInButton, IDC_CMDBTNZOOMUP},
    {TipControl::WavePreview, IDC_PICPREVIEW},
    {TipControl::SmoothingAdjuster, IDC_PICADJUST},
    {TipControl::DeletePath, IDC_CMDDELETEPATH},
    {TipControl::GrabTool, IDC_OPTGRAB},
    {TipControl::ZoomOutTool, IDC_OPTZOOMDN},
    {TipControl::ZoomInTool, IDC_OPTZOOMUP},
    {TipControl::Proportional, IDC_OPTPROP},
    {TipControl::Maximized, IDC_OPTMAXI},
    {TipControl::RestartSec, IDC_TXRESTARTSEC},
    {TipControl::Size, IDC_TXSIZE},
}};

constexpr int kLanguageItems[] = {IDM_GERMAN, IDM_ENGLISH, IDM_ITALIAN};

std::string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void SetText(HWND window, const std::string& text) {
    if (window != nullptr) SetWindowTextW(window, Widen(text).c_str());
}

// The place of a control in its parent's client pixels.
RECT PlaceOf(HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// A custom window takes its slot's place in the tab order, just before the hidden slot.
void TakeSlotsTurn(HWND window, HWND slot) {
    HWND before = GetWindow(slot, GW_HWNDPREV);
    SetWindowPos(window, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(slot, SW_HIDE);
}

struct ControlSearch {
    int Id;
    HWND Found;
};

BOOL CALLBACK FindControl(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<ControlSearch*>(data);
    if (GetDlgCtrlID(child) != search->Id) return TRUE;
    search->Found = child;
    return FALSE;
}

int ScrollValue(HWND bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    GetScrollInfo(bar, SB_CTL, &info);
    return info.nPos;
}

}  // namespace

SettingsDialog::SettingsDialog(const ProgramContext& context, DialogLinks links, MusicLinks music)
    : context_(context),
      links_(std::move(links)),
      music_(std::move(music)),
      preview_(context.Pictures, [this](const PreviewPointer& pointer) { tools_.OnPointer(pointer); }),
      tools_(model_, preview_, context.Texts, [this](bool quiet) { RenderBackgroundPreview(quiet); }),
      plot_(context.Pictures),
      adjuster_([this](int32_t percent) {
          model_.SetNumber(SettingId::WaveAsc, percent);
      }) {}

SettingsDialog::~SettingsDialog() {
    StopSoundPreview();
    if (frame_ != nullptr) DestroyWindow(frame_);
}

HWND SettingsDialog::Control(int id) const {
    if (frame_ == nullptr) return nullptr;
    if (HWND control = GetDlgItem(frame_, id)) return control;
    for (HWND page : pages_)
        if (page != nullptr)
            if (HWND control = GetDlgItem(page, id)) return control;
    // Controls inside our own windows, such as the adjuster's knob.
    ControlSearch search{id, nullptr};
    EnumChildWindows(frame_, &FindControl, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

bool SettingsDialog::Create(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), owner, &FrameProc,
                       reinterpret_cast<LPARAM>(this));
    return frame_ != nullptr && pages_[0] != nullptr && pages_[1] != nullptr;
}

bool SettingsDialog::RunModal(HWND owner) {
    if (!Create(owner)) return false;
    const bool disableOwner = owner != nullptr && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    ShowWindow(frame_, SW_SHOW);
    MSG message;
    while (!finished_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0) break;
        // Ctrl+Tab turns the pages, as in the system's property sheets.
        if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) != 0 &&
            (message.hwnd == frame_ || IsChild(frame_, message.hwnd))) {
            const int next = (TabCtrl_GetCurSel(Control(IDC_SSTAB1)) + 1) % 2;
            TabCtrl_SetCurSel(Control(IDC_SSTAB1), next);
            ShowPage(next);
            continue;
        }
        if (!IsDialogMessageW(frame_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The owner takes the activation back before this window goes.
    if (disableOwner) EnableWindow(owner, TRUE);
    DestroyWindow(frame_);
    return saved_;
}

INT_PTR CALLBACK SettingsDialog::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SettingsDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<SettingsDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->frame_ = window;
    } else {
        self = reinterpret_cast<SettingsDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (self == nullptr) return FALSE;
    const INT_PTR result = self->OnFrameMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->frame_ = nullptr;
        self->pages_ = {};
    }
    return result;
}

INT_PTR CALLBACK SettingsDialog::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return FALSE;
    }
    auto* self = reinterpret_cast<SettingsDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    return self == nullptr ? FALSE : self->OnPageMessage(window, message, wParam, lParam);
}

INT_PTR SettingsDialog::OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInit();
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_SSTAB1 && header->code == TCN_SELCHANGE) {
            ShowPage(TabCtrl_GetCurSel(header->hwndFrom));
            DisplayMP3Info();
        }
        return TRUE;
    }
    case WM_TIMER:
        if (wParam == kPreviewTimer) OnPreviewTimer();
        else if (wParam == kSoundTimer) OnSoundTimer();
        return TRUE;
    case kSoundMeasured:
        OnSoundMeasured(static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam));
        return TRUE;
    case WM_CLOSE:
        OnCancel();
        return TRUE;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(frame_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        Layout();
        return TRUE;
    }
    case WM_DESTROY:
        KillTimer(frame_, kPreviewTimer);
        KillTimer(frame_, kSoundTimer);
        tips_.Destroy();
        return TRUE;
    }
    return FALSE;
}

INT_PTR SettingsDialog::OnPageMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam != 0) OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == Control(IDC_COLBACK) && swatchBrush_)
            return reinterpret_cast<INT_PTR>(swatchBrush_.get());
        return FALSE;
    }
    return FALSE;
}

void SettingsDialog::OnInit() {
    gdiPlus_.emplace(context_.Pictures);
    if (!gdiPlus_->Started()) MessageBoxW(frame_, L"Error loading GDI+!", L"Lurvane", MB_OK | MB_ICONERROR);
    if (!MakePages() || !MakeCustomWindows()) return;

    for (int id : {IDC_HSCROLLFRAMERATE, IDC_HSCROLLWAVEFREQ, IDC_HSCROLLWAVEDIRECTION, IDC_HSCROLLWAVECOUNT,
                   IDC_HSCROLLWAVEAMP}) {
        const SettingInfo& info = Describe(BindingOfControl(id)->Setting);
        SCROLLINFO range{};
        range.cbSize = sizeof range;
        range.fMask = SIF_RANGE | SIF_PAGE;
        range.nMin = info.Minimum;
        range.nMax = info.Maximum;
        SetScrollInfo(Control(id), SB_CTL, &range, FALSE);
    }
    tools_.Attach(pages_[0]);
    const auto greys = GreyCustomColours();
    std::copy(greys.begin(), greys.end(), customColours_.begin());

    LoadSettings(model_, context_.Settings);
    SelectLanguage(model_.Number(SettingId::Language));
    ShowAllSettings();
    DisplayMP3Info();
    Layout();
    tools_.ShowZoom();
    SetPreviewInterval();
}

bool SettingsDialog::MakePages() {
    HWND tab = Control(IDC_SSTAB1);
    for (int i = 0; i < 2; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"");
        TabCtrl_InsertItem(tab, i, &item);
    }
    const int templates[] = {IDD_PAGE_PATH, IDD_PAGE_MORE};
    for (int i = 0; i < 2; ++i) {
        pages_[static_cast<std::size_t>(i)] =
            CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templates[i]), frame_, &PageProc,
                               reinterpret_cast<LPARAM>(this));
        if (pages_[static_cast<std::size_t>(i)] == nullptr) return false;
    }
    // Under a visual style the pages take the tab body's background. The theme library is not
    // on every system, so it is looked up rather than linked.
    Module theme(LoadLibraryW(L"uxtheme.dll"));
    using EnableTexture = HRESULT(WINAPI*)(HWND, DWORD);
    const auto enableTexture = theme ? reinterpret_cast<EnableTexture>(reinterpret_cast<void*>(
                                           GetProcAddress(theme.get(), "EnableThemeDialogTexture")))
                                     : nullptr;
    constexpr DWORD kTabTexture = 0x6;  // ETDT_ENABLETAB
    if (enableTexture != nullptr)
        for (HWND page : pages_) enableTexture(page, kTabTexture);
    // The pages follow the tab control in the tab order, before the buttons below them.
    SetWindowPos(pages_[1], tab, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(pages_[0], tab, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowPage(0);
    return true;
}

bool SettingsDialog::MakeCustomWindows() {
    HWND page = pages_[0];
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
    return true;
}

void SettingsDialog::Layout() {
    HWND tab = Control(IDC_SSTAB1);
    RECT area = PlaceOf(tab);
    TabCtrl_AdjustRect(tab, FALSE, &area);
    for (HWND page : pages_)
        SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);

    // The preview keeps its size in twips; its scroll bars stand along its edges.
    HWND page = pages_[0];
    const RECT slot = PlaceOf(GetWindow(preview_.Window(), GW_HWNDNEXT));
    preview_.PlaceAt(POINT{slot.left, slot.top});
    const RECT shown = PlaceOf(preview_.Window());
    const UINT dpi = WindowDpi(frame_);
    // The bars keep the thickness the template gives them at this DPI.
    const RECT vertical = PlaceOf(GetDlgItem(page, IDC_VSCROLLPREVIEW));
    const int bar = vertical.right - vertical.left;
    const int gap = ScaleForDpi(2, dpi);
    SetWindowPos(GetDlgItem(page, IDC_VSCROLLPREVIEW), nullptr, shown.right + gap, shown.top, bar,
                 shown.bottom - shown.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(page, IDC_HSCROLLPREVIEW), nullptr, shown.left, shown.bottom + gap,
                 shown.right - shown.left, bar, SWP_NOZORDER | SWP_NOACTIVATE);
    // The row under the preview follows the preview's exact height, centred on its buttons, so
    // that a font whose dialog units do not grow quite like the DPI leaves no overlap.
    const int rowTop = shown.bottom + 2 * gap + bar;
    const RECT button = PlaceOf(GetDlgItem(page, IDC_CMDBTNZOOMDN));
    const int rowHeight = button.bottom - button.top;
    for (int id : {IDC_CMDBTNZOOMDN, IDC_LABELZOOMFACTOR, IDC_CMDBTNZOOMUP, IDC_CHKHIDEPATHPOINTS,
                   IDC_CMDCHOOSEBACKGROUNDIMAGE}) {
        HWND control = GetDlgItem(page, id);
        const RECT place = PlaceOf(control);
        SetWindowPos(control, nullptr, place.left, rowTop + (rowHeight - (place.bottom - place.top)) / 2, 0, 0,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    }
    adjuster_.PlaceTrack(PlaceOf(GetWindow(adjuster_.Window(), GW_HWNDNEXT)));
    plot_.Place(PlaceOf(GetWindow(plot_.Window(), GW_HWNDNEXT)));
}

void SettingsDialog::ShowPage(int index) {
    for (int i = 0; i < 2; ++i) ShowWindow(pages_[static_cast<std::size_t>(i)], i == index ? SW_SHOW : SW_HIDE);
}

void SettingsDialog::ShowSetting(SettingId id) {
    const Binding& binding = BindingOf(id);
    HWND control = binding.Kind == Holder::LanguageMenu ? nullptr : Control(binding.Control);
    switch (binding.Kind) {
    case Holder::LanguageMenu: {
        const int32_t language = model_.Number(id);
        CheckMenuRadioItem(GetMenu(frame_), IDM_GERMAN, IDM_ITALIAN, kLanguageItems[language - 1], MF_BYCOMMAND);
        break;
    }
    case Holder::ScrollBar:
        SetScrollPos(control, SB_CTL, model_.Number(id), TRUE);
        if (id == SettingId::Framerate) SetText(Control(IDC_LABELFRAMERATE), model_.Text(id));
        break;
    case Holder::CheckBox:
        Button_SetCheck(control, model_.IsChecked(id) ? BST_CHECKED : BST_UNCHECKED);
        break;
    case Holder::MaximizeOption:
        CheckRadioButton(pages_[1], IDC_OPTPROP, IDC_OPTMAXI, model_.IsChecked(id) ? IDC_OPTMAXI : IDC_OPTPROP);
        break;
    case Holder::NumberBox:
    case Holder::TextBox:
        if (WindowText(control) != model_.Text(id)) {
            rewritingText_ = true;
            SetText(control, model_.Text(id));
            rewritingText_ = false;
        }
        break;
    case Holder::Colour:
        swatchBrush_.reset(CreateSolidBrush(ColourFromSetting(model_.BackgroundColour())));
        InvalidateRect(control, nullptr, TRUE);
        break;
    case Holder::Smoothing:
        adjuster_.Show(model_.Number(SettingId::WaveDirection), model_.SmoothingPercent());
        break;
    case Holder::Path:
        RenderBackgroundPreview(true);
        break;
    }
}

void SettingsDialog::TakeSetting(SettingId id) {
    const Binding& binding = BindingOf(id);
    HWND control = binding.Kind == Holder::LanguageMenu ? nullptr : Control(binding.Control);
    switch (binding.Kind) {
    case Holder::LanguageMenu: {
        // The language saved is the one whose menu item carries the check mark.
        HMENU menu = GetMenu(frame_);
        const int32_t language = (GetMenuState(menu, IDM_ENGLISH, MF_BYCOMMAND) & MF_CHECKED) != 0   ? kEnglish
                                 : (GetMenuState(menu, IDM_ITALIAN, MF_BYCOMMAND) & MF_CHECKED) != 0 ? kItalian
                                                                                                      : kGerman;
        model_.SetNumber(id, language);
        break;
    }
    case Holder::ScrollBar:
        model_.SetNumber(id, ScrollValue(control));
        break;
    case Holder::CheckBox:
        model_.SetNumber(id, Button_GetCheck(control) == BST_CHECKED ? 1 : 0);
        break;
    case Holder::MaximizeOption:
        model_.SetNumber(id, Button_GetCheck(control) == BST_CHECKED ? 1 : 0);
        break;
    case Holder::NumberBox:
    case Holder::TextBox:
        model_.SetText(id, WindowText(control));
        break;
    case Holder::Colour:
    case Holder::Smoothing:
    case Holder::Path:
        break;  // their windows write to the model as the user changes them
    }
}

void SettingsDialog::ShowAllSettings() {
    for (const Binding& binding : kBindings) ShowSetting(binding.Setting);
    UpdateEnabledStates();
}

void SettingsDialog::ApplyLanguage() {
    const Language& texts = context_.Texts;
    SetText(frame_, texts.GetLangString(TextId::SettingsTitle));
    HWND tab = Control(IDC_SSTAB1);
    const TextId tabTexts[] = {TextId::PathSettingsTab, TextId::AdditionalSettingsTab};
    for (int i = 0; i < 2; ++i) {
        std::wstring caption = Widen(texts.GetLangString(tabTexts[i]));
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        TabCtrl_SetItem(tab, i, &item);
    }
    for (const Caption& caption : kCaptions) SetText(Control(caption.Control), texts.GetLangString(caption.Text));
    ShowPlayCaption();
    UpdateTooltips();
    DisplayMP3Info();
}

void SettingsDialog::UpdateTooltips() {
    if (!tips_.Create(frame_)) return;
    tips_.SetShowTime(kTipShowTime);
    for (const Tip& tip : kTips) tips_.SetText(Control(tip.Control), ToolTipText(context_.Texts, tip.Tool));
}

void SettingsDialog::SelectLanguage(int32_t language) {
    model_.SetNumber(SettingId::Language, language);
    context_.Texts.SetLanguage(model_.Number(SettingId::Language));
    ShowSetting(SettingId::Language);
    ApplyLanguage();
}

void SettingsDialog::UpdateEnabledStates() {
    const bool random = model_.IsChecked(SettingId::RandomizeBackground);
    for (int id : {IDC_LABEL19, IDC_TXRESTARTSEC, IDC_LABEL22}) EnableWindow(Control(id), random);
    const bool proportional = !model_.IsChecked(SettingId::MaximizeBackground);
    for (int id : {IDC_LABEL20, IDC_TXSIZE, IDC_LABEL21}) EnableWindow(Control(id), proportional);
    EnableWindow(Control(IDC_CMDBTNPLAY), !model_.Text(SettingId::BackgroundSound).empty());
}

void SettingsDialog::SetPreviewInterval() {
    previewInterval_ = lurvane::PreviewInterval(model_.Number(SettingId::Framerate));
    SetTimer(frame_, kPreviewTimer, previewInterval_, nullptr);
}

void SettingsDialog::OnPreviewTimer() {
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
}

void SettingsDialog::RenderBackgroundPreview(bool quiet) {
    if (preview_.Window() == nullptr) return;
    const bool drawn = preview_.Render(model_.Text(SettingId::BackgroundImage), model_.Path());
    if (!drawn && !quiet) Ask(context_.Texts.GetLangString(TextId::PathOrImageInvalid), MB_OK | MB_ICONERROR);
}

void SettingsDialog::OnScroll(HWND bar, int code) {
    if (tools_.OnScroll(bar, code)) return;
    const Binding* binding = BindingOfControl(GetDlgCtrlID(bar));
    if (binding == nullptr || binding->Kind != Holder::ScrollBar) return;
    const std::optional<int> requested = RequestedScrollValue(bar, code);
    if (!requested) return;
    const int value = *requested;
    const SettingId id = binding->Setting;
    if (id == SettingId::Framerate && code == SB_THUMBTRACK) {
        // While the thumb is dragged only the label follows; the timer changes when it is let go.
        SetText(Control(IDC_LABELFRAMERATE), std::to_string(value));
        return;
    }
    SetScrollPos(bar, SB_CTL, value, TRUE);
    TakeSetting(id);
    if (id == SettingId::Framerate) {
        SetText(Control(IDC_LABELFRAMERATE), model_.Text(id));
        SetPreviewInterval();
    } else if (id == SettingId::WaveDirection) {
        ShowSetting(SettingId::WaveAsc);
    }
}

void SettingsDialog::OnNumberBoxChanged(int id) {
    if (rewritingText_) return;
    HWND box = Control(id);
    const std::string typed = WindowText(box);
    const std::string shown = NumberBoxText(typed);
    if (shown != typed) {
        // Only a text that changes is rewritten, and the caret goes back to its end.
        rewritingText_ = true;
        SetText(box, shown);
        rewritingText_ = false;
        const auto end = static_cast<WPARAM>(GetWindowTextLengthW(box));
        SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
    }
    TakeSetting(BindingOfControl(id)->Setting);
}

void SettingsDialog::CommitNumberBox(int id) {
    const SettingId setting = BindingOfControl(id)->Setting;
    TakeSetting(setting);
    model_.CommitNumberBox(setting);
    ShowSetting(setting);
}

void SettingsDialog::OnCommand(int id, int code) {
    if (tools_.OnCommand(id, code)) return;
    switch (id) {
    case IDOK:
        OnOk();
        return;
    case IDCANCEL:
        OnCancel();
        return;
    case IDC_COMMAND1:
    case IDM_INFO:
        if (links_.ShowAbout) links_.ShowAbout(frame_);
        return;
    case IDM_UPDATE:
        if (links_.OpenUpdate) links_.OpenUpdate();
        return;
    case IDM_GERMAN:
    case IDM_ENGLISH:
    case IDM_ITALIAN:
        SelectLanguage(id - IDM_GERMAN + kGerman);
        return;
    case IDC_TXRESTARTSEC:
    case IDC_TXSIZE:
        if (code == EN_CHANGE) OnNumberBoxChanged(id);
        else if (code == EN_KILLFOCUS) CommitNumberBox(id);
        return;
    case IDC_TXSOUNDFILE:
        if (code == EN_CHANGE && !rewritingText_) {
            TakeSetting(SettingId::BackgroundSound);
            UpdateEnabledStates();
            // An empty box disables the button, so a preview could not be stopped any more;
            // and its information goes at once, which asks the device nothing.
            if (TrimBlanks(model_.Text(SettingId::BackgroundSound)).empty()) {
                StopSoundPreview();
                DisplayMP3Info();
            }
        }
        return;
    case IDC_CHKSHOWFPS:
    case IDC_CHKRANDOMIZEBACKGROUND:
    case IDC_CHKLOOP:
    case IDC_CHKUSESYSTEMTIMER:
        if (code == BN_CLICKED) {
            TakeSetting(BindingOfControl(id)->Setting);
            UpdateEnabledStates();
        }
        return;
    case IDC_OPTMAXI:
    case IDC_OPTPROP:
        // The size box stands between the two options, so they do not share a group.
        if (code == BN_CLICKED) {
            model_.SetNumber(SettingId::MaximizeBackground, id == IDC_OPTMAXI ? 1 : 0);
            ShowSetting(SettingId::MaximizeBackground);
            UpdateEnabledStates();
        }
        return;
    case IDC_CMDLOADPATH:
        LoadProfile();
        return;
    case IDC_CMDSAVEPATH:
        SaveProfile();
        return;
    case IDC_CMDCOLOR:
        ChooseColour();
        return;
    case IDC_CMDCHOOSEBACKGROUNDIMAGE:
        ChoosePicture();
        return;
    case IDC_CMDBTNFINDSNDFILE:
        ChooseSoundFile();
        return;
    case IDC_CMDBTNPLAY:
        if (code == BN_CLICKED) OnPlay();
        return;
    }
}

void SettingsDialog::OnOk() {
    // The number boxes' limits apply as if they had lost the focus.
    CommitNumberBox(IDC_TXRESTARTSEC);
    CommitNumberBox(IDC_TXSIZE);
    for (const Binding& binding : kBindings) TakeSetting(binding.Setting);
    SaveSettings(model_, context_.Settings);
    Finish(true);
}

void SettingsDialog::OnCancel() {
    // The stored state comes back, the language the menu may have changed among it.
    LoadSettings(model_, context_.Settings);
    context_.Texts.SetLanguage(model_.Number(SettingId::Language));
    Finish(false);
}

void SettingsDialog::Finish(bool saved) {
    StopSoundPreview();
    KillTimer(frame_, kPreviewTimer);
    saved_ = saved;
    finished_ = true;
    ShowWindow(frame_, SW_HIDE);
}

int SettingsDialog::Ask(const std::string& text, UINT style) const {
    return MessageBoxW(frame_, Widen(text).c_str(), L"Lurvane", style);
}

void SettingsDialog::LoadProfile() {
    const Language& texts = context_.Texts;
    std::string path = GetDocumentsFolder(context_.Files) + "\\Lurvane Pictures\\";
    model_.SetProfilePath(path);
    FileDialogRequest request;
    request.Title = texts.GetLangString(TextId::LoadProfileTitle);
    request.Filter = FilterText({{texts.GetLangString(TextId::ProfileFileType) + " (*.rpp)", "*.rpp"}});
    request.DefaultExtension = "RPP";
    request.ViewCommand = kListView;
    const bool confirmed = ShowFileDialog(frame_, request, path);
    if (confirmed) {
        model_.SetProfilePath(path);
        SetText(Control(IDC_TXPATHPOINTS), path);
        if (!path.empty() && GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES) {
            const ProfileLoadResult result = LoadINI(model_);
            ShowAllSettings();  // draws the preview with the markers where the load left them
            SetPreviewInterval();
            if (!result.Complete()) return;
        }
    }
    RenderBackgroundPreview(false);
}

void SettingsDialog::SaveProfile() {
    const Language& texts = context_.Texts;
    std::string path = ChangeExtension(model_.Text(SettingId::BackgroundImage), "rpp");
    model_.SetProfilePath(path);
    FileDialogRequest request;
    request.Save = true;
    request.Title = texts.GetLangString(TextId::SaveProfileTitle);
    request.Filter = FilterText({{texts.GetLangString(TextId::ProfileFileType) + " (*.rpp)", "*.rpp"}});
    request.DefaultExtension = "RPP";
    request.ViewCommand = kListView;
    if (!ShowFileDialog(frame_, request, path) || path.empty()) return;
    model_.SetProfilePath(path);
    SetText(Control(IDC_TXPATHPOINTS), path);
    if (GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES &&
        Ask(texts.GetLangString(TextId::FileExists) + "\r\n" + texts.GetLangString(TextId::Overwrite),
            MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    SaveINI(model_);  // the model writes the path at zoom factor 1
}

void SettingsDialog::ChooseColour() {
    const std::optional<COLORREF> chosen =
        ChooseColorDialog(frame_, ColourFromSetting(model_.BackgroundColour()), customColours_);
    if (!chosen) return;
    model_.SetNumber(SettingId::ColorBackground, static_cast<double>(*chosen));
    ShowSetting(SettingId::ColorBackground);
}

void SettingsDialog::ChoosePicture() {
    const Language& texts = context_.Texts;
    std::string path = model_.Text(SettingId::BackgroundImage);
    FileDialogRequest request;
    request.Title = texts.GetLangString(TextId::ChooseBackgroundPicture);
    std::string allPictures;
    for (std::string_view extension : kPictureExtensions)
        allPictures += (allPictures.empty() ? "*." : ";*.") + std::string(extension);
    request.Filter = FilterText({{texts.GetLangString(TextId::AllPictures) + " (" + allPictures + ")", allPictures},
                                 {"BMP (*.bmp)", "*.bmp"},
                                 {"JPG (*.jpg;*.jpeg)", "*.jpg;*.jpeg"},
                                 {"GIF (*.gif)", "*.gif"},
                                 {"PNG (*.png)", "*.png"},
                                 {"TIFF (*.tif;*.tiff)", "*.tif;*.tiff"},
                                 {texts.GetLangString(TextId::AllFiles) + " (*.*)", "*.*"}});
    request.ViewCommand = kThumbnailView;
    if (ShowFileDialog(frame_, request, path) && !path.empty()) {
        model_.SetText(SettingId::BackgroundImage, path);
        ShowSetting(SettingId::BackgroundImage);
        const std::string profile = GetProfilePath(path);
        model_.SetProfilePath(profile);
        SetText(Control(IDC_TXPATHPOINTS), profile);
        if (GetFileAttributesW(Widen(profile).c_str()) != INVALID_FILE_ATTRIBUTES &&
            Ask(texts.GetLangString(TextId::ProfileFound) + "\r\n" + texts.GetLangString(TextId::LoadProfileToo),
                MB_YESNO | MB_ICONQUESTION) == IDYES) {
            LoadINI(model_);
            ShowAllSettings();
            SetPreviewInterval();
        }
    }
    RenderBackgroundPreview(false);
}


void SettingsDialog::ChooseSoundFile() {
    const Language& texts = context_.Texts;
    std::string path = WindowText(Control(IDC_TXSOUNDFILE));
    FileDialogRequest request;
    request.Title = texts.GetLangString(TextId::ChooseBackgroundMusic);
    request.Filter = FilterText({{texts.GetLangString(TextId::AllSoundFiles) + " (*.mp3;*.wma;*.mid;*.wav)",
                                  "*.mp3;*.wma;*.mid;*.wav"},
                                 {"MP3 (*.mp3)", "*.mp3"},
                                 {"WMA (*.wma)", "*.wma"},
                                 {"MID (*.mid)", "*.mid"},
                                 {"WAV (*.wav)", "*.wav"},
                                 {texts.GetLangString(TextId::AllFiles) + " (*.*)", "*.*"}});
    request.ViewCommand = kThumbnailView;
    // The box's change handling takes the chosen name into the model.
    if (ShowFileDialog(frame_, request, path)) SetText(Control(IDC_TXSOUNDFILE), path);
    DisplayMP3Info();
}

void SettingsDialog::DisplayMP3Info() {
    HWND box = Control(IDC_TXSOUNDFILE);
    HWND info = Control(IDC_LABELMP3);
    if (box == nullptr || info == nullptr) return;
    const std::string file = WindowText(box);
    if (file == lastDisplayedSoundFile_) return;
    lastDisplayedSoundFile_ = file;
    const uint32_t measurement = ++soundMeasurement_;  // an earlier file's length is no longer wanted
    if (TrimBlanks(file).empty()) {
        SetText(info, "");
        return;
    }
    soundIsMp3_ = IsMp3Name(file);
    soundTag_.reset();
    if (soundIsMp3_ && music_.ReadTag) soundTag_ = music_.ReadTag(file);
    // Until the device has measured the file, the box shows the length of one it cannot open.
    OnSoundMeasured(measurement, 0);
    if (music_.Player == nullptr) return;
    // The device has one alias: a preview still holding it would make the open fail.
    StopSoundPreview();
    music_.Player->MeasureSoundLength(file, [frame = frame_, measurement](int32_t length) {
        PostMessageW(frame, kSoundMeasured, measurement, length);
    });
}

void SettingsDialog::OnSoundMeasured(uint32_t measurement, int32_t length) {
    if (measurement != soundMeasurement_) return;
    SetText(Control(IDC_LABELMP3), SoundInfoText(context_.Texts, length, soundIsMp3_, soundTag_, UserDecimalSeparator()));
}

void SettingsDialog::OnPlay() {
    if (previewingSound_) {
        StopSoundPreview();
        return;
    }
    if (music_.Player == nullptr) return;
    DisplayMP3Info();
    previewingSound_ = true;
    ShowPlayCaption();
    // A play that fails shows at the first tick, when the device does not report "playing".
    music_.Player->PlayBackgroundSound(WindowText(Control(IDC_TXSOUNDFILE)), false);
    SetTimer(frame_, kSoundTimer, kSoundTimerInterval, nullptr);
}

void SettingsDialog::OnSoundTimer() {
    if (!previewingSound_ || music_.Player == nullptr) {
        KillTimer(frame_, kSoundTimer);
        return;
    }
    const int32_t length = music_.Player->GetSoundLength();
    const int32_t position = music_.Player->GetSoundPosition();
    const std::optional<std::string> mode = music_.Player->GetSoundMode();
    // A device still busy with the file has not answered: the preview goes on, as shown, until
    // the device answers or the user stops it.
    if (!mode) return;
    if (*mode != "playing") {
        StopSoundPreview();
        return;
    }
    ShowSoundProgress(length, position);
}

void SettingsDialog::StopSoundPreview() {
    if (!previewingSound_) return;
    previewingSound_ = false;
    if (frame_ != nullptr) KillTimer(frame_, kSoundTimer);
    if (music_.Player != nullptr) music_.Player->StopBackgroundSound();
    ShowPlayCaption();
    ShowSoundProgress(0, 0);
}

void SettingsDialog::ShowPlayCaption() {
    SetText(Control(IDC_CMDBTNPLAY), context_.Texts.GetLangString(previewingSound_ ? TextId::Stop : TextId::Play));
}

void SettingsDialog::ShowSoundProgress(int32_t length, int32_t position) {
    HWND outline = Control(IDC_SNDPROGRESS);
    HWND bar = Control(IDC_SNDPROGRESSBAR);
    if (outline == nullptr || bar == nullptr) return;
    // The bar fills the inside of the outline, never its border.
    RECT inside = PlaceOf(outline);
    InflateRect(&inside, -1, -1);
    const int width = ProgressBarWidth(inside.right - inside.left, length, position);
    SetWindowPos(bar, nullptr, inside.left, inside.top, width, inside.bottom - inside.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (width > 0 ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    SetText(Control(IDC_LABELSNDPROGRESS), length == 0 ? "" : SecondsText(position, UserDecimalSeparator(), false) + "s");
}

}  // namespace lurvane::win32
