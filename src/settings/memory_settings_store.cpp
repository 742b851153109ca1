#include "settings/memory_settings_store.h"

#include "util/text_rules.h"

namespace lurvane {

std::string MemorySettingsStore::Read(const std::string& name) {
    readLog_.push_back(name);
    auto found = data_.find(LowerAscii(name));
    return found == data_.end() ? std::string() : TextFromStoredData(found->second);
}

bool MemorySettingsStore::Write(const std::string& name, const std::string& text) {
    writeLog_.push_back(name);
    if (failWrites_) return false;
    data_[LowerAscii(name)] = StoredDataFromText(FitListForStore(text));
    return true;
}

std::optional<std::string> MemorySettingsStore::Data(const std::string& name) const {
    auto found = data_.find(LowerAscii(name));
    if (found == data_.end()) return std::nullopt;
    return found->second;
}

void MemorySettingsStore::SetData(const std::string& name, std::string data) { data_[LowerAscii(name)] = std::move(data); }

void MemorySettingsStore::Remove(const std::string& name) { data_.erase(LowerAscii(name)); }

}  // namespace lurvane
