#include "util/win32/message_loop.h"

#include <windows.h>

#include <algorithm>

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

int RunMessageLoop(std::span<const FrameSource> sources) {
    int exitCode = 0;
    while (true) {
        DWORD wait = INFINITE;
        for (const FrameSource& source : sources) wait = std::min(wait, source.Timer->MillisecondsUntilDue());
        // A wait that ran out found no message to dispatch (under Wine, looking costs a trip to
        // its server); a frame lets those that come meanwhile run.
        const DWORD woke = MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke != WAIT_TIMEOUT && !DispatchPendingMessages(exitCode)) return exitCode;
        for (const FrameSource& source : sources)
            if (source.Timer->TakeDue()) source.OnFrame();
    }
}

int RunMessageLoop(AnimationTimer& timer, const std::function<void()>& onFrame) {
    const FrameSource source{&timer, onFrame};
    return RunMessageLoop(std::span(&source, 1));
}

void PumpPendingMessages() {
    int exitCode = 0;
    if (!DispatchPendingMessages(exitCode)) PostQuitMessage(exitCode);
}

}  // namespace lurvane::win32
