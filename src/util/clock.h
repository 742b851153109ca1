// The time of day as the program reads it. The core never asks the system: whoever needs the
// time is handed a clock, so tests can drive it.
#pragma once

namespace lurvane {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since local midnight, with fraction.
    virtual double SecondsSinceMidnight() const = 0;
};

}  // namespace lurvane
