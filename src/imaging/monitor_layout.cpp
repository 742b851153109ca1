#include "imaging/monitor_layout.h"

#include <algorithm>

namespace lurvane {

std::vector<MonitorArea> PlanMonitors(std::vector<MonitorArea> listed, int fallbackWidth, int fallbackHeight) {
    std::vector<MonitorArea> usable;
    for (const MonitorArea& monitor : listed) {
        if (monitor.Width <= 0 || monitor.Height <= 0) continue;
        const auto same = std::find_if(usable.begin(), usable.end(), [&monitor](const MonitorArea& kept) {
            return kept.Left == monitor.Left && kept.Top == monitor.Top && kept.Width == monitor.Width &&
                   kept.Height == monitor.Height;
        });
        if (same == usable.end()) usable.push_back(monitor);
        else same->Primary = same->Primary || monitor.Primary;
    }
    if (usable.empty()) return {MonitorArea{0, 0, fallbackWidth, fallbackHeight, true}};

    auto primary = std::find_if(usable.begin(), usable.end(), [](const MonitorArea& m) { return m.Primary; });
    if (primary == usable.end()) primary = usable.begin();
    std::rotate(usable.begin(), primary, primary + 1);
    for (std::size_t i = 0; i < usable.size(); ++i) usable[i].Primary = i == 0;
    return usable;
}

}  // namespace lurvane
