#include "settings/win32/registry_store.h"

#include <windows.h>

#include <vector>

#include "util/text_rules.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

// Query, set, create sub key, enumerate, notify, create link: what the settings key needs.
constexpr REGSAM kCreateAccess = 0x3F;

HKEY RootKey(std::string_view name) {
    if (EqualsIgnoringAsciiCase(name, "HKEY_CURRENT_USER")) return HKEY_CURRENT_USER;
    if (EqualsIgnoringAsciiCase(name, "HKEY_LOCAL_MACHINE")) return HKEY_LOCAL_MACHINE;
    if (EqualsIgnoringAsciiCase(name, "HKEY_CLASSES_ROOT")) return HKEY_CLASSES_ROOT;
    return nullptr;
}

RegistryKey OpenSubKey(HKEY parent, std::string_view name, bool create) {
    const std::wstring wideName = Widen(name);
    HKEY key = nullptr;
    LONG status = create ? RegCreateKeyExW(parent, wideName.c_str(), 0, nullptr, 0, kCreateAccess, nullptr, &key, nullptr)
                         : RegOpenKeyExW(parent, wideName.c_str(), 0, KEY_READ, &key);
    return RegistryKey(status == ERROR_SUCCESS ? key : nullptr);
}

}  // namespace

RegistryKey OpenRegistryPath(std::string_view path, bool create) {
    const std::size_t firstSeparator = path.find('\\');
    if (firstSeparator == std::string_view::npos) return {};
    const HKEY root = RootKey(path.substr(0, firstSeparator));
    if (root == nullptr) return {};

    // A handle of our own even for the root itself, so the caller may always close it.
    HKEY rootCopy = nullptr;
    if (RegOpenKeyExW(root, nullptr, 0, create ? kCreateAccess : KEY_READ, &rootCopy) != ERROR_SUCCESS) return {};
    RegistryKey current(rootCopy);
    std::string_view rest = path.substr(firstSeparator + 1);
    while (current && !rest.empty()) {
        const std::size_t separator = rest.find('\\');
        const std::string_view component = rest.substr(0, separator);
        rest = separator == std::string_view::npos ? std::string_view() : rest.substr(separator + 1);
        if (component.empty()) continue;
        current = OpenSubKey(current.get(), component, create);
    }
    return current;
}

std::string ReadRegistryString(std::string_view path, std::string_view valueName) {
    RegistryKey key = OpenRegistryPath(path, false);
    if (!key) return {};
    const std::wstring name = Widen(valueName);
    std::vector<wchar_t> buffer;
    DWORD type = 0;
    DWORD size = 0;
    LONG status = ERROR_MORE_DATA;
    // The value may grow between the size query and the read; ask again then.
    for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
        status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS) return {};
        buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    }
    // A number or binary data put there by hand is no text; it reads as missing.
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    return TextFromStoredData(Narrow(std::wstring_view(buffer.data(), size / sizeof(wchar_t))));
}

bool WriteRegistryString(std::string_view path, std::string_view valueName, std::string_view text) {
    const std::string fitted = FitListForStore(text);
    RegistryKey key = OpenRegistryPath(path, true);
    if (!key) return false;
    const std::wstring name = Widen(valueName);
    // With its terminator: the system adds one anyway when the character after the counted
    // data is a NUL, and the empty text so becomes the single NUL it must be.
    const std::wstring data = Widen(fitted);
    const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()), bytes) ==
           ERROR_SUCCESS;
}

}  // namespace lurvane::win32
