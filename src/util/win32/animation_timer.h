// The frame timer: due every interval milliseconds on the user-interface thread, with the
// precision of the performance counter rather than the 10-16 ms steps of SetTimer. The message
// loop sleeps until the next due time and asks the timer whether a frame is due.
#pragma once

#include <windows.h>

#include <cstdint>

namespace lurvane::win32 {

class AnimationTimer {
public:
    AnimationTimer();
    AnimationTimer(const AnimationTimer&) = delete;
    AnimationTimer& operator=(const AnimationTimer&) = delete;
    ~AnimationTimer();

    void Start(int intervalMilliseconds);
    void Stop();
    bool Enabled() const { return enabled_; }
    int Interval() const { return intervalMs_; }

    // Milliseconds the message loop may sleep before the next frame (INFINITE when stopped).
    DWORD MillisecondsUntilDue() const;
    // True when a frame is due now; the following one is then scheduled one interval later.
    bool TakeDue();

private:
    int64_t Now() const;

    int64_t frequency_ = 1;
    int64_t due_ = 0;
    int64_t intervalTicks_ = 0;
    int intervalMs_ = 0;
    bool enabled_ = false;
    bool finePeriod_ = false;
};

}  // namespace lurvane::win32
