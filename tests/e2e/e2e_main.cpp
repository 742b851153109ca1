#include <gtest/gtest.h>

#include <string>

#include "saver_driver.h"

namespace {

// The build passes the saver's Linux path; Wine shows the Linux root as drive Z:.
std::wstring WindowsPathOf(const char* path) {
    std::wstring converted;
    for (const char* c = path; *c; ++c) converted.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(*c));
    return path[0] == '/' ? L"Z:" + converted : converted;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2 && !::testing::GTEST_FLAG(list_tests)) {
        std::fprintf(stderr, "usage: e2e_tests <path of lurvane.scr>\n");
        return 2;
    }
    if (argc >= 2) e2e::SetSaverPath(WindowsPathOf(argv[1]));
    return RUN_ALL_TESTS();
}
