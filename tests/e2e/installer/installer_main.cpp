#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "installer_e2e.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: installer_e2e_tests <path of lurvane-<version>-setup.exe>\n");
        return 2;
    }
    e2e::SetSetupPath(argv[1]);
    return RUN_ALL_TESTS();
}
