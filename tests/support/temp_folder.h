// A fresh folder per test, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

namespace lurvane::testing {

class TempFolder {
public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::path(::testing::TempDir()) /
                (std::string("lurvane_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // A UTF-8 path inside the folder.
    std::string Path(const std::string& name) const {
        auto path = root_ / std::filesystem::path(std::u8string(name.begin(), name.end()));
        auto text = path.u8string();
        return std::string(text.begin(), text.end());
    }

    static void MakeFolder(const std::string& path) {
        std::filesystem::create_directories(std::filesystem::path(std::u8string(path.begin(), path.end())));
    }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary) << bytes;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary);
        std::ostringstream bytes;  // in one go: a character at a time is slow for large files
        bytes << in.rdbuf();
        return std::move(bytes).str();
    }

private:
    std::filesystem::path root_;
};

}  // namespace lurvane::testing
