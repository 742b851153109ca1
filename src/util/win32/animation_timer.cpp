#include "util/win32/animation_timer.h"

#include <mmsystem.h>

namespace lurvane::win32 {

AnimationTimer::AnimationTimer() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    frequency_ = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
}

AnimationTimer::~AnimationTimer() { Stop(); }

int64_t AnimationTimer::Now() const {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

void AnimationTimer::Start(int intervalMilliseconds) {
    Stop();
    intervalMs_ = intervalMilliseconds > 0 ? intervalMilliseconds : 1;
    intervalTicks_ = frequency_ * intervalMs_ / 1000;
    if (intervalTicks_ <= 0) intervalTicks_ = 1;
    // Sleeps of the message loop wake within a millisecond only with the fine system period.
    finePeriod_ = timeBeginPeriod(1) == TIMERR_NOERROR;
    due_ = Now() + intervalTicks_;
    enabled_ = true;
}

void AnimationTimer::Stop() {
    if (finePeriod_) timeEndPeriod(1);
    finePeriod_ = false;
    enabled_ = false;
}

DWORD AnimationTimer::MillisecondsUntilDue() const {
    if (!enabled_) return INFINITE;
    const int64_t remaining = due_ - Now();
    if (remaining <= 0) return 0;
    // Rounded up: a loop woken before the frame is due would spin through the rest of the
    // millisecond, asking the timer again and again.
    return static_cast<DWORD>((remaining * 1000 + frequency_ - 1) / frequency_);
}

bool AnimationTimer::TakeDue() {
    if (!enabled_) return false;
    const int64_t now = Now();
    if (now < due_) return false;
    due_ += intervalTicks_;
    // After a long stall (a fade, a message box) start counting afresh instead of racing.
    if (due_ < now - intervalTicks_) due_ = now + intervalTicks_;
    return true;
}

}  // namespace lurvane::win32
