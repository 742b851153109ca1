// The system's local time of day.
#pragma once

#include "util/clock.h"

namespace lurvane::win32 {

class SystemClock final : public Clock {
public:
    double SecondsSinceMidnight() const override;
};

}  // namespace lurvane::win32
