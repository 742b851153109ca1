#include <windows.h>

#include <stdexcept>
#include <string>

#include <system_error>

#include "saver/win32/saver_run.h"
#include "startup/win32/startup.h"
#include "util/text_rules.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

std::string Decimal(long long value) { return std::to_string(value); }

// The error's description, a line break and its number (0 for an error that carries none).
std::wstring PreviewErrorText(const std::exception& error) {
    const auto* numbered = dynamic_cast<const std::system_error*>(&error);
    return Widen(error.what()) + L"\n" + std::to_wstring(numbered != nullptr ? numbered->code().value() : 0);
}

}  // namespace

// Embeds the saver window in the host's preview window and runs it there until the host goes.
int StartPreview(SaverRun& run, long long hostHandle, const Trace& trace) {
    MainForm& form = run.Form();
    try {
        trace.WriteTrace("StartPreview hThumb: " + Decimal(hostHandle));
        trace.WriteTrace("frm.Name: MainForm");
        // The check comes before this instance's own window exists, or it would find itself.
        if (AnotherSaverIsRunning(trace)) return 0;
        // Handles of windows fit 32 bits even in 64-bit processes; sign-extend as Windows does.
        HWND host = reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(hostHandle)));
        if (!form.Load(IsWindow(host) ? host : nullptr)) return 1;
        RECT preview{};
        GetClientRect(host, &preview);
        trace.WriteTrace("GetClientRect left: " + Decimal(preview.left) + "top: " + Decimal(preview.top) + "right " +
                   Decimal(preview.right) + "bottom: " + Decimal(preview.bottom));

        HWND window = form.Window();
        // A child must not keep the pop-up style: Windows refuses to treat such a window as a child.
        LONG style = GetWindowLongW(window, GWL_STYLE);
        LONG previousStyle = SetWindowLongW(window, GWL_STYLE, (style & ~static_cast<LONG>(WS_POPUP)) | WS_CHILD);
        trace.WriteTrace("SetParent: " + Decimal(previousStyle));
        HWND previousParent = SetParent(window, host);
        trace.WriteTrace("SetParent: " + Decimal(reinterpret_cast<intptr_t>(previousParent)) + "Err: 0");
        LONG_PTR previousOwner = SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(host));
        trace.WriteTrace("SetWindowLong: " + Decimal(previousOwner) + "Err: 0");
        BOOL placed = SetWindowPos(window, nullptr, 0, 0, preview.right, preview.bottom, SWP_SHOWWINDOW);
        trace.WriteTrace("SetWindowPos: " + Decimal(placed ? 1 : 0) + "Err: 0");
        run.StartScreenSaver(true, false);
    } catch (const std::exception& error) {
        MessageBoxW(nullptr, PreviewErrorText(error).c_str(), L"Lurvane", MB_OK | MB_ICONEXCLAMATION);
        form.Unload();
        return 0;
    }
    return run.Run();
}

}  // namespace lurvane::win32
