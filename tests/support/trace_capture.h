// A trace into a file of the running test's own (ctest runs tests side by side), and what was
// written to it.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "util/trace.h"

namespace lurvane {

class TraceCapture {
public:
    TraceCapture() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = ::testing::TempDir() + "lurvane_trace_" + test->test_suite_name() + "_" + test->name() + "_" +
                std::to_string(getpid()) + ".log";
        std::remove(path_.c_str());
        trace_ = Trace(path_);
    }
    ~TraceCapture() { std::remove(path_.c_str()); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    const std::string& Path() const { return path_; }
    const Trace& Sink() const { return trace_; }

    // The file as written, line ends included.
    std::string Contents() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream buffer;
        buffer << in.rdbuf();
        return buffer.str();
    }

    // The messages, without the time stamp in front of the first ": ".
    std::vector<std::string> Messages() const {
        std::vector<std::string> messages;
        std::ifstream in(path_, std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const size_t colon = line.find(": ");
            messages.push_back(colon == std::string::npos ? line : line.substr(colon + 2));
        }
        return messages;
    }

private:
    std::string path_;
    Trace trace_;
};

}  // namespace lurvane
