// The settings dialog's own message loop while it runs modally: Ctrl+Tab turns the pages, and
// Ctrl+Z and Ctrl+Y reach the path's history from anywhere but a text box.
#include "dialog/win32/settings_dialog.h"

#include <commctrl.h>

#include "resource.h"

namespace lurvane::win32 {

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
        if (OnUndoKey(message)) continue;
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

bool SettingsDialog::OnUndoKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || (message.wParam != 'Z' && message.wParam != 'Y') ||
        (GetKeyState(VK_CONTROL) & 0x8000) == 0 || !IsChild(frame_, message.hwnd))
        return false;
    wchar_t className[16] = {};
    GetClassNameW(message.hwnd, className, 16);
    if (lstrcmpiW(className, L"Edit") == 0) return false;  // a text box undoes its own typing
    return pathPage_.OnUndoKey(static_cast<UINT>(message.wParam));
}

}  // namespace lurvane::win32
