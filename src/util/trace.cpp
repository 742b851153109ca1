#include "util/trace.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "util/text_encoding.h"

namespace lurvane {
namespace {

TraceTime Now() {
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    double fraction = static_cast<double>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000) / 1000.0;
    TraceTime time;
    time.Year = local.tm_year + 1900;
    time.Month = local.tm_mon + 1;
    time.Day = local.tm_mday;
    time.Hour = local.tm_hour;
    time.Minute = local.tm_min;
    time.Second = local.tm_sec;
    time.SecondsSinceMidnight = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
    return time;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::unique_ptr<std::FILE, FileCloser> OpenForAppending(const std::string& file) {
#ifdef _WIN32
    const std::u16string wide = Utf8ToUtf16(file);
    std::FILE* opened = _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()), L"ab");
#else
    std::FILE* opened = std::fopen(file.c_str(), "ab");
#endif
    if (opened == nullptr) throw std::system_error(errno, std::generic_category(), "trace file cannot be opened");
    return std::unique_ptr<std::FILE, FileCloser>(opened);
}

}  // namespace

std::string FormatTraceLine(const TraceTime& time, std::string_view message) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", time.Year, time.Month, time.Day, time.Hour,
                  time.Minute, time.Second);
    std::string line = stamp;
    double wholeSeconds = std::floor(time.SecondsSinceMidnight);
    int hundredths = static_cast<int>(std::nearbyint((time.SecondsSinceMidnight - wholeSeconds) * 100.0));
    if (hundredths > 0 && hundredths < 100) {
        char fraction[8];
        if (hundredths % 10 == 0) std::snprintf(fraction, sizeof fraction, ".%d", hundredths / 10);
        else std::snprintf(fraction, sizeof fraction, ".%02d", hundredths);
        line += fraction;
    }
    line += ": ";
    line += message;
    return line;
}

Trace Trace::FromEnvironment() {
#ifdef _WIN32
    const wchar_t* name = _wgetenv(L"LURVANE_TRACE");
    if (name == nullptr) return Trace();
    return Trace(Utf16ToUtf8(reinterpret_cast<const char16_t*>(name)));
#else
    const char* name = std::getenv("LURVANE_TRACE");
    return Trace(name != nullptr ? name : "");
#endif
}

void Trace::WriteTrace(std::string_view message) const {
    if (file_.empty()) return;
    auto file = OpenForAppending(file_);
    std::string line = FormatTraceLine(Now(), message);
    line += "\r\n";
    if (std::fwrite(line.data(), 1, line.size(), file.get()) != line.size())
        throw std::system_error(errno, std::generic_category(), "trace file cannot be written");
}

void Trace::TraceQuietly(std::string_view message) const {
    try {
        WriteTrace(message);
    } catch (const std::exception&) {
    }
}

}  // namespace lurvane
