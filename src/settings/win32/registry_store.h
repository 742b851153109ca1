// The settings store in the Windows registry: REG_SZ values under one key of the current
// user, through the wide-character API, with UTF-8 texts on our side.
#pragma once

#include <string>
#include <string_view>

#include "settings/settings_store.h"
#include "util/win32/handles.h"

namespace lurvane::win32 {

// Opens the key named by a full path whose first part is "HKEY_CURRENT_USER",
// "HKEY_LOCAL_MACHINE" or "HKEY_CLASSES_ROOT" (any case); with `create` the missing keys along
// the path are created. An empty key on failure.
RegistryKey OpenRegistryPath(std::string_view path, bool create);

// The value's text, cut at its first NUL and without surrounding spaces; empty when the key or
// the value is missing or the value is not a string.
std::string ReadRegistryString(std::string_view path, std::string_view valueName);

// Writes the text as REG_SZ with its terminator (a list value shortened to its last complete
// point first; so an empty text is a single NUL), creating the key path as needed. False when the key cannot be
// opened or the value cannot be written.
bool WriteRegistryString(std::string_view path, std::string_view valueName, std::string_view text);

class RegistrySettingsStore : public SettingsStore {
public:
    explicit RegistrySettingsStore(std::string keyPath = std::string(kSettingsKeyPath)) : keyPath_(std::move(keyPath)) {}

    std::string Read(const std::string& name) override { return ReadRegistryString(keyPath_, name); }
    bool Write(const std::string& name, const std::string& text) override {
        return WriteRegistryString(keyPath_, name, text);
    }

private:
    std::string keyPath_;
};

}  // namespace lurvane::win32
