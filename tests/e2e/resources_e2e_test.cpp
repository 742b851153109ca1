// The saver file as the Display control panel and Explorer see it: its name and version.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "saver_driver.h"
#include "util/version.h"

namespace e2e {
namespace {

TEST(Resources, TheSaverIsNamedLurvaneAndCarriesTheProgramsVersion) {
    HMODULE saver = LoadLibraryExW(SaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(saver, nullptr);
    wchar_t name[64] = {};
    EXPECT_GT(LoadStringW(saver, 1, name, 64), 0);
    EXPECT_STREQ(name, L"Lurvane");
    EXPECT_NE(FindResourceW(saver, MAKEINTRESOURCEW(100), RT_GROUP_ICON), nullptr) << "an icon";
    FreeLibrary(saver);

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(SaverPath().c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(SaverPath().c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const lurvane::ProgramVersion version;
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), version.Major);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), version.Minor);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), version.Patch);
    wchar_t* product = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\ProductName",
                               reinterpret_cast<void**>(&product), &length));
    EXPECT_STREQ(product, L"Lurvane");
}

}  // namespace
}  // namespace e2e
