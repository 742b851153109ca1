// The one message loop of the program and the message pump that longer work calls.
#pragma once

#include <functional>
#include <span>

#include "util/win32/animation_timer.h"

namespace lurvane::win32 {

// A timer and what to do when it is due.
struct FrameSource {
    AnimationTimer* Timer;
    std::function<void()> OnFrame;
};

// Runs until WM_QUIT, calling a source's OnFrame whenever its timer is due; returns the quit
// code. Between frames it sleeps until a message arrives or the next timer is due.
int RunMessageLoop(std::span<const FrameSource> sources);
int RunMessageLoop(AnimationTimer& timer, const std::function<void()>& onFrame);

// Lets pending window messages run once. A WM_QUIT seen here is posted again for the loop.
void PumpPendingMessages();

}  // namespace lurvane::win32
