#include "util/win32/module_path.h"

#include <windows.h>

namespace lurvane::win32 {

std::wstring ModulePath() {
    // Paths may be longer than MAX_PATH; a full buffer means the path was cut, so try a larger one.
    std::wstring path(MAX_PATH, L'\0');
    while (path.size() < 65536) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return {};
}

}  // namespace lurvane::win32
