// Points LURVANE_TRACE at a private file for one test and reads back the messages.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace lurvane {

class TraceCapture {
public:
    explicit TraceCapture(const std::string& name) : path_(::testing::TempDir() + name) {
        std::remove(path_.c_str());
        setenv("LURVANE_TRACE", path_.c_str(), 1);
    }
    ~TraceCapture() {
        unsetenv("LURVANE_TRACE");
        std::remove(path_.c_str());
    }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

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
};

}  // namespace lurvane
