#include <windows.h>

#include <stdexcept>
#include <string>

#include "saver/win32/main_form.h"
#include "util/trace.h"
#include "startup/win32/startup.h"
#include "util/text_rules.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

std::string Decimal(long long value) { return std::to_string(value); }

}  // namespace

// Embeds the saver window in the host's preview window and runs it there until the host goes.
int StartPreview(MainForm& form, long long hostHandle) {
    try {
        WriteTrace("StartPreview hThumb: " + Decimal(hostHandle));
        WriteTrace("frm.Name: MainForm");
        // The check comes before this instance's own window exists, or it would find itself.
        if (AnotherSaverIsRunning()) return 0;
        // Handles of windows fit 32 bits even in 64-bit processes; sign-extend as Windows does.
        HWND host = reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(hostHandle)));
        if (!form.Load(IsWindow(host) ? host : nullptr)) return 1;
        RECT preview{};
        GetClientRect(host, &preview);
        WriteTrace("GetClientRect left: " + Decimal(preview.left) + "top: " + Decimal(preview.top) + "right " +
                   Decimal(preview.right) + "bottom: " + Decimal(preview.bottom));

        HWND window = form.Window();
        // A child must not keep the pop-up style: Windows refuses to treat such a window as a child.
        LONG style = GetWindowLongW(window, GWL_STYLE);
        LONG previousStyle = SetWindowLongW(window, GWL_STYLE, (style & ~static_cast<LONG>(WS_POPUP)) | WS_CHILD);
        WriteTrace("SetParent: " + Decimal(previousStyle));
        HWND previousParent = SetParent(window, host);
        WriteTrace("SetParent: " + Decimal(reinterpret_cast<intptr_t>(previousParent)) + "Err: 0");
        LONG_PTR previousOwner = SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(host));
        WriteTrace("SetWindowLong: " + Decimal(previousOwner) + "Err: 0");
        BOOL placed = SetWindowPos(window, nullptr, 0, 0, preview.right, preview.bottom, SWP_SHOWWINDOW);
        WriteTrace("SetWindowPos: " + Decimal(placed ? 1 : 0) + "Err: 0");
        form.StartScreenSaver(true, false);
    } catch (const std::exception& error) {
        const std::wstring text = Widen(error.what()) + L"\n0";
        MessageBoxW(nullptr, text.c_str(), L"Lurvane", MB_OK | MB_ICONEXCLAMATION);
        form.Unload();
        return 0;
    }
    return form.Run();
}

}  // namespace lurvane::win32
