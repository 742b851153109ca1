// The preview in one process: host window and saver together, so that the frames can be read
// from the screen (Wine shows no GDI drawing of a child window owned by another process).
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "saver/win32/saver_run.h"
#include "settings/memory_settings_store.h"
#include "startup/win32/startup.h"
#include "util/memory_file_system.h"
#include "util/win32/system_clock.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

std::vector<uint32_t> ScreenPixels(const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// A striped picture as a 24-bit BMP, so that every row shift shows.
std::wstring WriteStripedPicture() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"lurvane-preview-stripes.bmp";
    const int width = 320, height = 240, rowBytes = width * 3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes * height);
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bytes.append((y / 4) % 2 ? "\x40\x80\xC0" : "\x60\x40\x20", 3);
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
    return path;
}

TEST(Preview, RendersAtTwentyFramesPerSecondInsideTheHostAndEndsWithIt) {
    const std::wstring picture = WriteStripedPicture();
    MemorySettingsStore settings;
    settings.Write("BackgroundImage", Narrow(picture));
    settings.Write("PathPoints", "0,0;4800,0;4800,3540;0,3540");
    settings.Write("WaveAmp", "10");
    settings.Write("Framerate", "80");  // the preview runs at 20 whatever is stored
    settings.Write("RestartSec", "0");

    WNDCLASSW hostClass{};
    hostClass.lpfnWndProc = DefWindowProcW;
    hostClass.hInstance = GetModuleHandleW(nullptr);
    hostClass.lpszClassName = L"LurvaneTestPreviewHost";
    RegisterClassW(&hostClass);
    RECT frame{0, 0, 152, 112};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND host = CreateWindowW(L"LurvaneTestPreviewHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    RECT client{};
    GetClientRect(host, &client);
    MapWindowPoints(host, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);

    std::atomic<int> changes{0};
    std::atomic<bool> childFits{false};
    std::atomic<ULONGLONG> closedAt{0};
    std::thread watcher([&] {
        Sleep(800);
        HWND child = FindWindowExW(host, nullptr, nullptr, kSaverWindowTitle);
        RECT rect{};
        if (child != nullptr && GetWindowRect(child, &rect))
            childFits = rect.left == client.left && rect.top == client.top && rect.right == client.right &&
                        rect.bottom == client.bottom;
        std::vector<uint32_t> last = ScreenPixels(client);
        for (ULONGLONG end = GetTickCount64() + 2000; GetTickCount64() < end; Sleep(2)) {
            std::vector<uint32_t> now = ScreenPixels(client);
            if (now != last) ++changes;
            last.swap(now);
        }
        closedAt = GetTickCount64();
        PostMessageW(host, WM_CLOSE, 0, 0);
    });

    MemoryFileSystem files;
    Language texts;
    SystemClock clock;
    GdiPlus pictures;
    SaverRun run(ProgramContext{settings, files, texts, Trace(), clock, pictures});
    StartPreview(run, static_cast<long long>(reinterpret_cast<uintptr_t>(host)), Trace());
    const ULONGLONG endedAt = GetTickCount64();
    watcher.join();

    EXPECT_TRUE(childFits.load());
    EXPECT_NEAR(changes.load(), 40, 4) << "frames seen in two seconds";
    EXPECT_LT(endedAt - closedAt.load(), 500u) << "the preview ends when its host goes";
    EXPECT_FALSE(IsWindow(host));
    DeleteFileW(picture.c_str());
}

}  // namespace
}  // namespace lurvane::win32
