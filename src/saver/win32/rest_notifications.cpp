#include "saver/win32/rest_notifications.h"

#include <wtsapi32.h>

#include <cstring>
#include <utility>

namespace lurvane::win32 {
namespace {

// {6FE69556-704A-47A0-8F24-C28D936FDA47}: the console display's state, 0 off, 1 on, 2 dimmed.
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
    return module != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                             : nullptr;
}

}  // namespace

RestNotifications::RestNotifications(HWND window) : window_(window) {
    using RegisterPower = HPOWERNOTIFY(WINAPI*)(HANDLE, LPCGUID, DWORD);
    if (const auto registerPower =
            Lookup<RegisterPower>(GetModuleHandleW(L"user32.dll"), "RegisterPowerSettingNotification"))
        display_ = registerPower(window, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);

    using RegisterSession = BOOL(WINAPI*)(HWND, DWORD);
    Module sessions(LoadLibraryW(L"wtsapi32.dll"));
    const auto registerSession = Lookup<RegisterSession>(sessions.get(), "WTSRegisterSessionNotification");
    if (registerSession != nullptr && registerSession(window, NOTIFY_FOR_THIS_SESSION))
        sessionLibrary_ = std::move(sessions);
}

RestNotifications::~RestNotifications() {
    using UnregisterPower = BOOL(WINAPI*)(HPOWERNOTIFY);
    if (display_ != nullptr) {
        if (const auto unregisterPower =
                Lookup<UnregisterPower>(GetModuleHandleW(L"user32.dll"), "UnregisterPowerSettingNotification"))
            unregisterPower(display_);
    }
    using UnregisterSession = BOOL(WINAPI*)(HWND);
    if (const auto unregisterSession =
            Lookup<UnregisterSession>(sessionLibrary_.get(), "WTSUnRegisterSessionNotification"))
        unregisterSession(window_);
}

std::optional<bool> DisplayStateFromPowerMessage(WPARAM wParam, LPARAM lParam) {
    if (wParam != PBT_POWERSETTINGCHANGE || lParam == 0) return std::nullopt;
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
    if (!IsEqualGUID(setting->PowerSetting, kConsoleDisplayState) || setting->DataLength < sizeof(DWORD))
        return std::nullopt;
    DWORD state = 0;
    std::memcpy(&state, setting->Data, sizeof state);
    return state != 0;
}

std::optional<bool> SessionStateFromMessage(WPARAM wParam) {
    if (wParam == WTS_SESSION_LOCK) return false;
    if (wParam == WTS_SESSION_UNLOCK) return true;
    return std::nullopt;
}

}  // namespace lurvane::win32
