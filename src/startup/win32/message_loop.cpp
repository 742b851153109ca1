#include "startup/win32/message_loop.h"

#include <windows.h>

namespace lurvane::win32 {

void WaitForMessageOrTimeout(unsigned long milliseconds) {
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

bool DispatchPendingMessages(int& exitCode) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            exitCode = static_cast<int>(message.wParam);
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

void PumpPendingMessages() {
    int exitCode = 0;
    if (!DispatchPendingMessages(exitCode)) PostQuitMessage(exitCode);
}

}  // namespace lurvane::win32
