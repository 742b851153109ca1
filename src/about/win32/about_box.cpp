#include "about/win32/about_box.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <string_view>

#include "about/maker_links.h"
#include "about/update_address.h"
#include "about/win32/about_controls.h"
#include "about/win32/registry_value.h"
#include "resource.h"
#include "util/version.h"
#include "util/win32/dialog_template.h"
#include "util/win32/dpi.h"
#include "util/win32/handles.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

namespace id = about_control;

constexpr int kTitlePoints = 14;
constexpr int kIconPixels = 32;  // at 96 DPI

struct AboutLink {
    WORD Control;
    std::string_view Shown;
};

constexpr AboutLink kLinks[] = {
    {id::kWebLink, kMakerWebPage},
    {id::kMailLink, kMakerMailAddress},
    {id::kDonationLink, kMakerMailAddress},  // the donation service knows the maker by this address
    {id::kGraphicsLink, kGraphicsSourcePage},
};

std::string LinkAddress(WORD control) {
    switch (control) {
    case id::kWebLink:
        return std::string(kMakerWebPage);
    case id::kMailLink:
        return MailLink(kMakerMailAddress, kProductName);
    case id::kDonationLink:
        return std::string(kDonationPage);
    case id::kGraphicsLink:
        return std::string(kGraphicsSourcePage);
    default:
        return {};
    }
}

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsLink(WORD control) {
    for (const AboutLink& link : kLinks)
        if (link.Control == control) return true;
    return false;
}

DialogTemplate AboutBoxTemplate() {
    constexpr DWORD kText = SS_LEFT | SS_NOPREFIX;
    DialogTemplate layout(L"Lurvane - Info", DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 262, 213);
    layout.Add({L"Static", L"", id::kIcon, SS_ICON | SS_CENTERIMAGE, 7, 7, 24, 24});
    layout.Add({L"Static", L"", id::kTitle, kText, 38, 6, 217, 14});
    layout.Add({L"Static", L"", id::kVersion, kText, 38, 21, 217, 8});
    layout.Add({L"Static", L"", id::kDescription, kText, 38, 31, 217, 8});
    layout.Add({L"Static", L"", id::kFreewareNotice, kText, 7, 46, 248, 17});
    layout.Add({L"Static", L"", id::kDisclaimer, kText, 7, 65, 248, 25});
    layout.Add({L"Static", L"", id::kTranslations, kText, 7, 94, 120, 8});
    layout.Add({L"Static", Widen(kTranslatorName), id::kTranslatorName, kText, 130, 94, 125, 8});
    layout.Add({L"Static", L"", id::kItalianTranslation, kText, 7, 104, 120, 8});
    layout.Add({L"Static", Widen(kItalianTranslatorName), id::kItalianTranslatorName, kText, 130, 104, 125, 8});
    layout.Add({L"Button", L"", id::kLinkFrame, BS_GROUPBOX, 7, 115, 248, 67});

    // The links are buttons drawn as links: they take the focus and answer Space like any
    // button, and look the same with every version of the common controls.
    constexpr std::wstring_view kCaptions[] = {L"Internet:", L"Mail:", L"PayPal:", L""};
    constexpr WORD kCaptionIds[] = {id::kInternetCaption, id::kMailCaption, id::kDonationCaption, 0};
    for (std::size_t row = 0; row < std::size(kLinks); ++row) {
        const auto y = static_cast<short>(126 + 13 * row);
        if (!kCaptions[row].empty())
            layout.Add({L"Static", kCaptions[row], kCaptionIds[row], kText, 15, static_cast<short>(y + 2), 40, 8});
        layout.Add({L"Button", Widen(kLinks[row].Shown), kLinks[row].Control, BS_OWNERDRAW | WS_TABSTOP, 56, y, 192, 12});
    }

    layout.Add({L"Button", L"&System Info...", id::kSystemInfo, BS_PUSHBUTTON | WS_TABSTOP, 7, 192, 70, 14});
    layout.Add({L"Button", L"OK", id::kOk, BS_DEFPUSHBUTTON | WS_TABSTOP, 185, 192, 70, 14});
    return layout;
}

int Luminance(COLORREF colour) {
    return (299 * GetRValue(colour) + 587 * GetGValue(colour) + 114 * GetBValue(colour)) / 1000;
}

// The system's colour for links, unless a theme makes it hard to read on the box's face (some
// set it to a light grey); then the usual link blue.
COLORREF LinkColour() {
    const COLORREF link = GetSysColor(COLOR_HOTLIGHT);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    constexpr int kLeastContrast = 80;
    return std::abs(Luminance(link) - Luminance(face)) >= kLeastContrast ? link : RGB(0, 102, 204);
}

// Room around a link's text for its focus rectangle, in pixels at 96 DPI.
constexpr int kLinkPadding = 2;

