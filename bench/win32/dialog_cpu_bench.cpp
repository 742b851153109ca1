// The settings dialog's CPU use while it stands open: the real saver started with "/c" at
// 200 % scaling over a 4000 x 3000 picture with a 20-point path, at frame rates 20 and 60
// (stored in the registry before each start), measured at zoom 1 and, after six clicks on the
// zoom-in button, at zoom 4 over the picture's middle. Prints the process's CPU time over each
// span in % of one core; checks nothing. Run it through scripts/dialog-cpu-bench, which gives it
// a Wine session whose desktop holds the whole scaled dialog.
//
//   dialog_cpu_bench.exe SAVER [seconds per span, default 10]
//
// Under Wine, GetProcessTimes answers nothing for another process, so the times come from the
// Linux side, /proc/PID/stat of the Unix process that runs the saver, which also gives the
// wineserver's and, through LURVANE_XVFB_PID, the X server's share: drawing under Wine costs
// there too. On Windows GetProcessTimes serves.
#include <windows.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "e2e/dialog_driver.h"
#include "e2e/saver_driver.h"
#include "resource.h"
#include "win32/unix_process.h"
#include "util/win32/handles.h"

namespace {

using Clock = std::chrono::steady_clock;
using CpuClock = std::function<std::optional<double>()>;  // CPU seconds used so far

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

CpuClock UnixProcessClock(std::optional<std::wstring> folder) {
    if (!folder) return [] { return std::optional<double>(); };
    return [folder] { return support::UnixCpuSeconds(*folder); };
}

CpuClock WindowsProcessClock(DWORD processId) {
    auto process = std::make_shared<lurvane::win32::KernelHandle>(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return [process]() -> std::optional<double> {
        FILETIME created{}, ended{}, kernel{}, user{};
        if (!*process || !GetProcessTimes(process->get(), &created, &ended, &kernel, &user)) return std::nullopt;
        const auto seconds = [](FILETIME time) {
            return static_cast<double>(static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 1e7;
        };
        return seconds(kernel) + seconds(user);
    };
}

// Each clock's CPU use over `seconds` of wall time, in % of one core (negative when unknown).
std::vector<double> CpuPercent(const std::vector<CpuClock>& clocks, double seconds) {
    std::vector<std::optional<double>> before;
    for (const CpuClock& clock : clocks) before.push_back(clock());
    const auto start = Clock::now();
    for (const auto end = start + std::chrono::duration<double>(seconds); Clock::now() < end;) {
        e2e::PumpMessages();
        Sleep(50);
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    std::vector<double> shares;
    for (std::size_t i = 0; i < clocks.size(); ++i) {
        const std::optional<double> after = clocks[i]();
        shares.push_back(before[i] && after ? 100 * (*after - *before[i]) / wall : -1);
    }
    return shares;
}

// A click in the middle of the window, as the user gives it.
void Click(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    const POINT centre{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    e2e::MoveMouseTo(centre.x, centre.y);
    Sleep(100);
    e2e::SendMouseButton(MOUSEEVENTF_LEFTDOWN, centre);
    e2e::SendMouseButton(MOUSEEVENTF_LEFTUP, centre);
    Sleep(200);
    e2e::PumpMessages();
}

// Waits up to ten seconds; true when the condition came.
template <typename Condition>
bool WaitUntil(Condition condition) {
    for (ULONGLONG end = GetTickCount64() + 10000; GetTickCount64() < end; Sleep(50))
        if (condition()) return true;
    return condition();
}

std::string Figure(double percent) {
    if (percent < 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f %%", percent);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: dialog_cpu_bench SAVER [seconds per span]\n");
        return 2;
    }
    e2e::SetSaverPath(Widen(argv[1]));
    const double span = argc > 2 ? std::max(1.0, std::atof(argv[2])) : 10;
    support::DisplayScaling scaling(192);
    if (!scaling.Set()) {
        std::printf("LogPixels could not be set\n");
        return 1;
    }
    const std::wstring picture = e2e::TempFilePath(L"lurvane-dialog-cpu-bench.bmp");
    if (!e2e::WriteBmp(picture, 4000, 3000, [](int x, int y) {
            return static_cast<uint32_t>((x * 255 / 4000) << 16 | (y * 255 / 3000) << 8 |
                                         ((x / 100 + y / 100) % 2) * 200);
        })) {
        std::printf("the picture could not be written\n");
        return 1;
    }
    std::wstring path;
    for (int i = 0; i < 20; ++i) {
        const double angle = 2 * 3.14159265358979 * i / 20;
        path += (i ? L";" : L"") + std::to_wstring(std::lround(2400 + 1800 * std::cos(angle))) + L"," +
                std::to_wstring(std::lround(1770 + 1300 * std::sin(angle)));
    }
    const bool wine = support::UnderWine();
    const char* xvfb = std::getenv("LURVANE_XVFB_PID");
    std::optional<std::wstring> serverFolder;
    if (wine) serverFolder = support::FindUnixProcess("wineserver64");
    if (wine && !serverFolder) serverFolder = support::FindUnixProcess("wineserver");
    const CpuClock server = UnixProcessClock(serverFolder);
    const CpuClock display =
        UnixProcessClock(wine && xvfb ? std::optional<std::wstring>(L"Z:\\proc\\" + Widen(xvfb)) : std::nullopt);

    std::printf("dialog_cpu_bench: LogPixels 192, 4000 x 3000 picture, 20-point path, %.0f s per figure, %s\n", span,
                wine ? "times from /proc" : "times from GetProcessTimes");
    std::printf("%-10s %-6s %-12s %-14s %-12s %-10s\n", "frame rate", "zoom", "dialog size", "dialog process",
                "wineserver", "X server");
    int status = 0;
    for (const wchar_t* framerate : {L"20", L"60"}) {
        e2e::ClearStoredSettings();
        e2e::StoreSetting(L"Language", L"2");
        e2e::StoreSetting(L"BackgroundImage", picture);
        e2e::StoreSetting(L"PathPoints", path);
        e2e::StoreSetting(L"Framerate", framerate);
        e2e::SaverProcess saver(L"/c");
        HWND dialog = e2e::WaitForDialog(saver.Id(), L"Lurvane - settings");
        if (dialog == nullptr) {
            std::printf("the dialog did not show at frame rate %ls\n", framerate);
            status = 1;
            continue;
        }
        const CpuClock process =
            wine ? UnixProcessClock(support::FindUnixProcess("lurvane.scr")) : WindowsProcessClock(saver.Id());
        RECT size{};
        GetWindowRect(dialog, &size);
        char sizeText[32];
        std::snprintf(sizeText, sizeof sizeText, "%ldx%ld", size.right - size.left, size.bottom - size.top);
        SetForegroundWindow(dialog);
        HWND zoomIn = e2e::ControlOf(dialog, IDC_CMDBTNZOOMUP), label = e2e::ControlOf(dialog, IDC_LABELZOOMFACTOR);
        for (const wchar_t* zoom : {L"1x", L"4x"}) {
            if (std::wstring(zoom) == L"4x") {
                for (int step = 0; step < 6; ++step) Click(zoomIn);
                // Four steps along each scroll bar (of eight at zoom 4) show the picture's
                // middle, which the path's area fills.
                for (const auto& [id, message] :
                     {std::pair{IDC_HSCROLLPREVIEW, WM_HSCROLL}, std::pair{IDC_VSCROLLPREVIEW, WM_VSCROLL}}) {
                    HWND bar = e2e::ControlOf(dialog, id);
                    for (int step = 0; step < 4; ++step)
                        SendMessageW(GetParent(bar), message, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar));
                }
            }
            if (!WaitUntil([&] { return e2e::TextOf(label) == zoom; })) {
                std::printf("the zoom did not reach %ls (it shows %ls)\n", zoom, e2e::TextOf(label).c_str());
                status = 1;
                break;
            }
            // The pointer rests off the dialog, as it does while the user watches, and the
            // picture's redraw for the new zoom is over before the span starts.
            e2e::MoveMouseTo(0, 0);
            Sleep(2000);
            const std::vector<double> shares = CpuPercent({process, server, display}, span);
            std::printf("%-10ls %-6ls %-12s %-14s %-12s %-10s\n", framerate, zoom, sizeText, Figure(shares[0]).c_str(),
                        Figure(shares[1]).c_str(), Figure(shares[2]).c_str());
            std::fflush(stdout);
        }
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        if (!saver.WaitForExit(5000)) std::printf("the dialog did not close at frame rate %ls\n", framerate);
    }
    e2e::ClearStoredSettings();
    DeleteFileW(picture.c_str());
    return status;
}
