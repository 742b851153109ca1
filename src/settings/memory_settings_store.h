// A settings store in memory, for tests and for platforms without a registry. It keeps each
// value as the registry keeps it (an empty text is one NUL), so hand-made stored data can be
// put in and read back under the same rules.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace lurvane {

class MemorySettingsStore : public SettingsStore {
public:
    std::string Read(const std::string& name) override;
    bool Write(const std::string& name, const std::string& text) override;

    // The stored data of a value as it lies in the store, or nothing when it is missing.
    std::optional<std::string> Data(const std::string& name) const;
    // Puts raw data into the store, as a hand edit would.
    void SetData(const std::string& name, std::string data);
    void Remove(const std::string& name);

    // Makes every later write fail, as an unwritable key does.
    void FailWrites(bool fail) { failWrites_ = fail; }

    // The names read and written, in call order.
    const std::vector<std::string>& ReadLog() const { return readLog_; }
    const std::vector<std::string>& WriteLog() const { return writeLog_; }

private:
    std::map<std::string, std::string> data_;  // by lower-case name: value names ignore case
    std::vector<std::string> readLog_;
    std::vector<std::string> writeLog_;
    bool failWrites_ = false;
};

}  // namespace lurvane
