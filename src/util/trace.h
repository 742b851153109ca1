// The diagnostic trace: off unless LURVANE_TRACE names a file; then one time-stamped line per
// call is appended to it.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace lurvane {

struct TraceTime {
    int Year = 0, Month = 0, Day = 0;
    int Hour = 0, Minute = 0, Second = 0;
    double SecondsSinceMidnight = 0;  // with its fraction, as the clock reports it
};

// "date time[.hh]: message" without the line end. The hundredths are the clock's fraction
// rounded to two decimals, written without the leading zero (".37", ".5"); a fraction that
// rounds to 0 or 1 adds nothing.
std::string FormatTraceLine(const TraceTime& time, std::string_view message);

// Where the trace goes: a file (UTF-8 path) or nowhere. Copies are cheap and all write to the
// same file, so every part of the program can hold one by value.
class Trace {
public:
    // Traces nothing.
    Trace() = default;
    explicit Trace(std::string file) : file_(std::move(file)) {}

    // The file named by LURVANE_TRACE; nowhere when it is unset or empty.
    static Trace FromEnvironment();

    bool Enabled() const { return !file_.empty(); }

    // Appends a line to the file, or does nothing when there is none. A file that cannot be
    // opened or written raises std::system_error with the C library's error number.
    void WriteTrace(std::string_view message) const;

    // The same for callers that run on: a trace file that cannot be written is a diagnostic
    // problem, not a reason to end the saver, so the failure is dropped.
    void TraceQuietly(std::string_view message) const;

private:
    std::string file_;
};

}  // namespace lurvane
