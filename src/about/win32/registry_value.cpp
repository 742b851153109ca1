#include "about/win32/registry_value.h"

#include <cstring>
#include <vector>

#include "util/win32/handles.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

std::wstring UpToFirstNul(const std::vector<BYTE>& data) {
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    if (const std::size_t end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
    return text;
}

std::optional<std::wstring> Expanded(const std::wstring& text) {
    std::wstring expanded(text.size() + 1, L'\0');
    // Expansion may still grow if the environment changes between the two calls; ask again then.
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (needed == 0) return std::nullopt;
        if (needed <= expanded.size()) {
            expanded.resize(needed - 1);
            return expanded;
        }
        expanded.assign(needed, L'\0');
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> GetKeyValue(HKEY root, std::string_view keyPath, std::string_view valueName) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, Widen(keyPath).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return std::nullopt;
    const RegistryKey key(opened);
    const std::wstring name = Widen(valueName);

    std::vector<BYTE> data;
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG status = ERROR_MORE_DATA;
    // The value may grow between the size query and the read; ask again then.
    for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
        if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
        data.assign(size, 0);
        status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.data(), &size);
    }
    if (status != ERROR_SUCCESS) return std::nullopt;
    data.resize(size);

    switch (type) {
    case REG_SZ:
        return Narrow(UpToFirstNul(data));
    case REG_EXPAND_SZ: {
        const auto expanded = Expanded(UpToFirstNul(data));
        if (!expanded) return std::nullopt;
        return Narrow(*expanded);
    }
    case REG_DWORD: {
        if (data.size() != sizeof(DWORD)) return std::nullopt;
        DWORD number = 0;
        for (std::size_t i = data.size(); i-- > 0;) number = (number << 8) | data[i];
        return std::to_string(number);
    }
    default:
        return std::nullopt;
    }
}

std::optional<std::string> ReadLocalMachineValue(std::string_view keyPath, std::string_view valueName) {
    return GetKeyValue(HKEY_LOCAL_MACHINE, keyPath, valueName);
}

}  // namespace lurvane::win32
