// A full-screen start: one run on every monitor, driven by one message loop. The primary
// monitor's run is the one a single-monitor system has; input on any monitor ends them all.
#pragma once

#include <memory>
#include <vector>

#include "imaging/win32/monitors.h"
#include "program/win32/program_context.h"
#include "saver/win32/saver_run.h"

namespace lurvane::win32 {

class SaverSession {
public:
    // The primary monitor's run plays `music`; without it every run is silent.
    SaverSession(const ProgramContext& context, const MonitorList& monitors);
    SaverSession(const ProgramContext& context, const MonitorList& monitors, BackgroundMusic& music);

    // Loads and shows a window on every monitor; false when the primary's cannot be made.
    bool Load();
    void Start(bool startedManually);
    // Runs until one of the runs ends; the others end with it and every window goes.
    int Run();

private:
    const ProgramContext context_;
    BackgroundMusic* music_ = nullptr;
    std::vector<MonitorArea> monitors_;
    std::vector<std::unique_ptr<SaverRun>> runs_;
};

}  // namespace lurvane::win32
