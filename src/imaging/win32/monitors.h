// Where the monitors are: the system's list in the program, a list of our own in tests.
#pragma once

#include <vector>

#include "imaging/monitor_layout.h"

namespace lurvane::win32 {

class MonitorList {
public:
    virtual ~MonitorList() = default;
    virtual std::vector<MonitorArea> Monitors() const = 0;
};

class SystemMonitors final : public MonitorList {
public:
    std::vector<MonitorArea> Monitors() const override;
};

}  // namespace lurvane::win32
