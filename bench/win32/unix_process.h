// The Linux side of programs under Wine, read through Wine's Z: drive: /proc/PID/stat's fields,
// a process's CPU time, and the Unix process of a program running in this session's prefix.
// Under Wine, GetProcessTimes answers nothing for another process; /proc does.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>

#include "support/win32/test_files.h"
#include "util/win32/handles.h"

namespace support {

// Field `number` of a /proc/PID/stat line, counted from 1 as proc(5) counts; the name, field 2,
// may hold blanks and parentheses. Empty when there is no such field.
inline std::string StatField(const std::string& stat, int number) {
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) return {};
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    for (int at = 3; fields >> field; ++at)
        if (at == number) return field;
    return {};
}

// User plus system time (fields 14 and 15, in USER_HZ ticks) of the process whose /proc folder
// (Z:\proc\PID) is given; nothing when it cannot be read.
inline std::optional<double> UnixCpuSeconds(const std::wstring& procFolder) {
    constexpr double kTicksPerSecond = 100;
    const std::string stat = ReadBytes(procFolder + L"\\stat");
    const std::string user = StatField(stat, 14), system = StatField(stat, 15);
    if (user.empty() || system.empty()) return std::nullopt;
    return (std::strtod(user.c_str(), nullptr) + std::strtod(system.c_str(), nullptr)) / kTicksPerSecond;
}

inline bool UnderWine() { return UnixCpuSeconds(L"Z:\\proc\\self").has_value(); }

// The newest Unix process named `name` (as /proc shows it: at most 15 characters) that runs in
// this session's Wine prefix, as its /proc folder.
inline std::optional<std::wstring> FindUnixProcess(const std::string& name) {
    char prefix[MAX_PATH] = {};
    if (GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH) == 0) return std::nullopt;
    const std::string wantedPrefix = std::string("WINEPREFIX=") + prefix + '\0';
    std::optional<std::wstring> found;
    unsigned long long newest = 0;
    WIN32_FIND_DATAW entry{};
    lurvane::win32::FindHandle search(FindFirstFileW(L"Z:\\proc\\*", &entry));
    if (!search) return std::nullopt;
    do {
        if (entry.cFileName[0] < L'0' || entry.cFileName[0] > L'9') continue;
        const std::wstring folder = std::wstring(L"Z:\\proc\\") + entry.cFileName;
        const std::string stat = ReadBytes(folder + L"\\stat");
        if (stat.find(" (" + name + ") ") == std::string::npos) continue;
        if (ReadBytes(folder + L"\\environ").find(wantedPrefix) == std::string::npos) continue;
        // Field 22, the start time, tells the newest.
        const unsigned long long started = std::strtoull(StatField(stat, 22).c_str(), nullptr, 10);
        if (!found || started >= newest) {
            found = folder;
            newest = started;
        }
    } while (FindNextFileW(search.get(), &entry));
    return found;
}

}  // namespace support
