// Holds one invisible window for the length of a test session. Wine's virtual desktop closes
// a few seconds after its last window goes; every following program would then start it anew
// and, inheriting that program's output pipe, make ctest wait for it to linger out.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Lurvane test desktop keeper", WS_POPUP, 0, 0, 1, 1, nullptr,
                    nullptr, nullptr, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
