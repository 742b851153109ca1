#include "dialog/win32/settings_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "dialog/win32/dialog_controls.h"
#include "dialog/win32/dialog_tables.h"
#include "resource.h"
#include "settings/settings_store.h"
#include "util/win32/dpi.h"
#include "util/win32/handles.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

constexpr int kTipShowTime = 20000;

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

}  // namespace

SettingsDialog::SettingsDialog(const ProgramContext& context, DialogLinks links, MusicLinks music)
    : context_(context),
      links_(std::move(links)),
      pathPage_(*this, model_, context),
      generalPage_(*this, model_, context),
      soundPage_(*this, model_, context, std::move(music)) {}

SettingsDialog::~SettingsDialog() {
    soundPage_.StopSoundPreview();
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
            soundPage_.DisplayMP3Info();
        }
        return TRUE;
    }
    case WM_TIMER:
        if (wParam == kPreviewTimer) pathPage_.OnPreviewTimer();
        else if (wParam == kSoundTimer) soundPage_.OnSoundTimer();
        return TRUE;
    case kSoundMeasured:
        soundPage_.OnSoundMeasured(static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam));
        return TRUE;
    case kSoundTagRead:
        soundPage_.OnSoundTagRead(static_cast<uint32_t>(wParam));
        return TRUE;
    case WM_CLOSE:
        OnCancel();
        return TRUE;
    case WM_WINDOWPOSCHANGED:  // shown, hidden, minimised or restored
        PacePreview();
        return FALSE;
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
        if (lParam != 0) pathPage_.OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(generalPage_.BrushFor(reinterpret_cast<HWND>(lParam)));
    }
    return FALSE;
}

void SettingsDialog::OnInit() {
    gdiPlus_.emplace(context_.Pictures);
    if (!gdiPlus_->Started()) MessageBoxW(frame_, L"Error loading GDI+!", L"Lurvane", MB_OK | MB_ICONERROR);
    if (!MakePages() || !pathPage_.Create(pages_[0])) return;

    LoadSettings(model_, context_.Settings);
    SelectLanguage(model_.Number(SettingId::Language));
    ShowAllSettings();
    soundPage_.DisplayMP3Info();
    Layout();
    pathPage_.ShowZoom();
    pathPage_.SetPreviewInterval();
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

void SettingsDialog::Layout() {
    HWND tab = Control(IDC_SSTAB1);
    RECT area = PlaceOf(tab);
    TabCtrl_AdjustRect(tab, FALSE, &area);
    for (HWND page : pages_)
        SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    pathPage_.Layout(WindowDpi(frame_));
}

void SettingsDialog::ShowPage(int index) {
    for (int i = 0; i < 2; ++i) ShowWindow(pages_[static_cast<std::size_t>(i)], i == index ? SW_SHOW : SW_HIDE);
    PacePreview();
}

void SettingsDialog::PacePreview() {
    pathPage_.RunPreview(frame_ != nullptr && !finished_ && IsWindowVisible(frame_) && !IsIconic(frame_) &&
                         IsWindowVisible(pages_[0]));
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
        if (WindowText(control) != model_.Text(id)) RewriteText(control, model_.Text(id));
        break;
    case Holder::Colour:
        generalPage_.ShowColour();
        break;
    case Holder::Smoothing:
        pathPage_.ShowSmoothing();
        break;
    case Holder::Path:
        pathPage_.Render(true);
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

void SettingsDialog::RewriteText(HWND box, const std::string& text) {
    rewritingText_ = true;
    SetText(box, text);
    rewritingText_ = false;
}

void SettingsDialog::ShowAllSettings() {
    for (const Binding& binding : kBindings) ShowSetting(binding.Setting);
    UpdateEnabledStates();
}

void SettingsDialog::ShowLoadedProfile() {
    ShowAllSettings();
    pathPage_.SetPreviewInterval();
}

void SettingsDialog::UpdateEnabledStates() {
    generalPage_.UpdateEnabledStates();
    soundPage_.UpdateEnabledStates();
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
    pathPage_.ApplyLanguage();
    soundPage_.ShowPlayCaption();
    UpdateTooltips();
    soundPage_.DisplayMP3Info();
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

void SettingsDialog::OnCommand(int id, int code) {
    if (pathPage_.OnCommand(id, code) || generalPage_.OnCommand(id, code) || soundPage_.OnCommand(id, code)) return;
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
        if (links_.OpenUpdate) links_.OpenUpdate(frame_);
        return;
    case IDM_GERMAN:
    case IDM_ENGLISH:
    case IDM_ITALIAN:
        SelectLanguage(id - IDM_GERMAN + kGerman);
        return;
    }
}

void SettingsDialog::OnOk() {
    generalPage_.CommitNumberBoxes();
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
    soundPage_.StopSoundPreview();
    saved_ = saved;
    finished_ = true;
    PacePreview();
    ShowWindow(frame_, SW_HIDE);
}

int SettingsDialog::Ask(const std::string& text, UINT style) const {
    return MessageBoxW(frame_, Widen(text).c_str(), L"Lurvane", style);
}

}  // namespace lurvane::win32
