// The diagnostic trace: off unless LURVANE_TRACE names a file; then one time-stamped line per
// call is appended to it.
#pragma once

#include <string>
#include <string_view>

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

// Appends a line to the file named by LURVANE_TRACE, or does nothing when it is unset or empty.
// A file that cannot be opened or written raises std::runtime_error.
void WriteTrace(std::string_view message);

// The same for callers that run on: a trace file that cannot be written is a diagnostic
// problem, not a reason to end the saver, so the failure is dropped.
void TraceQuietly(std::string_view message);

}  // namespace lurvane
