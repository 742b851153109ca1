// Files and stored settings that tests make: pictures, raw bytes, the saver's registry key.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_store.h"
#include "util/win32/handles.h"

namespace support {

// The whole file, or nothing when it cannot be opened.
inline std::string ReadBytes(const std::wstring& path) {
    HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return {};
    const lurvane::win32::KernelHandle file(opened);
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    // Read until the end: a /proc file tells no size.
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

inline bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

// Writes a 24-bit BMP of the given size whose pixel (x, y) is colour(x, y) (0x00RRGGBB).
template <typename Colour>
bool WriteBmp(const std::wstring& path, int width, int height, Colour colour) {
    const int rowBytes = (width * 3 + 3) & ~3;
    std::string bytes(54 + static_cast<size_t>(rowBytes) * height, '\0');
    auto put32 = [&bytes](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            const size_t at = 54 + static_cast<size_t>(height - 1 - y) * rowBytes + static_cast<size_t>(x) * 3;
            bytes[at] = static_cast<char>(c & 0xFF);
            bytes[at + 1] = static_cast<char>((c >> 8) & 0xFF);
            bytes[at + 2] = static_cast<char>((c >> 16) & 0xFF);
        }
    return WriteBytes(path, bytes);
}

// The program's settings key below HKEY_CURRENT_USER.
inline std::wstring SettingsSubKey() {
    constexpr std::string_view root = "HKEY_CURRENT_USER\\";
    const std::string_view path = lurvane::kSettingsKeyPath.substr(root.size());
    return std::wstring(path.begin(), path.end());
}

// Display scaling for the programs a test starts from now on (Wine reads it when a program
// starts); this test process sees screen pixels unscaled. Undone when the object goes.
class DisplayScaling {
public:
    explicit DisplayScaling(DWORD dpi) {
        SetProcessDPIAware();
        set_ = RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi) ==
               ERROR_SUCCESS;
    }
    DisplayScaling(const DisplayScaling&) = delete;
    DisplayScaling& operator=(const DisplayScaling&) = delete;
    ~DisplayScaling() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels"); }
    bool Set() const { return set_; }

private:
    static constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
    bool set_ = false;
};

}  // namespace support
