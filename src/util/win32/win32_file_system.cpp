#include "util/win32/win32_file_system.h"

#include "util/win32/handles.h"
#include "util/win32/text_convert.h"

#include <windows.h>
#include <shlobj.h>

namespace lurvane::win32 {
namespace {

DirectoryEntry ToEntry(const WIN32_FIND_DATAW& data) {
    const std::wstring_view name(data.cFileName, wcsnlen(data.cFileName, MAX_PATH));
    return {Narrow(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
}

}  // namespace

std::vector<DirectoryEntry> Win32FileSystem::FindEntries(std::string_view folder, std::string_view pattern) const {
    std::vector<DirectoryEntry> entries;
    std::string search(folder);
    search.append(pattern);
    const std::wstring wideSearch = Widen(search);
    if (wideSearch.empty()) return entries;

    WIN32_FIND_DATAW data{};
    // Every failure of the search (no match, missing folder, no access) reads as "nothing found".
    FindHandle find(FindFirstFileW(wideSearch.c_str(), &data));
    if (!find) return entries;
    do {
        entries.push_back(ToEntry(data));
    } while (FindNextFileW(find.get(), &data));
    return entries;
}

std::string Win32FileSystem::DocumentsFolder() const {
    wchar_t buffer[MAX_PATH + 1] = {};
    const HRESULT result =
        SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, buffer);
    // S_FALSE (the folder does not exist) counts as a failure like every other non-S_OK answer.
    if (result != S_OK) return {};
    return Narrow(std::wstring_view(buffer, wcsnlen(buffer, MAX_PATH)));
}


}  // namespace lurvane::win32
