// The one message loop of the program and the message pump that longer work calls.
#pragma once

#include <functional>

#include "util/win32/animation_timer.h"

namespace lurvane::win32 {

// Runs until WM_QUIT, calling onFrame whenever the timer is due; returns the quit code.
int RunMessageLoop(AnimationTimer& timer, const std::function<void()>& onFrame);

// Lets pending window messages run once. A WM_QUIT seen here is posted again for the loop.
void PumpPendingMessages();

}  // namespace lurvane::win32
