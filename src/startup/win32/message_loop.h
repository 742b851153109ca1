// The one message loop of the program and the message pump that longer work calls.
#pragma once

namespace lurvane::win32 {

}  // namespace lurvane::win32

#include "saver/win32/animation_timer.h"

namespace lurvane::win32 {

// Runs until WM_QUIT, calling onFrame whenever the timer is due.
template <typename OnFrame>
int RunMessageLoop(AnimationTimer& timer, OnFrame onFrame);

// Lets pending window messages run once. A WM_QUIT seen here is posted again for the loop.
void PumpPendingMessages();

// Sleeps until a message arrives or the timeout passes.
void WaitForMessageOrTimeout(unsigned long milliseconds);
// Dispatches queued messages; false once WM_QUIT has been taken.
bool DispatchPendingMessages(int& exitCode);

template <typename OnFrame>
int RunMessageLoop(AnimationTimer& timer, OnFrame onFrame) {
    int exitCode = 0;
    while (true) {
        WaitForMessageOrTimeout(timer.MillisecondsUntilDue());
        if (!DispatchPendingMessages(exitCode)) return exitCode;
        if (timer.TakeDue()) onFrame();
    }
}

}  // namespace lurvane::win32
