#include "saver/win32/saver_session.h"

#include "util/win32/message_loop.h"

namespace lurvane::win32 {

SaverSession::SaverSession(const ProgramContext& context, const MonitorList& monitors)
    : context_(context),
      monitors_(PlanMonitors(monitors.Monitors(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN))) {}

SaverSession::SaverSession(const ProgramContext& context, const MonitorList& monitors, BackgroundMusic& music)
    : SaverSession(context, monitors) {
    music_ = &music;
}

bool SaverSession::Load() {
    const bool several = monitors_.size() > 1;
    for (const MonitorArea& monitor : monitors_) {
        auto run = monitor.Primary && music_ != nullptr ? std::make_unique<SaverRun>(context_, *music_)
                                                        : std::make_unique<SaverRun>(context_);
        if (!run->Form().Load()) {
            if (monitor.Primary) return false;
            continue;  // a monitor without its window shows the desktop, the others still run
        }
        if (several) {
            run->SetMonitor(monitor);
            run->Form().ShowFullScreen(
                RECT{monitor.Left, monitor.Top, monitor.Left + monitor.Width, monitor.Top + monitor.Height});
        } else {
            run->Form().ShowFullScreen();  // exactly as a single screen always had it
        }
        runs_.push_back(std::move(run));
    }
    return !runs_.empty();
}

void SaverSession::Start(bool startedManually) {
    runs_.front()->EnterFullScreen();
    for (const auto& run : runs_) run->StartScreenSaver(false, startedManually);
}

int SaverSession::Run() {
    std::vector<FrameSource> sources;
    for (const auto& run : runs_) {
        SaverRun* current = run.get();
        sources.push_back({&current->Timer(), [current] { current->OnAnimationTimer(); }});
    }
    const int exitCode = RunMessageLoop(sources);
    // One run has ended: the others end with it, and every monitor gets its desktop back.
    for (const auto& run : runs_) run->EndScreenSaver(true);
    runs_.clear();
    return exitCode;
}

}  // namespace lurvane::win32