class AboutBox {
public:
    AboutBox(const ProgramContext& context, const AboutBoxActions& actions) : context_(context), actions_(actions) {}
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    void Show(HWND owner) {
        const DialogTemplate layout = AboutBoxTemplate();
        const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.Get(), owner, &AboutBox::DialogProc,
                                                       reinterpret_cast<LPARAM>(this));
        if (result == -1) context_.Tracer.TraceQuietly("About box could not be shown");
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) SetWindowLongPtrW(window, DWLP_USER, lParam);
        auto* self = reinterpret_cast<AboutBox*>(GetWindowLongPtrW(window, DWLP_USER));
        if (self == nullptr) return FALSE;
        // Nothing may unwind through the system's dialog code; a failed step leaves the box open.
        try {
            if (message == WM_INITDIALOG) self->window_ = window;
            return self->HandleMessage(message, wParam, lParam);
        } catch (const std::exception& failure) {
            self->context_.Tracer.TraceQuietly(std::string("About box: ") + failure.what());
            return FALSE;
        }
    }

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return FALSE;  // the focus is set
        case WM_DPICHANGED:
            ApplyDpi(HIWORD(wParam));
            return FALSE;  // the dialog manager moves and rescales the box
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (!IsLink(static_cast<WORD>(item.CtlID))) return FALSE;
            DrawLink(item);
            return TRUE;
        }
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wParam))) {
                SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
        }
    }

    void OnInitDialog() {
        SetText(id::kVersion, "Version " + ProgramVersion().Text());
        SetText(id::kTitle, kProductName);
        ChangeLanguage();
        for (const AboutLink& link : kLinks) FitLinkToText(GetDlgItem(window_, link.Control));
        KeepOwnTitleFont();
        ApplyDpi(WindowDpi(window_));
        CenterOverOwner();
        SetFocus(GetDlgItem(window_, id::kOk));
    }

    // Over the settings dialog that asked for it, but wholly on that dialog's screen.
    void CenterOverOwner() const {
        const HWND owner = GetWindow(window_, GW_OWNER);
        if (owner == nullptr || IsIconic(owner) || !IsWindowVisible(owner)) return;
        RECT ownerRect{}, boxRect{};
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (!GetWindowRect(owner, &ownerRect) || !GetWindowRect(window_, &boxRect) ||
            !GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor))
            return;
        const RECT& work = monitor.rcWork;
        const int width = boxRect.right - boxRect.left;
        const int height = boxRect.bottom - boxRect.top;
        const auto place = [](int size, int ownerStart, int ownerEnd, int workStart, int workEnd) {
            const int centred = ownerStart + (ownerEnd - ownerStart - size) / 2;
            return std::max(workStart, std::min(centred, workEnd - size));
        };
        SetWindowPos(window_, nullptr, place(width, ownerRect.left, ownerRect.right, work.left, work.right),
                     place(height, ownerRect.top, ownerRect.bottom, work.top, work.bottom), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void ChangeLanguage() {
        const Language& texts = context_.Texts;
        SetText(id::kDescription, texts.GetLangString(TextId::AboutDescription));
        SetText(id::kFreewareNotice, texts.GetLangString(TextId::FreewareNotice));
        SetText(id::kDisclaimer, texts.GetLangString(TextId::Disclaimer));
        SetText(id::kItalianTranslation, texts.GetLangString(TextId::ItalianTranslation));
        SetText(id::kTranslations, texts.GetLangString(TextId::Translations));
    }

    // The title's font is sized here for each DPI; the system's own rescaling of dialog fonts
    // (from Windows 10 1703 on) would scale it a second time.
    void KeepOwnTitleFont() {
        using SetBehaviour = BOOL(WINAPI*)(HWND, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS);
        const auto set = reinterpret_cast<SetBehaviour>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogControlDpiChangeBehavior")));
        if (set != nullptr) set(GetDlgItem(window_, id::kTitle), DCDC_DISABLE_FONT_UPDATE, DCDC_DISABLE_FONT_UPDATE);
    }

    void ApplyDpi(UINT dpi) {
        LOGFONTW font{};
        const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
        if (dialogFont == nullptr || GetObjectW(dialogFont, sizeof font, &font) == 0)
            SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0);
        font.lfHeight = -MulDiv(kTitlePoints, static_cast<int>(dpi), 72);
        font.lfWidth = 0;
        font.lfWeight = FW_BOLD;
        if (GdiObject titleFont(CreateFontIndirectW(&font)); titleFont) {
            SendMessageW(GetDlgItem(window_, id::kTitle), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont.get()), TRUE);
            titleFont_ = std::move(titleFont);
        }

        const int size = ScaleForDpi(kIconPixels, dpi);
        Icon icon(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_LURVANE), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
        const HICON shown = icon ? icon.get() : LoadIconW(nullptr, IDI_APPLICATION);
        SendMessageW(GetDlgItem(window_, id::kIcon), STM_SETICON, reinterpret_cast<WPARAM>(shown), 0);
        icon_ = std::move(icon);
    }

    // A link is only as wide as its text, so a click beside the text opens nothing.
    void FitLinkToText(HWND link) const {
        const std::wstring text = TextOf(link);
        RECT place{};
        GetWindowRect(link, &place);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
        WindowDc dc(link);
        if (!dc) return;
        const SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(link, WM_GETFONT, 0, 0)));
        RECT needed{};
        DrawTextW(dc.get(), text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        // Measured extents can fall a few pixels short of the drawn text (Wine's do for some
        // letters), and a link must never be cut off.
        const int width = needed.right + needed.right / 8 + 2 * ScaleForDpi(kLinkPadding, WindowDpi(window_));
        if (width < place.right - place.left)
            SetWindowPos(link, nullptr, 0, 0, width, place.bottom - place.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // In the system's link colour, underlined while the mouse is over it, with a focus
    // rectangle when the keyboard has taken it there.
    void DrawLink(const DRAWITEMSTRUCT& item) const {
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        const auto font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
        GdiObject underlined;
        LOGFONTW shape{};
        if (item.hwndItem == hoveredLink_ && font != nullptr && GetObjectW(font, sizeof shape, &shape) != 0) {
            shape.lfUnderline = TRUE;
            underlined.reset(CreateFontIndirectW(&shape));
        }
        const SelectedObject selected(item.hDC, underlined ? underlined.get() : static_cast<HGDIOBJ>(font));
        const int oldMode = SetBkMode(item.hDC, TRANSPARENT);
        const COLORREF oldColour = SetTextColor(item.hDC, (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT) : LinkColour());
        RECT text = item.rcItem;
        InflateRect(&text, -ScaleForDpi(kLinkPadding, WindowDpi(window_)), 0);
        const std::wstring caption = TextOf(item.hwndItem);
        DrawTextW(item.hDC, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        SetTextColor(item.hDC, oldColour);
        SetBkMode(item.hDC, oldMode);
        if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(item.hDC, &item.rcItem);
    }

    // The dialog hears of the cursor over each of its controls first: over a link it shows the
    // hand and underlines that link; anywhere else in the box the underline goes.
    bool OnSetCursor(HWND under) {
        const bool overLink = under != nullptr && GetParent(under) == window_ && IsLink(static_cast<WORD>(GetDlgCtrlID(under)));
        const HWND hovered = overLink ? under : nullptr;
        if (hovered != hoveredLink_) {
            if (hoveredLink_ != nullptr) InvalidateRect(hoveredLink_, nullptr, TRUE);
            if (hovered != nullptr) InvalidateRect(hovered, nullptr, TRUE);
            hoveredLink_ = hovered;
        }
        if (overLink) SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return overLink;
    }

    void OnCommand(WORD control, WORD code) {
        if (control == IDOK || control == IDCANCEL) {
            EndDialog(window_, control);
        } else if (control == id::kSystemInfo && code == BN_CLICKED) {
            StartSysInfo();
        } else if (IsLink(control) && code == BN_CLICKED) {
            OpenLink(control);
        }
    }

    void OpenLink(WORD control) const {
        if (actions_.OpenLink) actions_.OpenLink(window_, LinkAddress(control));
    }

    void StartSysInfo() const {
        const MachineValueReader read =
            actions_.ReadMachineValue ? actions_.ReadMachineValue : MachineValueReader(ReadLocalMachineValue);
        for (const std::string& program : SystemInformationPrograms(read, context_.Files))
            if (actions_.StartProgram && actions_.StartProgram(window_, program)) return;
        const std::wstring text = Widen(context_.Texts.GetLangString(TextId::SystemInformationUnavailable));
        MessageBoxW(window_, text.c_str(), Widen(kProductName).c_str(), MB_OK | MB_ICONWARNING);
    }

    void SetText(WORD control, std::string_view text) const {
        SetDlgItemTextW(window_, control, Widen(text).c_str());
    }

    const ProgramContext& context_;
    const AboutBoxActions& actions_;
    HWND window_ = nullptr;
    HWND hoveredLink_ = nullptr;
    GdiObject titleFont_;  // outlives the box's controls, which hold it while they exist
    Icon icon_;
};

}  // namespace

void OpenWithShell(HWND owner, const std::string& address) {
    ShellExecuteW(owner, L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool StartWithShell(HWND, const std::string& path) {
    const std::wstring program = Widen(path);
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    // Only a program is started: a registry value that names a document opens nothing.
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return false;
    const KernelHandle process(started.hProcess);
    const KernelHandle thread(started.hThread);
    return true;
}

void ShowAboutBox(HWND owner, const ProgramContext& context, const AboutBoxActions& actions) {
    AboutBox box(context, actions);
    box.Show(owner);
}

void OpenUpdatePage(const ProgramContext& context, HWND owner, const LinkOpener& openLink) {
    if (openLink) openLink(owner, UpdateAddress(context.Texts.GetLanguage(), ProgramVersion()));
}

}  // namespace lurvane::win32
