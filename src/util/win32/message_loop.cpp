#include "util/win32/message_loop.h"

#include <windows.h>

namespace lurvane::win32 {
namespace {

// Dispatches queued messages; false once WM_QUIT has been taken.
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

}  // namespace

int RunMessageLoop(AnimationTimer& timer, const std::function<void()>& onFrame) {
    int exitCode = 0;
    while (true) {
        // Sleeps until a message arrives or the next frame is due.
        MsgWaitForMultipleObjectsEx(0, nullptr, timer.MillisecondsUntilDue(), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (!DispatchPendingMessages(exitCode)) return exitCode;
        if (timer.TakeDue()) onFrame();
    }
}

void PumpPendingMessages() {
    int exitCode = 0;
    if (!DispatchPendingMessages(exitCode)) PostQuitMessage(exitCode);
}

}  // namespace lurvane::win32
