// The monitors a full-screen run covers: each shows a run of its own, the primary one first.
#pragma once

#include <vector>

namespace lurvane {

struct MonitorArea {
    int Left = 0, Top = 0, Width = 0, Height = 0;  // in virtual-screen pixels
    bool Primary = false;
    friend bool operator==(const MonitorArea&, const MonitorArea&) = default;
};

// The monitors to cover, in the order their runs are made: the primary first, then the others
// as the system listed them. Monitors without pixels are left out, and so is a monitor that
// shows exactly what another one shows (mirrored displays). When nothing usable is left, or
// no monitor says it is the primary, the first usable one is taken as primary; an empty list
// gives one monitor of `fallback` size at the origin.
std::vector<MonitorArea> PlanMonitors(std::vector<MonitorArea> listed, int fallbackWidth, int fallbackHeight);

}  // namespace lurvane
